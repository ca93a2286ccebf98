#pragma once
// The 48-bit real: the storage format of every quantity the program keeps.
//
// Sign, 8-bit exponent and a 40-bit significand (39 stored fraction bits
// under an implicit leading 1), for magnitudes from 2^-128 up to but
// excluding 2^127; zero is exact. Arithmetic between stored values runs in
// the 80-bit extended format (`Extended`, a 64-bit significand) and the
// result is rounded to 40 bits when it is stored again.

#include <cstdint>
#include <limits>
#include <optional>

namespace calc {

using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64,
              "the extended intermediates need the x87 80-bit long double");

// π to the nearest extended value, for the port's end correction and the
// circular port.
inline constexpr Extended pi = 3.14159265358979323846264338327950288L;

// A finite extended value taken apart, exactly:
// (-1)^negative × significand × 2^exponent. decompose() and compose() are
// the only code that knows how the extended format lies in memory.
struct ExtendedParts {
    bool negative = false;
    std::uint64_t significand = 0; // its top bit set, unless the value is 0 or subnormal
    int exponent = 0;
};
ExtendedParts decompose(Extended x);
// The inverse for a significand with its top bit set and an exponent within
// the extended format's normal range.
Extended compose(ExtendedParts parts);

class Real48 {
public:
    static constexpr int significandBits = 40;

    constexpr Real48() = default;

    // Rounds x to a 40-bit significand, a tie going away from zero. A
    // magnitude below 2^-128 stores 0; 2^127 or more, an infinity or a NaN
    // overflows: no value.
    static std::optional<Real48> store(Extended x);

    // The stored value, exactly, as an extended operand.
    [[nodiscard]] constexpr Extended value() const { return value_; }

    friend constexpr bool operator==(Real48, Real48) = default;

private:
    constexpr explicit Real48(Extended exact) : value_(exact) { }
    Extended value_ = 0.0L;
};

} // namespace calc
