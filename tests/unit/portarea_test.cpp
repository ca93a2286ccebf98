#include "calc/portarea.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using calc::Outcome;
using calc::PortShape;

namespace {

struct AreaCase {
    PortShape shape;
    std::vector<std::string> dims;
    const char* count;
    Outcome outcome;
    const char* text;
};

// Names the case in test listings.
[[maybe_unused]] void PrintTo(const AreaCase& c, std::ostream* os)
{
    *os << c.text;
}

// clang-format off
const AreaCase areaCases[] = {
    {PortShape::Circle, {"1"}, "1", Outcome::Filled, "3.1416"},
    {PortShape::Circle, {"2.5"}, "1", Outcome::Filled, "19.6350"},
    {PortShape::Circle, {"5"}, "2", Outcome::Filled, "157.0796"},
    {PortShape::Circle, {"10"}, "1", Outcome::Filled, "314.1593"},
    {PortShape::Rectangle, {"10", "5"}, "1", Outcome::Filled, "50.0000"},
    {PortShape::Rectangle, {"0.25", "0.125"}, "1", Outcome::Filled, "0.0313"},
    {PortShape::Square, {"10"}, "2", Outcome::Filled, "200.0000"},
    {PortShape::Triangle, {"10"}, "1", Outcome::Filled, "43.3013"},
    {PortShape::Triangle, {"4"}, "3", Outcome::Filled, "20.7846"},
    // the eight-digit factor, not the full square root of 3 (433012.7019)
    {PortShape::Triangle, {"1000"}, "1", Outcome::Filled, "433012.7000"},
    // a second point reads as the number before it (1.5, not 15)
    {PortShape::Circle, {"1.5."}, "1", Outcome::Filled, "7.0686"},
    // the count as it stands in the field
    {PortShape::Circle, {"1"}, "0", Outcome::Filled, "0.0000"},
    {PortShape::Circle, {"1"}, "-1", Outcome::Filled, "-3.1416"},
    {PortShape::Circle, {"1"}, "", Outcome::Filled, "3.1416"},
    {PortShape::Circle, {"1"}, "-", Outcome::Filled, "3.1416"},
    {PortShape::Circle, {"1"}, "2.5", Outcome::Filled, "3.1416"},
    {PortShape::Square, {"1"}, "1000", Outcome::Filled, "1000.0000"},
    {PortShape::Square, {"1"}, "2147483647", Outcome::Filled, "2147483647.0000"},
    {PortShape::Square, {"1"}, "2147483648", Outcome::Filled, "1.0000"},
    // empty and not positive
    {PortShape::Circle, {""}, "1", Outcome::Empty, ""},
    {PortShape::Rectangle, {"10", ""}, "1", Outcome::Empty, ""},
    {PortShape::Rectangle, {"", "5"}, "1", Outcome::Empty, ""},
    {PortShape::Circle, {"0"}, "1", Outcome::NotPositive, ""},
    {PortShape::Circle, {"0.000"}, "1", Outcome::NotPositive, ""},
    {PortShape::Circle, {"."}, "1", Outcome::NotPositive, ""},
    {PortShape::Circle, {" "}, "1", Outcome::NotPositive, ""},
    {PortShape::Rectangle, {"0", "5"}, "1", Outcome::NotPositive, ""},
    {PortShape::Rectangle, {"5", "-1"}, "1", Outcome::NotPositive, ""},
    // out of range: no area, then the error
    {PortShape::Circle, {"1e99"}, "1", Outcome::Overflow, ""},
    {PortShape::Square, {"1e19"}, "999", Outcome::Overflow, ""},
    {PortShape::Rectangle, {"1e30", "1e30"}, "1", Outcome::Overflow, ""},
};
// clang-format on

class AreaTest : public ::testing::TestWithParam<AreaCase> { };

TEST_P(AreaTest, AreaText)
{
    const AreaCase& c = GetParam();
    const calc::AreaResult r = calc::portArea(c.shape, c.dims, c.count);
    EXPECT_EQ(r.outcome, c.outcome);
    EXPECT_EQ(r.text, c.text);
}

INSTANTIATE_TEST_SUITE_P(PortArea, AreaTest, ::testing::ValuesIn(areaCases));

TEST(PortArea, NamesTheDimensionThatStopped)
{
    const std::vector<std::string> bEmpty{"10", ""};
    EXPECT_EQ(calc::portArea(PortShape::Rectangle, bEmpty, "1").dimension, 1u);
    const std::vector<std::string> bothZero{"0", "0"};
    EXPECT_EQ(calc::portArea(PortShape::Rectangle, bothZero, "1").dimension, 0u);
}

struct CountCase {
    const char* text;
    std::int32_t count;
    const char* onLeave; // nullptr: the text stays
};

// Names the case in test listings.
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
    EXPECT_EQ(calc::countFromText(c.text), c.count);
    const auto leave = calc::countTextOnLeave(c.text);
    if (c.onLeave) {
        EXPECT_EQ(leave, std::optional<std::string>(c.onLeave));
    } else {
        EXPECT_FALSE(leave.has_value()) << *leave;
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
