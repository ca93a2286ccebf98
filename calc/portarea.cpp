#include "portarea.h"

#include "numtext.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace calc {

namespace {

constexpr Extended quarter = 0.25L;
// Deliberately the eight-digit value, not the full square root of 3.
constexpr Extended triangleFactor = 1.7320508L;

} // namespace

int dimensionCount(PortShape shape)
{
    return shape == PortShape::Rectangle ? 2 : 1;
}

AreaResult portArea(PortShape shape, std::span<const std::string_view> dimensions,
                    std::string_view countText)
{
    AreaResult result;
    const auto n = static_cast<std::size_t>(dimensionCount(shape));
    if (dimensions.size() < n)
        return result;

    // 1. Empty check, in reading order.
    for (std::size_t i = 0; i < n; ++i) {
        if (dimensions[i].empty()) {
            result.dimension = static_cast<int>(i);
            return result;
        }
    }

    try {
        // 2. Reading, then the count.
        const Extended a = textToReal(dimensions[0]).value();
        const Extended b = n > 1 ? textToReal(dimensions[1]).value() : a;
        const auto count = static_cast<Extended>(countFromText(countText));

        // 3. Bound check, a before b; the count is not tested.
        for (std::size_t i = 0; i < n; ++i) {
            if (!((i == 0 ? a : b) > 0)) {
                result.outcome = AreaOutcome::NotPositive;
                result.dimension = static_cast<int>(i);
                return result;
            }
        }

        // 4. The product from left to right, the count last.
        Extended product = 0;
        switch (shape) {
        case PortShape::Circle: product = a * a * pi * count; break;
        case PortShape::Rectangle: product = a * b * count; break;
        case PortShape::Square: product = a * a * count; break;
        case PortShape::Triangle: product = a * a * quarter * triangleFactor * count; break;
        }

        // 5. and 6. Stored, then written with four decimals.
        result.text = realToText(Real48::store(product), 5, 4);
        result.outcome = AreaOutcome::Filled;
    } catch (const FloatOverflow&) {
        // Never leave an area that does not belong to the dimensions shown.
        result.outcome = AreaOutcome::Overflow;
        result.text.clear();
    }
    return result;
}

std::optional<std::int32_t> parseCount(std::string_view text)
{
    std::size_t i = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        i = 1;
    }
    const std::string_view digits = text.substr(i);
    if (digits.empty()
        || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    // Read the magnitude wider than 32 bits so that -2147483648 fits.
    std::uint64_t magnitude = 0;
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    if (ec != std::errc() || ptr != digits.data() + digits.size())
        return std::nullopt;
    const std::uint64_t limit = negative ? 2147483648ULL : 2147483647ULL;
    if (magnitude > limit)
        return std::nullopt;
    const auto signedMagnitude = static_cast<std::int64_t>(magnitude);
    return static_cast<std::int32_t>(negative ? -signedMagnitude : signedMagnitude);
}

std::int32_t countFromText(std::string_view text)
{
    return parseCount(text).value_or(countMinimum);
}

std::optional<std::string> countTextOnLeave(std::string_view text)
{
    const auto count = parseCount(text);
    if (!count || (*count >= countMinimum && *count <= countMaximum))
        return std::nullopt;
    return std::to_string(*count < countMinimum ? countMinimum : countMaximum);
}

std::string countTextStepped(std::string_view text, int delta)
{
    const std::int64_t stepped = static_cast<std::int64_t>(countFromText(text)) + delta;
    return std::to_string(std::clamp<std::int64_t>(stepped, countMinimum, countMaximum));
}

} // namespace calc
