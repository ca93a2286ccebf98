#include "calc/numtext.h"
#include "calc/numtext_detail.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using calc::Extended;
using calc::Real48;
using calc::realToText;
using calc::textToExtended;
using calc::textToReal;

namespace {

struct TextCase {
    const char* text;
    Extended value; // nearest extended of the expected decimal
};

// The test is named by the text read, quoted: "", "   " and "+ 5" stay apart.
[[maybe_unused]] void PrintTo(const TextCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

// Reading a field's text. A malformed text counts as its longest
// well-formed leading part: a stray point or exponent never glues digits
// together.
// clang-format off
const TextCase textCases[] = {
    {"30", 30.0L},
    {"0.4", 0.4L},
    {".5", 0.5L},
    {"+5", 5.0L},
    {"-2.25", -2.25L},
    {"   12", 12.0L},
    {"1E3", 1000.0L},
    {"1e+3", 1000.0L},
    {"25e-1", 2.5L},
    {"000012.50", 12.5L},
    // malformed: the longest well-formed leading part
    {"12.5.", 12.5L},
    {"2.5.1", 2.5L},
    {"-3.", -3.0L},
    {"1.5e", 1.5L},
    {"1.5e+", 1.5L},
    {"1e5x", 100000.0L},
    {"1.e5", 1.0L},
    {"7.", 7.0L},
    {"40.", 40.0L},
    {"12 ", 12.0L},
    {"1,5", 1.0L},
    {"0x10", 0.0L},
    // no well-formed part at all
    {"", 0.0L},
    {".", 0.0L},
    {"+", 0.0L},
    {"-", 0.0L},
    {"   ", 0.0L},
    {"e5", 0.0L},
    {"-.", 0.0L},
    {"+ 5", 0.0L}, // a blank after the sign ends the number
    {"- 5", 0.0L},
    {"abc", 0.0L},
    // underflow is zero, not an error
    {"1e-5000", 0.0L},
    {"-1e-99999999999999999999", 0.0L},
    {"0e99999999", 0.0L},
    {"0.0000000000000000000000000000000000000000001e-4900", 0.0L},
};
// clang-format on

class TextToExtendedTest : public ::testing::TestWithParam<TextCase> { };

TEST_P(TextToExtendedTest, ValueOfTheLongestWellFormedLeadingPart)
{
    EXPECT_EQ(textToExtended(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Reading, TextToExtendedTest, ::testing::ValuesIn(textCases));

TEST(Reading, ConvertsToNearestExtendedThenStores)
{
    // 0.1 is not a 48-bit value: the field holds its 40-bit neighbour.
    EXPECT_EQ(textToReal("0.1"), Real48::store(0.1L));
    EXPECT_NE(textToReal("0.1")->value(), 0.1L);
    // Many digits still give the nearest extended value.
    EXPECT_EQ(textToExtended("3.14159265358979323846264338327950288"),
              3.14159265358979323846264338327950288L);
}

TEST(Reading, RangeOfTheFortyEightBitReal)
{
    EXPECT_EQ(textToReal("2.9e-39"), Real48());                       // below 2^-128
    EXPECT_GT(textToReal("3e-39").value_or(Real48()).value(), 0.0L);  // just above
    EXPECT_GT(textToReal("1.7e38").value_or(Real48()).value(), 0.0L); // below 2^127
    for (const char* text :
         {"1.71e38", "1e39", "-1e39", "1e99", "1e5000", "1e99999999999999999999", "9999e4930"}) {
        EXPECT_FALSE(textToReal(text).has_value()) << text;
    }
    // Too large for the extended format itself.
    EXPECT_FALSE(textToExtended("1e5000").has_value());
    EXPECT_TRUE(textToExtended("1e4000").has_value());
}

TEST(Reading, PrefixLength)
{
    EXPECT_EQ(calc::numberPrefixLength("12.5."), 4u);
    EXPECT_EQ(calc::numberPrefixLength("  -3.e"), 4u);
    EXPECT_EQ(calc::numberPrefixLength("1e5x"), 3u);
    EXPECT_EQ(calc::numberPrefixLength("."), 0u);
    EXPECT_EQ(calc::numberPrefixLength(" "), 0u);
}

struct FormatCase {
    Extended value;
    int width;
    int decimals;
    const char* text;
};

// The test is named by the text written, quoted: "    3" shows its blanks.
[[maybe_unused]] void PrintTo(const FormatCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

// Writing a number as a field's text.
// clang-format off
const FormatCase formatCases[] = {
    {0.125L, 0, 2, "0.13"},        // a half goes away from zero
    {0.125L, 5, 2, " 0.13"},
    {-0.125L, 0, 2, "-0.13"},
    {31.3875L, 5, 2, "31.39"},
    {6.58L, 5, 2, " 6.58"},
    {9.995L, 5, 2, "10.00"},
    {9.994L, 5, 2, " 9.99"},
    {0.0L, 5, 4, "0.0000"},
    {-0.00001L, 5, 4, "-0.0000"},  // the sign follows the number
    {-0.0L, 5, 4, "0.0000"},       // zero is not negative
    {0.99995L, 5, 4, "1.0000"},
    {19.634954084936207L, 5, 4, "19.6350"},
    {-2.2456L, 5, 4, "-2.2456"},
    {12345.6789L, 5, 4, "12345.6789"},
    {433012.7L, 5, 4, "433012.7000"},
    {1176490.0L, 5, 0, "1176490"},
    {3.0L, 5, 0, "    3"},
    // 18 significant digits, then zeros
    {123456789012345678901234.0L, 0, 2, "123456789012345679000000.00"},
    // below 10 the 18 digits count from the units digit
    {0.000000000000000044L, 0, 16, "0.0000000000000000"},
    {0.0000000000000000496L, 0, 16, "0.0000000000000001"},
};
// clang-format on

class RealToTextTest : public ::testing::TestWithParam<FormatCase> { };

TEST_P(RealToTextTest, FixedPointWithWidthAndDecimals)
{
    const FormatCase& c = GetParam();
    EXPECT_EQ(realToText(c.value, c.width, c.decimals), c.text);
}

INSTANTIATE_TEST_SUITE_P(Writing, RealToTextTest, ::testing::ValuesIn(formatCases));

TEST(Writing, EighteenDigitsBeforeTheDecimalRounding)
{
    // 0.125 - 2^-64 lies below the half, but its 18 digits are 0.125000...:
    // the rounding to two decimals sees the half and goes up.
    EXPECT_EQ(realToText(0.125L - 0x1p-64L, 0, 2), "0.13");
    // Far enough below the half to show in 18 digits: stays down.
    EXPECT_EQ(realToText(0.125L - 1e-15L, 0, 2), "0.12");
}

TEST(Writing, LargestFortyEightBitValueInFixedPoint)
{
    const std::string text = realToText(0x1p127L - 0x1p87L, 5, 4);
    // 2^127 - 2^87 = 170141183460314489226776631181521715200
    EXPECT_EQ(text, "170141183460314489000000000000000000000.0000");
}

// Qt sets the C locale from the environment; under a Czech locale strtold
// and printf read and write ",". Reading and writing must not notice.
class CzechLocale : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = std::setlocale(LC_ALL, nullptr);
        // Linux's name, then Windows'.
        if (!std::setlocale(LC_ALL, "cs_CZ.UTF-8") && !std::setlocale(LC_ALL, "Czech_Czechia.1250"))
            GTEST_SKIP() << "cs_CZ.UTF-8 is not installed (scripts/install-deps makes it)";
        // The precondition of the test: this locale really writes ",". (The
        // C library of WebAssembly takes any name and still writes ".".)
        char buf[16];
        std::snprintf(buf, sizeof buf, "%.1f", 2.5);
        if (std::string_view(buf) != "2,5")
            GTEST_SKIP() << "this C library's cs_CZ.UTF-8 writes " << buf;
    }
    void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

private:
    std::string saved_;
};

TEST_F(CzechLocale, PointStaysTheDecimalSeparator)
{
    EXPECT_EQ(textToExtended("12.5"), 12.5L);
    EXPECT_EQ(textToExtended("12,5"), 12.0L);
    EXPECT_EQ(textToExtended("1.5e2"), 150.0L);
    // too many digits for the fast reading: the C library's, on Windows
    EXPECT_EQ(textToExtended("3.14159265358979323846264338327950288"),
              3.14159265358979323846264338327950288L);
    EXPECT_EQ(realToText(6.58L, 5, 2), " 6.58");
    EXPECT_EQ(realToText(-2.2456L, 5, 4), "-2.2456");
    EXPECT_EQ(realToText(123456789012345678901234.0L, 0, 2), "123456789012345679000000.00");
}

} // namespace

// The fast conversions must agree with the standard library's exact ones
// everywhere they answer.
namespace {

using calc::detail::decimalToExtendedFast;
using calc::detail::significantDigitsFast;
using calc::detail::significantDigitsGeneral;

TEST(WritingFast, AgreesWithTheExactConversionOnFortyEightBitValues)
{
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 200000; ++i) {
        const std::uint64_t significand = (random() >> 24) | (std::uint64_t{1} << 39); // 40 bits
        const int exponent = static_cast<int>(random() % 255) - 128 - 39;
        const Extended x = calc::ldexp(static_cast<Extended>(significand), exponent);
        const auto fast = significantDigitsFast(x);
        ASSERT_TRUE(fast.has_value());
        ASSERT_EQ(*fast, significantDigitsGeneral(x)) << static_cast<double>(x);
    }
}

TEST(WritingFast, AgreesOnFullSignificandsAndExactTies)
{
    std::mt19937_64 random(7);
    std::vector<Extended> values;
    for (int i = 0; i < 100000; ++i) {
        const std::uint64_t significand = random() | (std::uint64_t{1} << 63);
        values.push_back(calc::ldexp(static_cast<Extended>(significand),
                                     static_cast<int>(random() % 250) - 190));
    }
    // x * 10^17 ends in exactly .5 for odd multiples of 2^-18 ...
    for (std::uint64_t a = 1; a < 4000; a += 2)
        values.push_back(calc::ldexp(static_cast<Extended>(a), -18));
    // ... and 18 significant digits end in exactly .5 here.
    for (std::uint64_t a = 0; a < 2000; ++a)
        values.push_back(static_cast<Extended>(123456789012345678ULL + a) + 0.5L);
    values.insert(values.end(),
                  {0.0L, 9.999999999999999999L, 10.0L, 99999999999999999.5L, 999999999999999999.5L,
                   1e18L, 0x1p127L - 0x1p63L, 0x1p-16382L});
    for (const Extended x : values) {
        const auto fast = significantDigitsFast(x);
        ASSERT_TRUE(fast.has_value()) << static_cast<double>(x);
        ASSERT_EQ(*fast, significantDigitsGeneral(x)) << static_cast<double>(x);
    }
    EXPECT_FALSE(significantDigitsFast(0x1p127L).has_value());
}

TEST(ReadingFast, AgreesWithTheExactConversionWhereItAnswers)
{
    std::mt19937_64 random(11);
    int answered = 0;
    for (int i = 0; i < 200000; ++i) {
        std::string text;
        const int intDigits = static_cast<int>(random() % 12);
        const int fracDigits = static_cast<int>(random() % 12);
        for (int d = 0; d < intDigits; ++d)
            text.push_back(static_cast<char>('0' + random() % 10));
        if (fracDigits > 0 || intDigits == 0) {
            text.push_back('.');
            for (int d = 0; d < std::max(fracDigits, 1); ++d)
                text.push_back(static_cast<char>('0' + random() % 10));
        }
        if (random() % 3 == 0) {
            text += 'e';
            text += std::to_string(static_cast<int>(random() % 61) - 30);
        }
        const auto fast = decimalToExtendedFast(text);
        if (!fast)
            continue;
        ++answered;
        Extended exact = 0;
        calc::fromChars(text.data(), text.data() + text.size(), exact);
        ASSERT_EQ(*fast, exact) << text;
    }
    EXPECT_GT(answered, 100000);
}

} // namespace
