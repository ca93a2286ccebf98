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
#include <stdexcept>

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

// Raised when a value leaves the range of the 48-bit real or of the extended
// format. The message is the one the error box shows (followed by ".").
class FloatOverflow : public std::runtime_error {
public:
    FloatOverflow() : std::runtime_error("Floating point overflow") { }
};

class Real48 {
public:
    static constexpr int significandBits = 40;
    // Smallest magnitude that is stored as itself rather than as 0.
    static constexpr Extended minMagnitude = 0x1p-128L;
    // Magnitudes from here on cannot be stored.
    static constexpr Extended overflowMagnitude = 0x1p127L;

    constexpr Real48() = default;

    // Rounds x to a 40-bit significand, a tie going away from zero. A
    // magnitude below 2^-128 stores 0; 2^127 or more, an infinity or a NaN
    // throws FloatOverflow.
    static Real48 store(Extended x);

    // A constant that is a 48-bit value already (checked when compiling).
    static consteval Real48 exact(Extended x)
    {
        Extended m = x < 0 ? -x : x;
        if (m != 0 && (m < minMagnitude || m >= overflowMagnitude))
            throw "out of the 48-bit range";
        if (m != 0) {
            while (m >= 1)
                m /= 2; // now in [0.5, 1)
            for (int bit = 0; bit < significandBits; ++bit)
                m = m * 2 - static_cast<int>(m * 2);
            if (m != 0)
                throw "more than 40 significant bits";
        }
        return Real48(x);
    }

    // The stored value, exactly, as an extended operand.
    [[nodiscard]] constexpr Extended value() const { return value_; }

    friend constexpr bool operator==(Real48, Real48) = default;

private:
    constexpr explicit Real48(Extended exact) : value_(exact) { }
    Extended value_ = 0.0L;
};

} // namespace calc
