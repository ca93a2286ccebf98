#include "rows.h"

#include "calc/real48.h"

#include <gtest/gtest.h>

#include <cmath>

using calc::Extended;
using calc::Real48;

namespace {

// The stored value; a NaN (and a failure) if storing overflowed.
Extended stored(Extended x)
{
    const auto r = Real48::store(x);
    EXPECT_TRUE(r.has_value()) << static_cast<double>(x) << " overflowed";
    return r ? r->value() : std::nanl("");
}

struct StoreCase : tables::Row {
    Extended in;
    Extended stored;
};

// Values chosen at the 40-bit rounding point: one unit in the last place of
// a 40-bit significand in [1, 2) is 2^-39.
// clang-format off
const StoreCase storeCases[] = {
    {"exact_integer", 1176490.0L, 1176490.0L},
    {"exact_quarter", 0.75L, 0.75L},
    {"just_below_half_ulp_rounds_down", 1.0L + 0x1p-40L - 0x1p-63L, 1.0L},
    {"half_ulp_rounds_away", 1.0L + 0x1p-40L, 1.0L + 0x1p-39L},
    {"negative_half_ulp_rounds_away", -(1.0L + 0x1p-40L), -(1.0L + 0x1p-39L)},
    {"odd_half_ulp_rounds_away_not_to_even", 1.0L + 0x1p-39L + 0x1p-40L, 1.0L + 0x1p-38L},
    {"carry_into_next_binade", 2.0L - 0x1p-41L, 2.0L},
    {"smallest_magnitude_kept", 0x1p-128L, 0x1p-128L},
    {"below_smallest_is_zero", 0x1p-128L - 0x1p-180L, 0.0L},
    {"negative_below_smallest_is_zero", -0x1p-129L, 0.0L},
    {"largest_magnitude", 0x1p127L - 0x1p87L, 0x1p127L - 0x1p87L},
};
// clang-format on

class StoreTest : public ::testing::TestWithParam<StoreCase> { };

TEST_P(StoreTest, RoundsToFortyBitsWithTiesAwayFromZero)
{
    const StoreCase& c = GetParam();
    EXPECT_EQ(stored(c.in), c.stored);
}

INSTANTIATE_TEST_SUITE_P(Real48, StoreTest, ::testing::ValuesIn(storeCases), tables::ByName());

TEST(Real48, SixTenthsIsTheFortyBitNeighbourOfPointSix)
{
    const Extended k = stored(0.6L);
    EXPECT_NE(k, 0.6L);
    EXPECT_NEAR(static_cast<double>(k), 0.6000000000003638, 5e-17);
    // Nearest: no other 40-bit value lies closer to 0.6.
    EXPECT_LE(calc::fabs(k - 0.6L), 0x1p-41L);
}

TEST(Real48, StoredValuesAreFixedPoints)
{
    for (const Extended x : {0.93L, 0.7L, 3.14159265358979323846L, 1e-30L, 1e30L}) {
        const Extended once = stored(x);
        EXPECT_EQ(stored(once), once) << static_cast<double>(x);
    }
}

TEST(Real48, OverflowFromTwoToTheHundredTwentySeven)
{
    // clang-format off
    const Extended cases[] = {
        0x1p127L,
        -0x1p127L,
        0x1p127L - 0x1p86L, // rounds up to 2^127
        1e39L,
        HUGE_VALL,
        -HUGE_VALL,
        std::nanl(""),
    };
    // clang-format on
    for (const Extended x : cases)
        EXPECT_FALSE(Real48::store(x).has_value()) << static_cast<double>(x);
}

// Taking a value apart and putting it together again is exact.
TEST(Real48, DecomposeAndComposeAreInverse)
{
    for (const Extended x : {1.0L, -0.75L, 0x1p-16382L, 0x1p16383L, -3.14159265358979323846L}) {
        const calc::ExtendedParts parts = calc::decompose(x);
        EXPECT_EQ(parts.negative, x < 0);
        EXPECT_EQ(calc::ldexp(static_cast<Extended>(parts.significand), parts.exponent),
                  calc::fabs(x));
        EXPECT_EQ(calc::compose(parts), x);
    }
    // A subnormal: the smallest normal exponent, no integer bit.
    const calc::ExtendedParts tiny = calc::decompose(0x1p-16400L);
    EXPECT_EQ(calc::ldexp(static_cast<Extended>(tiny.significand), tiny.exponent), 0x1p-16400L);
}

} // namespace
