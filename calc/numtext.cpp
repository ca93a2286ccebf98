#include "numtext.h"

#include "numtext_detail.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <system_error>

namespace calc {
inline namespace VENTBOX_CALC_VARIANT {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

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
    std::size_t intEnd = 0;    // end of the digits before "."
    std::size_t fracBegin = 0; // first digit after "." (== fracEnd if none)
    std::size_t fracEnd = 0;
    std::size_t expDigitsBegin = 0; // first exponent digit (== end if none)
    bool expNegative = false;
    std::size_t end = 0; // 0: no well-formed number at all
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

} // namespace

namespace detail {

SignificantDigits significantDigitsGeneral(Extended magnitude)
{
    SignificantDigits sig;
    // The longest text: a fixed 17-decimal number below 10, or a scientific
    // one of 18 digits with a five-digit exponent.
    std::array<char, 64> buf{};
    if (magnitude < 10) {
        const auto r =
            toChars(buf.data(), buf.data() + buf.size(), magnitude, std::chars_format::fixed, 17);
        const std::string_view t(buf.data(), static_cast<std::size_t>(r.ptr - buf.data()));
        const std::size_t point = t.find('.');
        sig.append(t.substr(0, point));
        sig.append(t.substr(point + 1));
        sig.intDigits = static_cast<std::ptrdiff_t>(point);
    } else {
        const auto r = toChars(buf.data(), buf.data() + buf.size(), magnitude,
                               std::chars_format::scientific, 17);
        const std::string_view t(buf.data(), static_cast<std::size_t>(r.ptr - buf.data()));
        const std::size_t e = t.find('e');
        sig.append(t.substr(0, 1));
        sig.append(t.substr(2, e - 2));
        int exponent = 0;
        const std::string_view ex = t.substr(e + 1);
        std::from_chars(ex.data() + (ex[0] == '+' ? 1 : 0), ex.data() + ex.size(), exponent);
        sig.intDigits = exponent + 1;
    }
    // Just below 10 the 17 decimals can round up to "10.000...": 19 digits,
    // the last a zero that says nothing.
    sig.count = std::min(sig.count, 18);
    return sig;
}

namespace {

__extension__ typedef unsigned __int128 U128; // GCC and Clang on x86-64

// 10^0 .. 10^38, all that 128 bits hold.
constexpr std::array<U128, 39> powersOfTen = [] {
    std::array<U128, 39> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i)
        p[i] = p[i - 1] * 10;
    return p;
}();

U128 pow10(int n)
{
    return powersOfTen[static_cast<std::size_t>(n)];
}

int decimalLength(U128 v)
{
    int n = 1;
    while (n < 39 && v >= pow10(n))
        ++n;
    return n;
}

// n / d rounded to nearest, a tie to even (as the standard library's exact
// conversion rounds).
U128 divideRounded(U128 n, U128 d)
{
    U128 q = n / d;
    const U128 r = n % d;
    const U128 twice = r * 2; // r < d < 2^127: no overflow
    if (twice > d || (twice == d && (q & 1) != 0))
        ++q;
    return q;
}

// n / 2^shift rounded to nearest, a tie to even; 0 < shift < 128.
U128 shiftRounded(U128 n, int shift)
{
    U128 q = n >> shift;
    const U128 rest = n & ((U128{1} << shift) - 1);
    const U128 half = U128{1} << (shift - 1);
    if (rest > half || (rest == half && (q & 1) != 0))
        ++q;
    return q;
}

// The 18 digits of a rounded result, with leading zeros. The result is at
// most 10^18, whose digits are those of 10^17 one place further left:
// returns whether that happened.
bool setDecimal(SignificantDigits& sig, std::uint64_t v)
{
    constexpr std::uint64_t tenToThe18 = 1'000'000'000'000'000'000ULL;
    const bool carried = v >= tenToThe18;
    if (carried)
        v /= 10;
    sig.count = 18;
    for (int i = sig.count; i > 0; --i) {
        sig.digits[static_cast<std::size_t>(i - 1)] = static_cast<char>('0' + v % 10);
        v /= 10;
    }
    return carried;
}

} // namespace

std::optional<SignificantDigits> significantDigitsFast(Extended magnitude)
{
    if (!(magnitude >= 0) || !isFinite(magnitude))
        return std::nullopt;
    SignificantDigits sig;
    if (magnitude == 0) {
        setDecimal(sig, 0);
        sig.intDigits = 1;
        return sig;
    }
    // magnitude = m * 2^e exactly, m a 64-bit integer.
    const ExtendedParts parts = decompose(magnitude);
    const std::uint64_t m = parts.significand;
    const int e = parts.exponent;
    if (e + 63 >= 127) // 2^127 or more (m has its top bit set there)
        return std::nullopt;

    U128 n = 0;
    if (magnitude < 10) {
        // 17 decimals: round(m * 10^17 / 2^-e); here e <= -60.
        const int shift = -e;
        if (shift < 128)
            n = shiftRounded(static_cast<U128>(m) * pow10(17), shift);
        sig.intDigits = 1 + setDecimal(sig, static_cast<std::uint64_t>(n));
        return sig;
    }
    // At least 10 (so e > -64): the decimal exponent from the integer part.
    const U128 integerPart =
        e >= 0 ? static_cast<U128>(m) << e : static_cast<U128>(m) >> std::min(-e, 127);
    const int d = decimalLength(integerPart) - 1; // 10^d <= magnitude < 10^(d+1)
    if (d <= 17) {
        // magnitude * 10^(17-d), whose integer part has 18 digits; e < 0 here.
        n = shiftRounded(static_cast<U128>(m) * pow10(17 - d), -e);
    } else {
        const U128 numerator = static_cast<U128>(m) << std::max(e, 0);
        const U128 denominator = pow10(d - 17) << std::max(-e, 0);
        n = divideRounded(numerator, denominator);
    }
    sig.intDigits = d + 1 + setDecimal(sig, static_cast<std::uint64_t>(n));
    return sig;
}

std::optional<Extended> decimalToExtendedFast(std::string_view number)
{
    // Digits, then the count of decimals and the exponent.
    std::uint64_t digits = 0;
    int significant = 0;
    int decimals = 0;
    bool afterPoint = false;
    std::size_t i = 0;
    for (; i < number.size(); ++i) {
        const char c = number[i];
        if (c == '.') {
            afterPoint = true;
            continue;
        }
        if (c < '0' || c > '9')
            break;
        if (significant > 0 || c != '0')
            ++significant;
        if (significant > 19)
            return std::nullopt; // more than 64 bits might be needed
        digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
        if (afterPoint)
            ++decimals;
    }
    int exponent = 0;
    if (i < number.size()) { // 'e' or 'E'
        ++i;
        bool negative = false;
        if (i < number.size() && (number[i] == '+' || number[i] == '-'))
            negative = number[i++] == '-';
        for (; i < number.size(); ++i) {
            exponent = exponent * 10 + (number[i] - '0');
            if (exponent > 1000)
                return std::nullopt;
        }
        if (negative)
            exponent = -exponent;
    }
    const int power = exponent - decimals;
    // 10^27 is the largest power of ten a 64-bit significand holds exactly;
    // one rounding of exact operands is the nearest extended value.
    if (power < -27 || power > 27)
        return digits == 0 ? std::optional<Extended>(0) : std::nullopt;
    // 10^0 .. 10^27, each exact (5^27 < 2^63).
    static const std::array<Extended, 28> exactPowers = [] {
        std::array<Extended, 28> p{};
        p[0] = 1;
        for (std::size_t k = 1; k < p.size(); ++k)
            p[k] = p[k - 1] * 10;
        return p;
    }();
    const Extended p = exactPowers[static_cast<std::size_t>(power < 0 ? -power : power)];
    const auto value = static_cast<Extended>(digits);
    return power < 0 ? value / p : value * p;
}

} // namespace detail

std::size_t numberPrefixLength(std::string_view text)
{
    return scan(text).end;
}

std::optional<Extended> textToExtended(std::string_view text)
{
    const NumberParts p = scan(text);
    if (p.end == 0)
        return Extended{};
    const bool negative = p.signPos != std::string_view::npos && text[p.signPos] == '-';

    // from_chars takes no "+" and no blanks: hand it the number part only
    // and put the sign on afterwards.
    const char* first = text.data() + p.mantissaBegin;
    const char* last = text.data() + p.end;
    if (const auto fast = detail::decimalToExtendedFast(
            std::string_view(first, static_cast<std::size_t>(last - first))))
        return negative ? -*fast : *fast;
    Extended magnitude{};
    const auto [ptr, ec] = fromChars(first, last, magnitude);
    if (ec == std::errc::result_out_of_range) {
        // Out of the extended range on one side or the other.
        if (decimalOrder(text, p) >= 0)
            return std::nullopt;
        return negative ? -Extended{} : Extended{};
    }
    if (ec != std::errc() || ptr != last)
        return Extended{}; // cannot happen for a text that scan() accepted
    return negative ? -magnitude : magnitude;
}

std::optional<Real48> textToReal(std::string_view text)
{
    const auto value = textToExtended(text);
    return value ? Real48::store(*value) : std::nullopt;
}

std::string realToText(Extended value, int width, int decimals)
{
    decimals = std::max(decimals, 0);
    const bool negative = value < 0;
    const Extended magnitude = fabs(value);

    // The magnitude to 18 significant digits, rounded to nearest.
    auto fast = detail::significantDigitsFast(magnitude);
    detail::SignificantDigits sig = fast ? *fast : detail::significantDigitsGeneral(magnitude);

    // Then to `decimals` places, a half going away from zero.
    // Positions beyond the significant digits are zeros; a carry out of the
    // first digit makes a new leading "1".
    auto digitAt = [&sig](std::ptrdiff_t i) {
        return i < sig.count ? sig.digits[static_cast<std::size_t>(i)] : '0';
    };
    const std::ptrdiff_t keep = sig.intDigits + decimals;
    bool carry = false;
    if (keep < sig.count && digitAt(keep) >= '5') {
        std::ptrdiff_t i = keep;
        while (i > 0 && sig.digits[static_cast<std::size_t>(i - 1)] == '9')
            sig.digits[static_cast<std::size_t>(--i)] = '0';
        if (i == 0)
            carry = true;
        else
            ++sig.digits[static_cast<std::size_t>(i - 1)];
    }
    if (keep < sig.count)
        sig.count = static_cast<int>(keep);

    std::string text;
    text.reserve(static_cast<std::size_t>(sig.intDigits + decimals + 4));
    if (negative)
        text.push_back('-');
    if (carry)
        text.push_back('1');
    std::ptrdiff_t i = 0;
    if (!carry) {
        while (i < sig.intDigits - 1 && digitAt(i) == '0')
            ++i; // no leading zeros, but at least one digit
    }
    for (; i < sig.intDigits; ++i)
        text.push_back(digitAt(i));
    if (decimals > 0) {
        text.push_back('.');
        for (std::ptrdiff_t j = 0; j < decimals; ++j)
            text.push_back(digitAt(sig.intDigits + j));
    }
    if (text.size() < static_cast<std::size_t>(std::max(width, 0)))
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

} // namespace VENTBOX_CALC_VARIANT
} // namespace calc
