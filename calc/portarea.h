#pragma once
// The port area: the total cross-section of identical ports of one shape,
// from the texts of the dimension fields and of the count field.

#include "numtext.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace calc {
inline namespace VENTBOX_CALC_VARIANT {

enum class PortShape { Circle, Rectangle, Square, Triangle };

// How many dimension texts a shape reads: 2 for the rectangle (a, then b),
// 1 for the others (radius or side).
std::size_t dimensionCount(PortShape shape);

struct AreaResult {
    Outcome outcome = Outcome::Empty;
    std::size_t dimension = 0; // which one (0 or 1) made it Empty or NotPositive
    std::string text{};        // four decimals, "." as the point; empty unless Filled
};

// `dimensions` holds dimensionCount(shape) texts in reading order.
AreaResult portArea(PortShape shape, std::span<const std::string> dimensions,
                    std::string_view countText);

// The count fields. Their range, and the count a text stands for: the text
// read as a whole decimal integer (an optional sign and digits, nothing
// else) within the signed 32-bit range; anything else counts as the minimum,
// 1. A typed 0 or a negative number counts as itself.
inline constexpr std::int32_t countMinimum = 1;
inline constexpr std::int32_t countMaximum = 999;
std::optional<std::int32_t> parseCount(std::string_view text);
std::int32_t countFromText(std::string_view text);

// When a count field loses the focus: an integer outside the range becomes
// the nearer bound's text; anything else stays (no value).
std::optional<std::string> countTextOnLeave(std::string_view text);

// The arrow buttons and keys: the count plus `delta`, kept within the range.
std::string countTextStepped(std::string_view text, int delta);

} // namespace VENTBOX_CALC_VARIANT
} // namespace calc
