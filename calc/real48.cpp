#include "real48.h"

namespace calc {
inline namespace VENTBOX_CALC_VARIANT {

std::optional<Real48> Real48::store(Extended x)
{
    if (!isFinite(x))
        return std::nullopt;
    ExtendedParts parts = decompose(x);
    constexpr int integerBit = 63;
    // |x| lies in [2^top, 2^(top+1)).
    int top = parts.exponent + integerBit;
    if (top < -128 || parts.significand == 0)
        return Real48(); // below 2^-128 (or zero): stored as 0

    // Keep the top 40 of the 64 significand bits: add half of the last kept
    // bit and cut, which takes a tie away from zero (the sign is apart).
    constexpr int dropped = 64 - significandBits;
    constexpr std::uint64_t half = std::uint64_t{1} << (dropped - 1);
    std::uint64_t rounded = parts.significand + half;
    if (rounded < parts.significand) { // carried out of the top bit
        rounded = std::uint64_t{1} << integerBit;
        ++parts.exponent;
        ++top;
    } else {
        rounded &= ~((std::uint64_t{1} << dropped) - 1);
    }
    if (top >= 127)
        return std::nullopt;
    parts.significand = rounded;
    return Real48(compose(parts));
}

} // namespace VENTBOX_CALC_VARIANT
} // namespace calc
