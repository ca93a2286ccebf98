#pragma once
// One variant of calc/ (native long double or portable MPFR) seen through
// plain data, so that one program can run both side by side:
// differential_variant.cpp is compiled once against each and defines
// differential::native::variant and differential::portable::variant.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace differential {

// An extended value as decompose() takes it apart; NaNs are all alike.
struct Value {
    enum class Kind { Zero, Finite, Infinite, NaN };
    Kind kind = Kind::Zero;
    bool negative = false;
    std::uint64_t significand = 0; // Finite: top bit set, or a subnormal's bits
    int exponent = 0;              // Finite: (-1)^negative × significand × 2^exponent

    bool operator==(const Value& other) const
    {
        if (kind != other.kind)
            return false;
        if (kind == Kind::NaN)
            return true;
        return negative == other.negative && significand == other.significand
            && exponent == other.exponent;
    }
};

struct DesignOutput {
    int outcome = 0;
    int field = 0;
    std::string length, qtc, fb;
    std::optional<Value> storedQtc;
    bool operator==(const DesignOutput&) const = default;
};

struct AreaOutput {
    int outcome = 0;
    std::size_t dimension = 0;
    std::string text;
    bool operator==(const AreaOutput&) const = default;
};

// The comparisons of a and b as bits: <, ==, >, <=, >=.
using Comparison = unsigned;

struct Variant {
    Value (*add)(Value, Value);
    Value (*subtract)(Value, Value);
    Value (*multiply)(Value, Value);
    Value (*divide)(Value, Value);
    Value (*squareRoot)(Value);
    Comparison (*compare)(Value, Value);
    std::optional<Value> (*read)(std::string_view);       // textToExtended
    std::optional<Value> (*store)(Value);                 // Real48::store
    std::optional<bool> (*mayShorten)(Value);             // of the stored value
    std::string (*write)(Value, int width, int decimals); // realToText
    std::string (*toChars)(Value, bool fixed, int precision);
    DesignOutput (*design)(const std::array<std::string, 7>&);
    AreaOutput (*area)(int shape, std::span<const std::string> dimensions, std::string_view count);
};

namespace native {
extern const Variant variant;
}
namespace portable {
extern const Variant variant;
}

} // namespace differential
