// The extended format as the x87 long double holds it.

#include "extended.h"

#include <array>
#include <cstring>

namespace calc {
inline namespace VENTBOX_CALC_VARIANT {

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

std::from_chars_result fromChars(const char* first, const char* last, Extended& value)
{
    return std::from_chars(first, last, value);
}

std::to_chars_result toChars(char* first, char* last, Extended value, std::chars_format format,
                             int precision)
{
    return std::to_chars(first, last, value, format, precision);
}

} // namespace VENTBOX_CALC_VARIANT
} // namespace calc
