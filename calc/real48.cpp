#include "real48.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace calc {

namespace {

// The 80-bit extended format in memory: a 64-bit significand with an
// explicit integer bit, then the sign bit and a 15-bit exponent biased by
// 16383 (x86-64, little-endian).
constexpr int exponentBias = 16383;

struct ExtendedBits {
    std::uint64_t significand = 0;
    std::uint16_t signAndExponent = 0;
};

ExtendedBits bitsOf(Extended x)
{
    std::array<unsigned char, sizeof(Extended)> bytes{};
    std::memcpy(bytes.data(), &x, sizeof x);
    ExtendedBits b;
    std::memcpy(&b.significand, bytes.data(), sizeof b.significand);
    std::memcpy(&b.signAndExponent, bytes.data() + 8, sizeof b.signAndExponent);
    return b;
}

Extended fromBits(ExtendedBits b)
{
    std::array<unsigned char, sizeof(Extended)> bytes{};
    std::memcpy(bytes.data(), &b.significand, sizeof b.significand);
    std::memcpy(bytes.data() + 8, &b.signAndExponent, sizeof b.signAndExponent);
    Extended x = 0;
    std::memcpy(&x, bytes.data(), sizeof x);
    return x;
}

} // namespace

Real48 Real48::store(Extended x)
{
    if (!std::isfinite(x))
        throw FloatOverflow();
    ExtendedBits b = bitsOf(x);
    int exponent =
        (b.signAndExponent & 0x7FFF) - exponentBias; // |x| in [2^exponent, 2^(exponent+1))
    if (exponent < -128 || b.significand == 0)
        return Real48(); // below 2^-128 (or zero): stored as 0

    // Keep the top 40 of the 64 significand bits: add half of the last kept
    // bit and cut, which takes a tie away from zero (the sign is apart).
    constexpr int dropped = 64 - significandBits;
    constexpr std::uint64_t half = std::uint64_t{1} << (dropped - 1);
    std::uint64_t rounded = b.significand + half;
    if (rounded < b.significand) { // carried out of the top bit
        rounded = std::uint64_t{1} << 63;
        ++exponent;
    } else {
        rounded &= ~((std::uint64_t{1} << dropped) - 1);
    }
    if (exponent >= 127)
        throw FloatOverflow();

    b.significand = rounded;
    b.signAndExponent =
        static_cast<std::uint16_t>((b.signAndExponent & 0x8000) | (exponent + exponentBias));
    return Real48(fromBits(b));
}

} // namespace calc
