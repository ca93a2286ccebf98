#include "portarea.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace calc {
inline namespace VENTBOX_CALC_VARIANT {

namespace {

const Extended quarter = 0.25L;
// Deliberately the eight-digit value, not the full square root of 3.
const Extended triangleFactor = 1.7320508L;

} // namespace

std::size_t dimensionCount(PortShape shape)
{
    return shape == PortShape::Rectangle ? 2 : 1;
}

AreaResult portArea(PortShape shape, std::span<const std::string> dimensions,
                    std::string_view countText)
{
    // Every way out but the last leaves the area text empty.
    auto stopped = [](Outcome outcome, std::size_t dimension) {
        return AreaResult{.outcome = outcome, .dimension = dimension};
    };
    const std::size_t n = dimensionCount(shape);
    if (dimensions.size() < n)
        return stopped(Outcome::Empty, 0);

    // 1. Empty check, in reading order.
    for (std::size_t i = 0; i < n; ++i) {
        if (dimensions[i].empty())
            return stopped(Outcome::Empty, i);
    }

    // 2. Reading, a before b, then the count.
    std::array<Extended, 2> side{};
    for (std::size_t i = 0; i < n; ++i) {
        const auto real = textToReal(dimensions[i]);
        if (!real)
            return stopped(Outcome::Overflow, 0);
        side[i] = real->value();
    }
    const Extended a = side[0];
    const Extended b = n > 1 ? side[1] : a;
    const auto count = static_cast<Extended>(countFromText(countText));

    // 3. Bound check, a before b; the count is not tested.
    for (std::size_t i = 0; i < n; ++i) {
        if (!(side[i] > 0))
            return stopped(Outcome::NotPositive, i);
    }

    // 4. The product from left to right, the count last.
    Extended product{};
    switch (shape) {
    case PortShape::Circle: product = a * a * pi * count; break;
    case PortShape::Rectangle: product = a * b * count; break;
    case PortShape::Square: product = a * a * count; break;
    case PortShape::Triangle: product = a * a * quarter * triangleFactor * count; break;
    }

    // 5. and 6. Stored, then written with four decimals.
    const auto area = Real48::store(product);
    if (!area)
        return stopped(Outcome::Overflow, 0);
    return {.outcome = Outcome::Filled, .text = realToText(*area, 5, 4)};
}

std::optional<std::int32_t> parseCount(std::string_view text)
{
    // from_chars takes a "-" but no "+".
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-'))
            return std::nullopt;
    }
    std::int32_t count = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, count);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return count;
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
    return std::to_string(std::clamp(*count, countMinimum, countMaximum));
}

std::string countTextStepped(std::string_view text, int delta)
{
    const std::int64_t stepped = static_cast<std::int64_t>(countFromText(text)) + delta;
    return std::to_string(std::clamp<std::int64_t>(stepped, countMinimum, countMaximum));
}

} // namespace VENTBOX_CALC_VARIANT
} // namespace calc
