#include "numtext.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace calc {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t skipDigits(std::string_view s, std::size_t i)
{
    while (i < s.size() && isDigit(s[i]))
        ++i;
    return i;
}

// The parts of a well-formed number, as positions in the scanned text.
struct NumberParts {
    std::size_t signPos = std::string_view::npos; // "+" or "-", if any
    std::size_t mantissaBegin = 0;
    std::size_t intEnd = 0;        // end of the digits before "."
    std::size_t fracBegin = 0;     // first digit after "." (== fracEnd if none)
    std::size_t fracEnd = 0;
    std::size_t expDigitsBegin = 0;  // first exponent digit (== end if none)
    bool expNegative = false;
    std::size_t end = 0;           // 0: no well-formed number at all
};

NumberParts scan(std::string_view s)
{
    NumberParts p;
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        p.signPos = i++;
    p.mantissaBegin = i;
    p.intEnd = skipDigits(s, i);
    p.fracBegin = p.fracEnd = p.intEnd;
    std::size_t end = p.intEnd;
    if (p.intEnd < s.size() && s[p.intEnd] == '.') {
        const std::size_t fracEnd = skipDigits(s, p.intEnd + 1);
        if (fracEnd > p.intEnd + 1) {
            p.fracBegin = p.intEnd + 1;
            p.fracEnd = end = fracEnd;
        }
    }
    if (end == p.mantissaBegin)
        return NumberParts{}; // no digit in the number part
    p.expDigitsBegin = end;
    if (end < s.size() && (s[end] == 'e' || s[end] == 'E')) {
        std::size_t j = end + 1;
        bool negative = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            negative = s[j++] == '-';
        const std::size_t expEnd = skipDigits(s, j);
        if (expEnd > j) {
            p.expDigitsBegin = j;
            p.expNegative = negative;
            end = expEnd;
        }
    }
    p.end = end;
    return p;
}

// Where the first significant digit stands: 0 for the units, 1 for the tens,
// -1 for the tenths, and so on, including the exponent (saturated so that a
// pasted exponent of any length cannot overflow). Only its sign is used.
long long decimalOrder(std::string_view s, const NumberParts& p)
{
    long long order = 0;
    std::size_t i = p.mantissaBegin;
    while (i < p.intEnd && s[i] == '0')
        ++i;
    if (i < p.intEnd) {
        order = static_cast<long long>(p.intEnd - i) - 1;
    } else {
        std::size_t j = p.fracBegin;
        while (j < p.fracEnd && s[j] == '0')
            ++j;
        order = -static_cast<long long>(j - p.fracBegin) - 1;
    }
    constexpr long long cap = 1'000'000'000;
    long long exponent = 0;
    for (std::size_t k = p.expDigitsBegin; k < p.end; ++k)
        exponent = std::min(cap, exponent * 10 + (s[k] - '0'));
    return order + (p.expNegative ? -exponent : exponent);
}

bool allZeroDigits(std::string_view s, const NumberParts& p)
{
    auto zero = [](char c) { return c == '0'; };
    return std::all_of(s.begin() + static_cast<std::ptrdiff_t>(p.mantissaBegin),
                       s.begin() + static_cast<std::ptrdiff_t>(p.intEnd), zero)
        && std::all_of(s.begin() + static_cast<std::ptrdiff_t>(p.fracBegin),
                       s.begin() + static_cast<std::ptrdiff_t>(p.fracEnd), zero);
}

} // namespace

std::size_t numberPrefixLength(std::string_view text)
{
    return scan(text).end;
}

Extended textToExtended(std::string_view text)
{
    const NumberParts p = scan(text);
    if (p.end == 0)
        return 0.0L;
    const bool negative = p.signPos != std::string_view::npos && text[p.signPos] == '-';
    if (allZeroDigits(text, p))
        return negative ? -0.0L : 0.0L;

    // from_chars takes no "+" and no blanks: hand it the number part only
    // and put the sign on afterwards.
    const char* first = text.data() + p.mantissaBegin;
    const char* last = text.data() + p.end;
    Extended magnitude = 0.0L;
    const auto [ptr, ec] = std::from_chars(first, last, magnitude);
    if (ec == std::errc::result_out_of_range) {
        // Out of the extended range on one side or the other.
        if (decimalOrder(text, p) >= 0)
            throw FloatOverflow();
        return negative ? -0.0L : 0.0L;
    }
    if (ec != std::errc() || ptr != last)
        return 0.0L; // cannot happen for a text that scan() accepted
    return negative ? -magnitude : magnitude;
}

Real48 textToReal(std::string_view text)
{
    return Real48::store(textToExtended(text));
}

std::string realToText(Extended value, int width, int decimals)
{
    const bool negative = value < 0;
    const Extended magnitude = std::fabs(value);

    // Step 1: the magnitude to 18 significant digits, rounded to nearest.
    // Below 10 the digits count from the units digit (17 decimals).
    // digits: the decimal digits without the point; intDigits: how many of
    // them stand before the point.
    std::string digits;
    std::ptrdiff_t intDigits = 0;
    {
        // The longest text: a fixed 17-decimal number below 10, or a
        // scientific one of 18 digits with a five-digit exponent.
        std::array<char, 64> buf{};
        if (magnitude < 10) {
            const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude,
                                         std::chars_format::fixed, 17);
            const std::string_view t(buf.data(), static_cast<std::size_t>(r.ptr - buf.data()));
            const std::size_t point = t.find('.');
            digits.assign(t.substr(0, point));
            digits.append(t.substr(point + 1));
            intDigits = static_cast<std::ptrdiff_t>(point);
        } else {
            const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude,
                                         std::chars_format::scientific, 17);
            const std::string_view t(buf.data(), static_cast<std::size_t>(r.ptr - buf.data()));
            const std::size_t e = t.find('e');
            digits.push_back(t[0]);
            digits.append(t.substr(2, e - 2));
            int exponent = 0;
            const std::string_view ex = t.substr(e + 1);
            std::from_chars(ex.data() + (ex[0] == '+' ? 1 : 0), ex.data() + ex.size(), exponent);
            intDigits = exponent + 1;
        }
    }

    // Step 2: round to `decimals` places, a half going away from zero.
    // Positions beyond the 18 digits are zeros.
    const std::size_t keep = static_cast<std::size_t>(intDigits + decimals);
    if (digits.size() < keep + 1)
        digits.resize(keep + 1, '0');
    const bool roundUp = digits[keep] >= '5';
    digits.resize(keep);
    if (roundUp) {
        std::size_t i = keep;
        while (i > 0 && digits[i - 1] == '9')
            digits[--i] = '0';
        if (i == 0) {
            digits.insert(digits.begin(), '1');
            ++intDigits;
        } else {
            ++digits[i - 1];
        }
    }

    std::string intPart = digits.substr(0, static_cast<std::size_t>(intDigits));
    const std::size_t firstNonZero = intPart.find_first_not_of('0');
    intPart = firstNonZero == std::string::npos ? "0" : intPart.substr(firstNonZero);

    std::string text;
    if (negative)
        text.push_back('-');
    text += intPart;
    if (decimals > 0) {
        text.push_back('.');
        text.append(digits, static_cast<std::size_t>(intDigits), std::string::npos);
    }
    if (text.size() < static_cast<std::size_t>(std::max(width, 0)))
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

} // namespace calc
