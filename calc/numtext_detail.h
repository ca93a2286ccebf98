#pragma once
// Inside reading and writing field texts: the two ways to the 18
// significant digits of a written number and to the extended value of a
// read one, exposed so that tests can hold the fast ways to the general ones.

#include "real48.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace calc {
inline namespace VENTBOX_CALC_VARIANT {
namespace detail {

// A magnitude to 18 significant digits (below 10: to 17 decimals), rounded
// to nearest: the digits without the point, and how many of them stand
// before it.
struct SignificantDigits {
    std::array<char, 20> digits{};
    int count = 0; // 18 at most; digits further right are zeros
    std::ptrdiff_t intDigits = 0;
    void append(std::string_view more)
    {
        for (const char c : more)
            digits[static_cast<std::size_t>(count++)] = c;
    }
    [[nodiscard]] std::string_view view() const
    {
        return {digits.data(), static_cast<std::size_t>(count)};
    }
    bool operator==(const SignificantDigits& other) const
    {
        return view() == other.view() && intDigits == other.intDigits;
    }
};

// Through the standard library's exact conversion: any finite magnitude.
SignificantDigits significantDigitsGeneral(Extended magnitude);

// In 128-bit integer arithmetic, for magnitudes below 2^127 (every 48-bit
// value); nothing for others.
std::optional<SignificantDigits> significantDigitsFast(Extended magnitude);

// Reading's conversion of a well-formed number part (digits, optional point
// and digits, optional exponent; no sign) to the nearest extended value:
// exactly when the digits fit 64 bits and the power of ten is exact,
// nothing otherwise.
std::optional<Extended> decimalToExtendedFast(std::string_view number);

} // namespace detail
} // namespace VENTBOX_CALC_VARIANT
} // namespace calc
