// Fuzz target: reading a field's text from any bytes, then writing what it
// read as a field's text. The C library's own conversion, pinned to the "C" locale, is the
// reference for the value; the process itself runs under a Czech locale
// (when installed) so that a conversion that follows the locale shows up.

#include "check.h"

#include "calc/numtext.h"
#include "calc/numtext_detail.h"
#include "calc/real48.h"

#include <cerrno>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <optional>
#include <string>
#include <string_view>

using calc::Extended;
using calc::Real48;

namespace {

locale_t cLocale = nullptr;

std::string show(Extended x)
{
    char buf[80];
    std::snprintf(buf, sizeof buf, "%.21Lg (%La)", x, x);
    return buf;
}

// The grammar of reading, written out on its own: blanks, an optional sign, then
// digits with an optional "." and digits, or "." and digits, then an
// optional exponent that counts only when it has a digit.
std::size_t referencePrefixLength(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    const std::size_t intBegin = i;
    while (i < s.size() && isDigit(s[i]))
        ++i;
    std::size_t end = i > intBegin ? i : 0;
    if (i + 1 < s.size() && s[i] == '.' && isDigit(s[i + 1])) {
        i += 2;
        while (i < s.size() && isDigit(s[i]))
            ++i;
        end = i;
    }
    if (end == 0)
        return 0;
    std::size_t j = end;
    if (j < s.size() && (s[j] == 'e' || s[j] == 'E')) {
        ++j;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j]))
                ++j;
            end = j;
        }
    }
    return end;
}

// The well-formed prefix through the C library in the "C" locale: the
// value, or nothing when it is beyond the extended range.
std::optional<Extended> referenceValue(const std::string& prefix)
{
    char* end = nullptr;
    errno = 0;
    const Extended v = strtold_l(prefix.c_str(), &end, cLocale);
    FUZZ_CHECK(end == prefix.c_str() + prefix.size(),
               "strtold stops early in the well-formed prefix " + quoted(prefix));
    if (errno == ERANGE && std::isinf(v))
        return std::nullopt;
    return v;
}

// Storing as a 48-bit real: 0 below 2^-128, an overflow from (2 - 2^-40) *
// 2^126 on (the tie rounds away from zero, up to 2^127), otherwise the
// nearest value with 40 significant bits, a tie away from zero.
void checkStored(Extended x, std::string_view input)
{
    const Extended magnitude = std::fabs(x);
    const Extended overflowFrom = std::ldexp(2.0L - std::ldexp(1.0L, -40), 126);
    const std::optional<Real48> stored = Real48::store(x);
    FUZZ_CHECK(stored.has_value() == (magnitude < overflowFrom),
               "store " + show(x) + (stored ? " did not overflow" : " overflowed") + ", input "
                   + quoted(input));
    if (!stored)
        return;
    const Extended s = stored->value();
    if (magnitude < 0x1p-128L) {
        FUZZ_CHECK(s == 0, "store " + show(x) + " gave " + show(s));
        return;
    }
    FUZZ_CHECK(std::signbit(s) == std::signbit(x) && s != 0,
               "store " + show(x) + " gave " + show(s));
    int exponent = 0;
    std::frexp(magnitude, &exponent); // magnitude in [2^(exponent-1), 2^exponent)
    const Extended halfUnit = std::ldexp(1.0L, exponent - 41);
    const Extended error = std::fabs(s - x);
    FUZZ_CHECK(error <= halfUnit,
               "store " + show(x) + " gave " + show(s) + ", more than half a unit");
    if (error == halfUnit)
        FUZZ_CHECK(std::fabs(s) > magnitude, "store " + show(x) + ": a tie not away from zero");
    int storedExponent = 0;
    std::frexp(std::fabs(s), &storedExponent);
    const Extended scaled = std::ldexp(std::fabs(s), 40 - storedExponent);
    FUZZ_CHECK(std::trunc(scaled) == scaled,
               "store " + show(x) + " gave " + show(s) + ", over 40 bits");
}

void checkDigits(Extended magnitude)
{
    const auto fast = calc::detail::significantDigitsFast(magnitude);
    if (!fast)
        return;
    const auto general = calc::detail::significantDigitsGeneral(magnitude);
    FUZZ_CHECK(*fast == general,
               "18 digits of " + show(magnitude) + ": fast " + std::string(fast->view()) + " e"
                   + std::to_string(fast->intDigits) + ", general " + std::string(general.view())
                   + " e" + std::to_string(general.intDigits));
}

Extended powerOfTen(int n)
{
    Extended p = 1;
    for (int i = 0; i < (n < 0 ? -n : n); ++i)
        p *= 10;
    return n < 0 ? 1 / p : p;
}

// `value` written as a field's text, then the text read back: its form, its sign and how far
// it lies from `value`. With `stored`, the re-read value is stored too, as a
// field would keep it.
void checkRuleTwo(Extended value, bool stored, std::string_view input)
{
    struct Format {
        int width;
        int decimals;
    };
    // clang-format off
    static constexpr Format formats[] = {
        {0, 0}, {5, 4}, {5, 2}, {1, 1}, {12, 3}, {-4, 6}, {0, 9}, {30, 12}, {0, 17}, {2, 21}, {7, -2},
    };
    // clang-format on
    for (const Format f : formats) {
        const int decimals = f.decimals < 0 ? 0 : f.decimals;
        const std::string text = calc::realToText(value, f.width, f.decimals);
        const std::string where = "realToText(" + show(value) + ", " + std::to_string(f.width)
            + ", " + std::to_string(f.decimals) + ") = " + quoted(text) + ", input "
            + quoted(input);

        const FixedText parts = parseFixedText(text, decimals);
        FUZZ_CHECK(parts.wellFormed, "not a fixed-point text: " + where);
        FUZZ_CHECK(parts.minus == (value < 0), "sign: " + where);
        const std::size_t unpadded = text.size() - parts.blanks;
        FUZZ_CHECK(parts.blanks == 0 || text.size() == static_cast<std::size_t>(f.width),
                   "padding: " + where);
        FUZZ_CHECK(text.size() >= static_cast<std::size_t>(f.width < 0 ? 0 : f.width)
                       && unpadded > 0,
                   "width: " + where);
        FUZZ_CHECK(calc::numberPrefixLength(text) == text.size(),
                   "reading does not take all of " + where);

        // Read back. At the very top of the extended range the 18 digits
        // may round beyond it: such a text cannot be read back.
        const bool topOfRange = !stored && std::fabs(value) > LDBL_MAX * (1 - 1e-17L);
        std::optional<Extended> read = calc::textToExtended(text);
        if (read && stored) {
            const auto real = Real48::store(*read);
            read = real ? std::optional(real->value()) : std::nullopt;
        }
        if (!read) {
            if (topOfRange)
                continue;
            fuzzFailure(__FILE__, __LINE__, "reading back", "overflow: " + where);
        }
        const Extended back = *read;
        // Half a unit of the last decimal, plus the 18 significant digits
        // taken first, plus the conversion back (and the storing).
        const Extended magnitude = std::fabs(value);
        Extended tolerance = powerOfTen(-decimals) / 2 + 0.5e-17L * (magnitude < 1 ? 1 : magnitude);
        tolerance += std::fabs(back) * ((stored ? 0x1p-40L : 0) + 0x1p-63L);
        tolerance *= 1 + 1e-12L;
        FUZZ_CHECK(std::fabs(back - value) <= tolerance,
                   "read back as " + show(back) + ", off by " + show(std::fabs(back - value)) + ": "
                       + where);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    if (!cLocale)
        std::abort();
    // Under a Czech locale the C library reads and writes a decimal comma.
    if (!std::setlocale(LC_ALL, "cs_CZ.UTF-8"))
        std::setlocale(LC_ALL, "C");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::size_t n = calc::numberPrefixLength(text);
    FUZZ_CHECK(n <= text.size(), "prefix beyond the text: " + quoted(text));
    FUZZ_CHECK(n == referencePrefixLength(text),
               "prefix " + std::to_string(n) + ", expected "
                   + std::to_string(referencePrefixLength(text)) + " for " + quoted(text));

    const std::optional<Extended> value = calc::textToExtended(text);
    bool minus = false;
    if (n == 0) {
        FUZZ_CHECK(value && *value == 0, "no number, yet a value for " + quoted(text));
    } else {
        const std::string prefix(text.substr(0, n));
        minus = prefix[prefix.find_first_not_of(' ')] == '-';
        const std::optional<Extended> expected = referenceValue(prefix);
        FUZZ_CHECK(
            value.has_value() == expected.has_value(),
            quoted(text) + (value ? " read as " + show(*value) : std::string(" overflowed"))
                + (expected ? ", nearest " + show(*expected) : std::string(", beyond the range")));
        if (value) {
            // Below the normal range the C library keeps a subnormal value,
            // reading may give 0 (both store as 0).
            const bool tiny = std::fpclassify(*expected) == FP_SUBNORMAL || *expected == 0;
            FUZZ_CHECK(*value == *expected || (tiny && *value == 0),
                       quoted(text) + " read as " + show(*value) + ", nearest " + show(*expected));
        }
    }
    if (value) {
        FUZZ_CHECK(std::isfinite(*value), "not finite: " + quoted(text));
        FUZZ_CHECK(!(*value < 0) || minus, "negative without a minus: " + quoted(text));
        FUZZ_CHECK(!(*value > 0) || !minus, "positive with a minus: " + quoted(text));
    }

    // textToReal is the value read, stored; it overflows exactly when
    // storing does.
    const std::optional<Real48> real = calc::textToReal(text);
    if (value) {
        checkStored(*value, text);
        FUZZ_CHECK(real == Real48::store(*value),
                   "textToReal differs from storing textToExtended: " + quoted(text));
    } else {
        FUZZ_CHECK(!real, "textToReal did not overflow where textToExtended did: " + quoted(text));
    }

    if (real) {
        checkDigits(std::fabs(real->value()));
        checkRuleTwo(real->value(), true, text);
    }
    if (value) {
        checkDigits(std::fabs(*value));
        checkRuleTwo(*value, false, text);
    }
    return 0;
}
