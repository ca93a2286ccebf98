#include "tables.h"

#include "calc/portarea.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using calc::Outcome;
using enum calc::PortShape;

namespace {

std::vector<std::string> dimensionTexts(const tables::Area& a)
{
    std::vector<std::string> texts;
    for (const char* d : a.dims)
        if (d)
            texts.emplace_back(d);
    return texts;
}

class AreaTest : public ::testing::TestWithParam<tables::Area> { };

TEST_P(AreaTest, AreaText)
{
    const tables::Area& a = GetParam();
    const calc::AreaResult r = calc::portArea(a.shape, dimensionTexts(a), a.count);
    EXPECT_EQ(r.outcome, a.outcome);
    EXPECT_EQ(r.text, a.text);
}

INSTANTIATE_TEST_SUITE_P(Typed, AreaTest, ::testing::ValuesIn(tables::areas), tables::ByName());
INSTANTIATE_TEST_SUITE_P(Untyped, AreaTest, ::testing::ValuesIn(tables::untypedAreas),
                         tables::ByName());

using enum calc::Outcome;

// clang-format off
// What only the calculation sees: counts the count field cannot hold, and
// pasted texts.
const tables::Area moreAreas[] = {
    {"count_empty",        Circle,    {"1", nullptr},    "",            Filled,      "3.1416"},
    {"count_minus",        Circle,    {"1", nullptr},    "-",           Filled,      "3.1416"},
    {"count_decimal",      Circle,    {"1", nullptr},    "2.5",         Filled,      "3.1416"},
    {"count_above_range",  Square,    {"1", nullptr},    "1000",        Filled,      "1000.0000"},
    {"count_int32_max",    Square,    {"1", nullptr},    "2147483647",  Filled,      "2147483647.0000"},
    {"count_beyond_int32", Square,    {"1", nullptr},    "2147483648",  Filled,      "1.0000"},
    {"circle_empty",       Circle,    {"", nullptr},     "1",           Empty,       ""},
    {"rectangle_a_empty",  Rectangle, {"", "5"},         "1",           Empty,       ""},
    {"circle_zero_text",   Circle,    {"0", nullptr},    "1",           NotPositive, ""},
    {"circle_blank",       Circle,    {" ", nullptr},    "1",           NotPositive, ""},
    {"rectangle_b_negative", Rectangle, {"5", "-1"},     "1",           NotPositive, ""},
    // out of range: no area, then the error
    {"circle_overflow",    Circle,    {"1e99", nullptr}, "1",           Overflow,    ""},
    {"square_overflow",    Square,    {"1e19", nullptr}, "999",         Overflow,    ""},
    {"rectangle_overflow", Rectangle, {"1e30", "1e30"},  "1",           Overflow,    ""},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(More, AreaTest, ::testing::ValuesIn(moreAreas), tables::ByName());

TEST(PortArea, NamesTheDimensionThatStopped)
{
    const std::vector<std::string> bEmpty{"10", ""};
    EXPECT_EQ(calc::portArea(Rectangle, bEmpty, "1").dimension, 1u);
    const std::vector<std::string> bothZero{"0", "0"};
    EXPECT_EQ(calc::portArea(Rectangle, bothZero, "1").dimension, 0u);
}

struct CountCase {
    const char* text;
    std::int32_t count;
    const char* onLeave; // nullptr: the text stays
};

// The test is named by the text, quoted: "", " 5" and "+-5" stay apart.
[[maybe_unused]] void PrintTo(const CountCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

// clang-format off
const CountCase countCases[] = {
    {"1", 1, nullptr},
    {"999", 999, nullptr},
    {"0", 0, "1"},
    {"-5", -5, "1"},
    {"1000", 1000, "999"},
    {"+7", 7, nullptr},
    {"007", 7, nullptr},
    {"", 1, nullptr},
    {"-", 1, nullptr},
    {"+", 1, nullptr},
    {"+-5", 1, nullptr},
    {"2.5", 1, nullptr},
    {"2,5", 1, nullptr},
    {" 5", 1, nullptr},
    {"5 ", 1, nullptr},
    {"2147483647", 2147483647, "999"},
    {"-2147483648", -2147483648, "1"},
    {"2147483648", 1, nullptr},
    {"99999999999999999999999", 1, nullptr},
};
// clang-format on

class CountTest : public ::testing::TestWithParam<CountCase> { };

TEST_P(CountTest, CountAndTextOnLeavingTheField)
{
    const CountCase& c = GetParam();
    EXPECT_EQ(calc::countFromText(c.text), c.count) << '"' << c.text << '"';
    const auto leave = calc::countTextOnLeave(c.text);
    if (c.onLeave) {
        EXPECT_EQ(leave, std::optional<std::string>(c.onLeave)) << '"' << c.text << '"';
    } else {
        EXPECT_FALSE(leave.has_value()) << '"' << c.text << "\" becomes " << *leave;
    }
}

INSTANTIATE_TEST_SUITE_P(Count, CountTest, ::testing::ValuesIn(countCases));

TEST(Count, ArrowsStepWithinTheRange)
{
    EXPECT_EQ(calc::countTextStepped("1", +1), "2");
    EXPECT_EQ(calc::countTextStepped("1", -1), "1");
    EXPECT_EQ(calc::countTextStepped("999", +1), "999");
    EXPECT_EQ(calc::countTextStepped("", +1), "2"); // empty counts as 1
    EXPECT_EQ(calc::countTextStepped("0", +1), "1");
    EXPECT_EQ(calc::countTextStepped("5000", -1), "999");
    EXPECT_EQ(calc::countTextStepped("-2147483648", -1), "1");
    EXPECT_EQ(calc::countTextStepped("2147483647", +1), "999");
}

} // namespace
