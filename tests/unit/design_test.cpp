#include "calc/design.h"
#include "calc/numtext.h"

#include <gtest/gtest.h>

#include <string>

using calc::DesignField;
using calc::DesignResult;
using calc::Outcome;
using calc::Real48;

namespace {

struct Texts {
    const char *fs, *qts, *vas, *rdc, *re, *s, *vb;
};

DesignResult run(const Texts& t)
{
    return calc::recalculate({t.fs, t.qts, t.vas, t.rdc, t.re, t.s, t.vb});
}

struct FilledCase {
    const char* name;
    Texts in;
    const char *length, *qtc, *fb;
};

// Names the case in test listings.
[[maybe_unused]] void PrintTo(const FilledCase& c, std::ostream* os)
{
    *os << c.name;
}

// clang-format off
const FilledCase filledCases[] = {
    {"k075", {"30", "0.4", "50", "6", "0", "50", "40"}, "31.5450", "0.5580", "31.39"},
    {"k06_with_choke", {"30", "0.6", "50", "6", "1", "50", "30"}, "60.1991", "1.0631", "27.34"},
    {"low_fb_padded", {"9", "0.3", "10", "6", "0", "10", "100"}, "65.9459", "0.2926", " 6.58"},
    {"negative_length", {"100", "0.3", "10", "6", "0", "10", "100"}, "-2.2456", "0.2926", "73.15"},
    // a trailing point reads as the number before it
    {"trailing_point", {"30", "0.4", "50", "6", "0", "50", "40."}, "31.5450", "0.5580", "31.39"},
    // a stray second point no longer multiplies the value by ten
    {"second_point", {"30", "0.4", "50", "6", "0", "50", "2.5.1"}, nullptr, nullptr, nullptr},
    // blanks are not empty and are skipped in front
    {"leading_blank", {" 30", "0.4", "50", "6", "0", "50", "40"}, "31.5450", "0.5580", "31.39"},
    // Qtc is 0.7 in decimals; in extended it lies just above 0.7, stored just
    // below: k = 0.75
    {"qtc_07_stored_below", {"30", "0.5", "50", "5.58", "0.02", "50", "40"}, "31.5450", "0.7000", "31.39"},
    // Qtc shown as 0.7000 but above 0.7: k = 0.6 as its 48-bit value, just
    // above 0.6, takes the Fb of 6.975 up; the length follows the stored Fb
    {"qtc_07_above_k06", {"10", "0.60216", "45", "6", "0", "19.6", "80"}, "146.1507", "0.7000", " 6.98"},
};
// clang-format on

class FilledTest : public ::testing::TestWithParam<FilledCase> { };

TEST_P(FilledTest, ResultTexts)
{
    const FilledCase& c = GetParam();
    const DesignResult r = run(c.in);
    ASSERT_EQ(r.outcome, Outcome::Filled);
    if (!c.length) {
        // Compare with the same design typed well-formed.
        Texts clean = c.in;
        clean.vb = "2.5";
        const DesignResult expected = run(clean);
        EXPECT_EQ(r.length, expected.length);
        EXPECT_EQ(r.qtc, expected.qtc);
        EXPECT_EQ(r.fb, expected.fb);
        return;
    }
    EXPECT_EQ(r.length, c.length);
    EXPECT_EQ(r.qtc, c.qtc);
    EXPECT_EQ(r.fb, c.fb);
    ASSERT_TRUE(r.storedQtc);
    EXPECT_EQ(calc::realToText(*r.storedQtc, 5, 4), c.qtc);
}

INSTANTIATE_TEST_SUITE_P(Design, FilledTest, ::testing::ValuesIn(filledCases),
                         [](const auto& tp) { return std::string(tp.param.name); });

struct ClearedCase {
    const char* name;
    Texts in;
    Outcome outcome;
    DesignField field;
};

// Names the case in test listings.
[[maybe_unused]] void PrintTo(const ClearedCase& c, std::ostream* os)
{
    *os << c.name;
}

// clang-format off
const ClearedCase clearedCases[] = {
    {"fs_empty", {"", "0.4", "50", "6", "0", "50", "40"}, Outcome::Empty, DesignField::Fs},
    {"re_empty", {"30", "0.4", "50", "6", "", "50", "40"}, Outcome::Empty, DesignField::Re},
    {"vb_empty", {"30", "0.4", "50", "6", "0", "50", ""}, Outcome::Empty, DesignField::Vb},
    {"empty_wins_over_zero", {"0", "0.4", "50", "6", "0", "", "40"}, Outcome::Empty, DesignField::S},
    {"fs_zero", {"0", "0.4", "50", "6", "0", "50", "40"}, Outcome::NotPositive, DesignField::Fs},
    {"qts_point", {"30", ".", "50", "6", "0", "50", "40"}, Outcome::NotPositive, DesignField::Qts},
    {"vas_zeros", {"30", "0.4", "000", "6", "0", "50", "40"}, Outcome::NotPositive, DesignField::Vas},
    {"rdc_zero_point", {"30", "0.4", "50", "0.", "0", "50", "40"}, Outcome::NotPositive, DesignField::Rdc},
    {"s_negative", {"30", "0.4", "50", "6", "0", "-50", "40"}, Outcome::NotPositive, DesignField::S},
    {"vb_blanks", {"30", "0.4", "50", "6", "0", "50", "  "}, Outcome::NotPositive, DesignField::Vb},
    {"vb_underflow", {"30", "0.4", "50", "6", "0", "50", "1e-40"}, Outcome::NotPositive, DesignField::Vb},
    {"first_in_order", {"30", "0", "50", "6", "0", "0", "40"}, Outcome::NotPositive, DesignField::Qts},
    // a pasted negative choke resistance would lower Qtc: refused
    {"re_negative", {"30", "0.4", "50", "6", "-1", "50", "40"}, Outcome::NotPositive, DesignField::Re},
    // a Fs just above 2^-128 gives a Fb that stores as 0: no division by it
    {"fb_stores_zero", {"3e-39", "0.3", "10", "6", "0", "10", "100"}, Outcome::NotPositive, DesignField::Fs},
};
// clang-format on

class ClearedTest : public ::testing::TestWithParam<ClearedCase> { };

TEST_P(ClearedTest, AllThreeResultsCleared)
{
    const ClearedCase& c = GetParam();
    const DesignResult r = run(c.in);
    EXPECT_EQ(r.outcome, c.outcome);
    EXPECT_EQ(r.field, c.field);
    EXPECT_EQ(r.length, "");
    EXPECT_EQ(r.qtc, "");
    EXPECT_EQ(r.fb, "");
}

INSTANTIATE_TEST_SUITE_P(Design, ClearedTest, ::testing::ValuesIn(clearedCases),
                         [](const auto& tp) { return std::string(tp.param.name); });

TEST(Design, ZeroChokeResistanceIsValid)
{
    const DesignResult withZero = run({"30", "0.4", "50", "6", "0", "50", "40"});
    const DesignResult withChoke = run({"30", "0.4", "50", "6", "0.5", "50", "40"});
    ASSERT_EQ(withZero.outcome, Outcome::Filled);
    ASSERT_EQ(withChoke.outcome, Outcome::Filled);
    EXPECT_GT(withChoke.storedQtc->value(), withZero.storedQtc->value());
}

TEST(Design, ShorteningAnswerAgainstExtendedPointSixFive)
{
    const Real48 justBelow = *Real48::store(0.65L - 0x1p-38L);
    const Real48 justAbove = *Real48::store(0.65L + 0x1p-38L);
    EXPECT_EQ(calc::realToText(justBelow, 5, 4), "0.6500");
    EXPECT_EQ(calc::realToText(justAbove, 5, 4), "0.6500");
    EXPECT_TRUE(calc::portMayBeShortened(justBelow));
    EXPECT_FALSE(calc::portMayBeShortened(justAbove));
}

struct OverflowCase {
    const char* name;
    Texts in;
    bool qtcStored;
};

// Names the case in test listings.
[[maybe_unused]] void PrintTo(const OverflowCase& c, std::ostream* os)
{
    *os << c.name;
}

// clang-format off
const OverflowCase overflowCases[] = {
    {"fs_pasted_exponent", {"1e99", "0.4", "50", "6", "0", "50", "40"}, false},
    {"fs_beyond_extended", {"1e5000", "0.4", "50", "6", "0", "50", "40"}, false},
    {"qtc_out_of_range", {"30", "1e38", "50", "6", "1e38", "50", "40"}, false},
    // Qtc is fine, Fb is not: Qtc stays stored
    {"fb_out_of_range", {"1.5e38", "0.4", "50", "6", "0", "50", "1"}, true},
    // Qtc and Fb are fine, the length is not
    {"length_out_of_range", {"1e-30", "0.4", "50", "6", "0", "1e30", "40"}, true},
};
// clang-format on

class OverflowTest : public ::testing::TestWithParam<OverflowCase> { };

TEST_P(OverflowTest, ClearsTheResultsAndReports)
{
    const OverflowCase& c = GetParam();
    const DesignResult r = run(c.in);
    EXPECT_EQ(r.outcome, Outcome::Overflow);
    EXPECT_EQ(r.length, "");
    EXPECT_EQ(r.qtc, "");
    EXPECT_EQ(r.fb, "");
    EXPECT_EQ(r.storedQtc.has_value(), c.qtcStored);
}

INSTANTIATE_TEST_SUITE_P(Design, OverflowTest, ::testing::ValuesIn(overflowCases),
                         [](const auto& tp) { return std::string(tp.param.name); });

} // namespace
