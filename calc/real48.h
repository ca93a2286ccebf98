#pragma once
// The 48-bit real: the storage format of every quantity the program keeps.
//
// Sign, 8-bit exponent and a 40-bit significand (39 stored fraction bits
// under an implicit leading 1), for magnitudes from 2^-128 up to but
// excluding 2^127; zero is exact. Arithmetic between stored values runs in
// the 80-bit extended format (`Extended`, a 64-bit significand) and the
// result is rounded to 40 bits when it is stored again.

#include "extended.h"

#include <optional>

namespace calc {
inline namespace VENTBOX_CALC_VARIANT {

// π to the nearest extended value, for the port's end correction and the
// circular port.
inline const Extended pi = 3.14159265358979323846264338327950288L;

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

    friend bool operator==(Real48, Real48) = default;

private:
    constexpr explicit Real48(Extended exact) : value_(exact) { }
    Extended value_{};
};

} // namespace VENTBOX_CALC_VARIANT
} // namespace calc
