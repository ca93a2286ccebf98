#pragma once
// The extended format of every intermediate result: a 64-bit significand
// with an explicit integer bit and a 15-bit exponent (normal magnitudes from
// 2^-16382, subnormal ones down to 2^-16445, all below 2^16384), each
// operation rounded to nearest with ties to even.
//
// Where long double is this format (the x87 format of x86-64), `Extended`
// is long double: the processor does the arithmetic. Elsewhere (arm64, where
// long double has 113 bits), and wherever the build is configured with
// VENTBOX_PORTABLE_EXTENDED, `Extended` is a small value class whose
// operations MPFR carries out at 64 bits within the same exponent range,
// subnormals included; both give the same bits for every operation.
//
// The two variants live in different inline namespaces, calc::native and
// calc::portable, so that one program (the test that compares them) can
// hold both. Everything in calc/ is declared inside it. Code outside calc/
// sees only calc::Extended and the functions below, the same for both.

#include <charconv>
#include <cstdint>

#if defined(VENTBOX_PORTABLE_EXTENDED)
#define VENTBOX_CALC_VARIANT portable
#include <bit>
#include <concepts>
#include <type_traits>
#else
#define VENTBOX_CALC_VARIANT native
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#endif

namespace calc {
inline namespace VENTBOX_CALC_VARIANT {

// A finite extended value taken apart, exactly:
// (-1)^negative × significand × 2^exponent. A subnormal value (and 0) has
// the exponent of the smallest normal value, -16445, and no top bit.
// decompose() and compose() (below, for each variant) are the only code
// that knows how the extended format is held. compose() takes a
// significand with its top bit set and an exponent within the extended
// format's normal range.
struct ExtendedParts {
    bool negative = false;
    std::uint64_t significand = 0; // its top bit set, unless the value is 0 or subnormal
    int exponent = 0;
};

#if !defined(VENTBOX_PORTABLE_EXTENDED)

using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64
                  && std::numeric_limits<Extended>::max_exponent == 16384,
              "long double is not the x87 80-bit format here: configure with "
              "-DVENTBOX_PORTABLE_EXTENDED=ON");

inline Extended sqrt(Extended x)
{
    return std::sqrt(x);
}
inline Extended fabs(Extended x)
{
    return std::fabs(x);
}
inline Extended ldexp(Extended x, int exponent)
{
    return std::ldexp(x, exponent);
}
inline bool isFinite(Extended x)
{
    return std::isfinite(x);
}

// The 80-bit format in memory (x86-64, little-endian): a 64-bit significand
// with an explicit integer bit, then the sign bit and a 15-bit exponent
// biased by 16383.
inline ExtendedParts decompose(Extended x)
{
    constexpr int exponentBias = 16383;
    constexpr int integerBit = 63;
    std::array<unsigned char, sizeof(Extended)> bytes{};
    std::memcpy(bytes.data(), &x, sizeof x);
    ExtendedParts parts;
    std::memcpy(&parts.significand, bytes.data(), sizeof parts.significand);
    std::uint16_t signAndExponent = 0;
    std::memcpy(&signAndExponent, bytes.data() + 8, sizeof signAndExponent);
    parts.negative = (signAndExponent & 0x8000) != 0;
    const int biased = signAndExponent & 0x7FFF;
    // A subnormal has the exponent of the smallest normal value.
    parts.exponent = (biased == 0 ? 1 : biased) - exponentBias - integerBit;
    return parts;
}

inline Extended compose(ExtendedParts parts)
{
    constexpr int exponentBias = 16383;
    constexpr int integerBit = 63;
    const auto signAndExponent = static_cast<std::uint16_t>(
        (parts.negative ? 0x8000 : 0) | (parts.exponent + integerBit + exponentBias));
    std::array<unsigned char, sizeof(Extended)> bytes{};
    std::memcpy(bytes.data(), &parts.significand, sizeof parts.significand);
    std::memcpy(bytes.data() + 8, &signAndExponent, sizeof signAndExponent);
    Extended x = 0;
    std::memcpy(&x, bytes.data(), sizeof x);
    return x;
}

#else

struct ExtendedAccess;

class Extended {
public:
    // +0.
    constexpr Extended() noexcept = default;
    // Every integer of up to 64 bits is exact.
    template <std::integral I> constexpr Extended(I v) noexcept
    {
        if (v == 0)
            return;
        bool negative = false;
        auto m = static_cast<std::uint64_t>(v);
        if constexpr (std::is_signed_v<I>) {
            negative = v < 0;
            if (negative)
                m = std::uint64_t{0} - m;
        }
        const int shift = std::countl_zero(m);
        significand_ = m << shift;
        exponent_ = 64 - shift;
        kind_ = negative ? -regularKind : regularKind;
    }
    // The nearest value (exact where long double is the x87 format; on
    // arm64 every literal of the program and its tests rounds the same way
    // through the 113-bit format as from its decimal text).
    Extended(long double x) noexcept;

    // Exact where long double has at least the extended range and
    // precision (x86-64, arm64).
    explicit operator long double() const noexcept;
    explicit operator double() const noexcept;

    friend Extended operator+(Extended a, Extended b) noexcept;
    friend Extended operator-(Extended a, Extended b) noexcept;
    friend Extended operator*(Extended a, Extended b) noexcept;
    friend Extended operator/(Extended a, Extended b) noexcept;
    friend Extended operator-(Extended a) noexcept
    {
        if (a.kind_ != nanKind)
            a.kind_ = -a.kind_;
        return a;
    }
    friend Extended fabs(Extended a) noexcept
    {
        a.kind_ = a.kind_ < 0 ? -a.kind_ : a.kind_;
        return a;
    }
    // Comparisons as IEEE 754 has them: -0 equals +0, a NaN equals nothing.
    friend bool operator==(Extended a, Extended b) noexcept;
    friend bool operator<(Extended a, Extended b) noexcept;
    friend bool operator<=(Extended a, Extended b) noexcept;
    friend bool operator>(Extended a, Extended b) noexcept { return b < a; }
    friend bool operator>=(Extended a, Extended b) noexcept { return b <= a; }

    friend Extended sqrt(Extended a) noexcept;
    friend Extended ldexp(Extended a, int exponent) noexcept;
    friend bool isFinite(Extended a) noexcept
    {
        return a.kind_ != nanKind && a.kind_ != infKind && a.kind_ != -infKind;
    }

    friend ExtendedParts decompose(Extended x) noexcept
    {
        constexpr int subnormalExponent = -16445;
        ExtendedParts parts;
        parts.negative = x.kind_ < 0;
        switch (x.kind_ < 0 ? -x.kind_ : x.kind_) {
        case regularKind: {
            const auto exponent = static_cast<int>(x.exponent_ - 64);
            if (exponent >= subnormalExponent) {
                parts.significand = x.significand_;
                parts.exponent = exponent;
            } else { // the bits shifted out are zeros
                parts.significand = x.significand_ >> (subnormalExponent - exponent);
                parts.exponent = subnormalExponent;
            }
            return parts;
        }
        case zeroKind: parts.exponent = subnormalExponent; return parts;
        default: // as the x87 format lays out an infinity and its default NaN
            parts.significand = x.kind_ == nanKind ? 0xC000000000000000U : 0x8000000000000000U;
            parts.exponent = 0x7FFF - 16383 - 63;
            return parts;
        }
    }

    friend Extended compose(ExtendedParts parts) noexcept
    {
        Extended x;
        if (parts.significand == 0) {
            x.kind_ = parts.negative ? -zeroKind : zeroKind;
            return x;
        }
        const int shift = std::countl_zero(parts.significand);
        x.significand_ = parts.significand << shift;
        x.exponent_ = std::int64_t{parts.exponent} + 64 - shift;
        x.kind_ = parts.negative ? -regularKind : regularKind;
        return x;
    }

private:
    friend struct ExtendedAccess; // the MPFR side, in extended_mpfr.cpp

    // As MPFR's custom interface holds a number: its kind (NaN 0, infinity
    // 1, zero 2, regular 3, negated for a negative sign) and, for a regular
    // number, significand / 2^64 * 2^exponent with the top bit set.
    static constexpr int nanKind = 0;
    static constexpr int infKind = 1;
    static constexpr int zeroKind = 2;
    static constexpr int regularKind = 3;

    std::uint64_t significand_ = 0;
    std::int64_t exponent_ = 0;
    int kind_ = zeroKind; // +0
};

Extended sqrt(Extended a) noexcept;
Extended ldexp(Extended a, int exponent) noexcept;
Extended fabs(Extended a) noexcept;
bool isFinite(Extended a) noexcept;
ExtendedParts decompose(Extended x) noexcept;
Extended compose(ExtendedParts parts) noexcept;

#endif

// The standard library's conversions between text and long double, for the
// extended format, with the same results: reading a decimal number (digits,
// optional "." and digits, optional exponent; no sign), and writing with a
// precision in the fixed or scientific format.
#if !defined(VENTBOX_PORTABLE_EXTENDED)
#if defined(__MINGW32__)
// mingw-w64's libstdc++ reads long double through double: extended_strtold.cpp.
std::from_chars_result fromChars(const char* first, const char* last, Extended& value);
#else
inline std::from_chars_result fromChars(const char* first, const char* last, Extended& value)
{
    return std::from_chars(first, last, value);
}
#endif
inline std::to_chars_result toChars(char* first, char* last, Extended value,
                                    std::chars_format format, int precision)
{
    return std::to_chars(first, last, value, format, precision);
}
#else
std::from_chars_result fromChars(const char* first, const char* last, Extended& value);
std::to_chars_result toChars(char* first, char* last, Extended value, std::chars_format format,
                             int precision);
#endif

} // namespace VENTBOX_CALC_VARIANT
} // namespace calc
