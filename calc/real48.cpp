#include "real48.h"

#include <array>
#include <cmath>
#include <cstring>

namespace calc {

namespace {

// The 80-bit extended format in memory (x86-64, little-endian): a 64-bit
// significand with an explicit integer bit, then the sign bit and a 15-bit
// exponent biased by 16383.
constexpr int exponentBias = 16383;
constexpr int integerBit = 63;

} // namespace

ExtendedParts decompose(Extended x)
{
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

Extended compose(ExtendedParts parts)
{
    const auto signAndExponent = static_cast<std::uint16_t>(
        (parts.negative ? 0x8000 : 0) | (parts.exponent + integerBit + exponentBias));
    std::array<unsigned char, sizeof(Extended)> bytes{};
    std::memcpy(bytes.data(), &parts.significand, sizeof parts.significand);
    std::memcpy(bytes.data() + 8, &signAndExponent, sizeof signAndExponent);
    Extended x = 0;
    std::memcpy(&x, bytes.data(), sizeof x);
    return x;
}

std::optional<Real48> Real48::store(Extended x)
{
    if (!std::isfinite(x))
        return std::nullopt;
    ExtendedParts parts = decompose(x);
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

} // namespace calc
