// Fuzz target: the count fields' rules and the port area on any bytes.
//
// The whole input is a count text. For the port area, the first byte picks
// the shape and the rest, cut at line feeds, gives the dimension texts and
// the count text in that order.

#include "check.h"

#include "calc/numtext.h"
#include "calc/portarea.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

// A whole decimal integer (an optional sign, then one or more digits and
// nothing else) within the signed 32-bit range, read in 64 bits.
std::optional<std::int64_t> referenceCount(std::string_view text)
{
    std::size_t i = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        i = 1;
    }
    if (i == text.size())
        return std::nullopt;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (!isDigit(text[i]))
            return std::nullopt;
        magnitude = std::min<std::int64_t>(magnitude * 10 + (text[i] - '0'), std::int64_t{1} << 40);
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return value;
}

std::string show(const std::optional<std::string>& text)
{
    return text ? quoted(*text) : std::string("nothing");
}

void checkCount(std::string_view text)
{
    const std::optional<std::int64_t> expected = referenceCount(text);
    const std::optional<std::int32_t> parsed = calc::parseCount(text);
    FUZZ_CHECK(parsed.has_value() == expected.has_value() && (!parsed || *parsed == *expected),
               "parseCount(" + quoted(text)
                   + ") = " + (parsed ? std::to_string(*parsed) : "nothing") + ", expected "
                   + (expected ? std::to_string(*expected) : "nothing"));

    const std::int64_t count = calc::countFromText(text);
    FUZZ_CHECK(count == expected.value_or(calc::countMinimum),
               "countFromText(" + quoted(text) + ") = " + std::to_string(count));

    // Leaving the field: only an integer outside 1..999 changes, to the
    // nearer bound; the bound's own text then stays.
    const std::optional<std::string> left = calc::countTextOnLeave(text);
    std::optional<std::string> leftExpected;
    if (expected && *expected < calc::countMinimum)
        leftExpected = "1";
    else if (expected && *expected > calc::countMaximum)
        leftExpected = "999";
    FUZZ_CHECK(left == leftExpected,
               "countTextOnLeave(" + quoted(text) + ") = " + show(left) + ", expected "
                   + show(leftExpected));
    if (left)
        FUZZ_CHECK(!calc::countTextOnLeave(*left), "leaving twice changes " + quoted(*left));

    // The arrows: always a plain count within 1..999, one step at a time,
    // never past a bound.
    static constexpr int deltas[] = {0, 1, -1, 2, -2, 998, -998, 1000, -1000, INT_MAX, INT_MIN};
    for (const int delta : deltas) {
        const std::string stepped = calc::countTextStepped(text, delta);
        const std::string where = "countTextStepped(" + quoted(text) + ", " + std::to_string(delta)
            + ") = " + quoted(stepped);
        const std::optional<std::int64_t> value = referenceCount(stepped);
        FUZZ_CHECK(value && *value >= calc::countMinimum && *value <= calc::countMaximum, where);
        FUZZ_CHECK(stepped == std::to_string(*value), "not a plain count: " + where);
        const std::int64_t want =
            std::clamp<std::int64_t>(count + delta, calc::countMinimum, calc::countMaximum);
        FUZZ_CHECK(*value == want, where + ", expected " + std::to_string(want));
        FUZZ_CHECK(!calc::countTextOnLeave(stepped), "leaving changes a stepped text: " + where);
    }
}

std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        parts.emplace_back(text.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

void checkArea(std::string_view input)
{
    if (input.empty())
        return;
    static constexpr std::array shapes{calc::PortShape::Circle, calc::PortShape::Rectangle,
                                       calc::PortShape::Square, calc::PortShape::Triangle};
    const calc::PortShape shape = shapes[static_cast<unsigned char>(input[0]) % shapes.size()];
    const std::size_t n = calc::dimensionCount(shape);
    std::vector<std::string> parts = splitLines(input.substr(1));
    parts.resize(n + 1); // missing texts are empty
    const std::span<const std::string> dimensions(parts.data(), n);
    const std::string& countText = parts[n];

    const calc::AreaResult r = calc::portArea(shape, dimensions, countText);
    const std::string where = "portArea(shape " + std::to_string(static_cast<int>(shape)) + ", "
        + quoted(input.substr(1)) + ") text " + quoted(r.text) + " outcome "
        + std::to_string(static_cast<int>(r.outcome)) + " dimension " + std::to_string(r.dimension);

    FUZZ_CHECK(r.outcome == calc::Outcome::Filled || r.text.empty(),
               "a text without a result: " + where);
    FUZZ_CHECK(r.dimension < n, where);
    const std::size_t blamed = r.dimension;

    // The first empty dimension, in reading order, empties the area.
    const auto firstEmpty = std::find_if(dimensions.begin(), dimensions.end(),
                                         [](const std::string& d) { return d.empty(); });
    FUZZ_CHECK((r.outcome == calc::Outcome::Empty) == (firstEmpty != dimensions.end()), where);
    if (r.outcome == calc::Outcome::Empty)
        FUZZ_CHECK(blamed == static_cast<std::size_t>(firstEmpty - dimensions.begin()), where);
    if (r.outcome == calc::Outcome::Empty || r.outcome == calc::Outcome::Overflow)
        return;

    // From here every dimension reads without an overflow.
    std::vector<calc::Extended> values;
    for (const std::string& d : dimensions) {
        const auto real = calc::textToReal(d);
        FUZZ_CHECK(real.has_value(), "a dimension overflows: " + where);
        values.push_back(real->value());
    }
    if (r.outcome == calc::Outcome::NotPositive) {
        FUZZ_CHECK(!(values[blamed] > 0), "blamed a positive dimension: " + where);
        for (std::size_t i = 0; i < blamed; ++i)
            FUZZ_CHECK(values[i] > 0, "an earlier dimension is not positive: " + where);
        return;
    }
    for (const calc::Extended v : values)
        FUZZ_CHECK(v > 0, "filled from a dimension that is not positive: " + where);

    // Four decimals, five characters at least; the count's sign decides the
    // area's (a count of 0 or less counts as itself), except that an area
    // too small for the 48-bit real stores as a plain 0.
    const FixedText parts4 = parseFixedText(r.text, 4);
    FUZZ_CHECK(parts4.wellFormed && r.text.size() >= 5, "not an area text: " + where);
    const std::int32_t count = calc::countFromText(countText);
    const auto read = calc::textToExtended(r.text);
    FUZZ_CHECK(read.has_value(), "the area does not read back: " + where);
    const calc::Extended area = *read;
    FUZZ_CHECK(!parts4.minus || count < 0, "a minus from a count that is not negative: " + where);
    FUZZ_CHECK(parts4.minus || count >= 0 || area == 0, "no minus from a negative count: " + where);
    FUZZ_CHECK(count != 0 || area == 0, "a count of 0, yet an area: " + where);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkCount(text);
    checkArea(text);
    return 0;
}
