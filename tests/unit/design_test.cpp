#include "tables.h"

#include "calc/design.h"
#include "calc/numtext.h"

#include <gtest/gtest.h>

#include <string>

using calc::DesignField;
using calc::DesignResult;
using calc::Outcome;
using calc::Real48;

namespace {

using Texts = std::array<const char*, 7>;

DesignResult run(const Texts& t)
{
    return calc::recalculate({t[0], t[1], t[2], t[3], t[4], t[5], t[6]});
}

class FilledTest : public ::testing::TestWithParam<tables::Design> { };

TEST_P(FilledTest, ResultTextsAndAnswer)
{
    const tables::Design& d = GetParam();
    const DesignResult r = run(d.in);
    ASSERT_EQ(r.outcome, Outcome::Filled);
    EXPECT_EQ(r.length, d.length);
    EXPECT_EQ(r.qtc, d.qtc);
    EXPECT_EQ(r.fb, d.fb);
    ASSERT_TRUE(r.storedQtc);
    EXPECT_EQ(calc::portMayBeShortened(*r.storedQtc), std::string(d.shorten) == "ANO");
}

INSTANTIATE_TEST_SUITE_P(Typed, FilledTest, ::testing::ValuesIn(tables::designs), tables::ByName());
INSTANTIATE_TEST_SUITE_P(Untyped, FilledTest, ::testing::ValuesIn(tables::untypedDesigns),
                         tables::ByName());

// A stray second point no longer multiplies the value by ten: the same
// results as the number before it.
TEST(Design, SecondPointReadsAsTheNumberBeforeIt)
{
    const DesignResult stray = run({"30", "0.4", "50", "6", "0", "50", "2.5.1"});
    const DesignResult clean = run({"30", "0.4", "50", "6", "0", "50", "2.5"});
    ASSERT_EQ(stray.outcome, Outcome::Filled);
    EXPECT_EQ(stray.length, clean.length);
    EXPECT_EQ(stray.qtc, clean.qtc);
    EXPECT_EQ(stray.fb, clean.fb);
}

struct ClearedCase : tables::Row {
    Texts in;
    Outcome outcome;
    DesignField field;
};

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

INSTANTIATE_TEST_SUITE_P(Design, ClearedTest, ::testing::ValuesIn(clearedCases), tables::ByName());

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

struct OverflowCase : tables::Row {
    Texts in;
    bool qtcStored;
};

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
                         tables::ByName());

} // namespace
