// The extended format in software: MPFR at 64 bits, within the extended
// exponent range, with subnormals. Each operation is MPFR's correctly
// rounded one (to nearest, ties to even), then fitted into the range
// (mpfr_check_range) and, below the smallest normal magnitude, rounded once
// more to the bits a subnormal keeps (mpfr_subnormalize, which takes the
// first rounding's direction into account, so the result is rounded once).

#include "extended.h"

#include <mpfr.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <system_error>

// The 64-bit significand in GMP's limbs: one of 64 bits, or two of 32 (as
// in WebAssembly), the least significant first.
constexpr std::size_t limbCount = 64 / GMP_NUMB_BITS;
static_assert(GMP_NAIL_BITS == 0 && GMP_NUMB_BITS * limbCount == 64,
              "whole limbs hold an extended significand");

namespace calc {
inline namespace VENTBOX_CALC_VARIANT {

namespace {

constexpr mpfr_prec_t precision = 64;
constexpr mpfr_rnd_t nearest = MPFR_RNDN;
// MPFR's exponent e puts a magnitude in [2^(e-1), 2^e): the smallest
// subnormal value 2^-16445 has e = -16444, the smallest normal one 2^-16382
// e = -16381, the largest finite one e = 16384.
constexpr mpfr_exp_t minExponent = -16444;
constexpr mpfr_exp_t smallestNormalExponent = -16381;
constexpr mpfr_exp_t maxExponent = 16384;

// MPFR keeps its exponent range per thread; each operation makes sure of it.
void useExtendedRange()
{
    if (mpfr_get_emin() != minExponent)
        mpfr_set_emin(minExponent);
    if (mpfr_get_emax() != maxExponent)
        mpfr_set_emax(maxExponent);
}

void useWidestRange()
{
    mpfr_set_emin(mpfr_get_emin_min());
    mpfr_set_emax(mpfr_get_emax_max());
}

} // namespace

static_assert(MPFR_NAN_KIND == 0 && MPFR_INF_KIND == 1 && MPFR_ZERO_KIND == 2
              && MPFR_REGULAR_KIND == 3);

// An exponent of the extended format as MPFR takes it: mpfr_exp_t is a
// long, 32 bits on Windows, which the format's exponents fit. (A template,
// so that where long is 64 bits the cast is not a useless one.)
template <typename Exponent> constexpr Exponent toMpfr(std::int64_t exponent)
{
    return static_cast<Exponent>(exponent);
}

// The significand's limbs and back (templates for the same reason: where a
// limb is 64 bits, the casts change nothing).
using Limbs = std::array<mp_limb_t, limbCount>;

template <typename Limb> constexpr std::array<Limb, limbCount> toLimbs(std::uint64_t significand)
{
    std::array<Limb, limbCount> limbs{};
    for (std::size_t i = 0; i < limbCount; ++i)
        limbs[i] = static_cast<Limb>(significand >> (i * GMP_NUMB_BITS));
    return limbs;
}

template <typename Limb>
constexpr std::uint64_t fromLimbs(const std::array<Limb, limbCount>& limbs)
{
    std::uint64_t significand = 0;
    for (std::size_t i = 0; i < limbCount; ++i)
        significand |= static_cast<std::uint64_t>(limbs[i]) << (i * GMP_NUMB_BITS);
    return significand;
}

struct ExtendedAccess {
    // An MPFR number over a significand of its own: a copy of an Extended
    // operand, or a result to be taken out as an Extended. Never copied:
    // MPFR points at its limbs.
    class Number {
    public:
        Number() { mpfr_custom_init_set(&x_, MPFR_ZERO_KIND, 0, precision, limbs_.data()); }
        explicit Number(const Extended& e) : limbs_(toLimbs<mp_limb_t>(e.significand_))
        {
            mpfr_custom_init_set(&x_, e.kind_, toMpfr<mpfr_exp_t>(e.exponent_), precision,
                                 limbs_.data());
        }
        Number(const Number&) = delete;
        Number& operator=(const Number&) = delete;
        ~Number() = default;

        mpfr_ptr get() { return &x_; }
        mpfr_srcptr get() const { return &x_; }

        // After an operation whose ternary value was `t`: into the extended
        // range, subnormals rounded. Returns the final ternary value.
        int fit(int t)
        {
            t = mpfr_check_range(&x_, t, nearest);
            return mpfr_subnormalize(&x_, t, nearest);
        }

        [[nodiscard]] Extended value() const
        {
            Extended e;
            e.kind_ = mpfr_custom_get_kind(&x_);
            if (e.kind_ == Extended::regularKind || e.kind_ == -Extended::regularKind) {
                e.significand_ = fromLimbs(limbs_);
                e.exponent_ = mpfr_custom_get_exp(&x_);
            }
            return e;
        }

    private:
        Limbs limbs_{};
        __mpfr_struct x_{};
    };

    template <typename Operation>
    static Extended binary(Operation operation, Extended a, Extended b)
    {
        useExtendedRange();
        const Number x(a);
        const Number y(b);
        Number r;
        r.fit(operation(r.get(), x.get(), y.get(), nearest));
        return r.value();
    }

    template <typename Comparison>
    static bool compare(Comparison comparison, Extended a, Extended b)
    {
        const Number x(a);
        const Number y(b);
        return comparison(x.get(), y.get()) != 0;
    }

    static Extended fromLongDouble(long double v)
    {
        useExtendedRange();
        Number r;
        r.fit(mpfr_set_ld(r.get(), v, nearest));
        return r.value();
    }

    static std::from_chars_result fromChars(const char* first, const char* last, Extended& value)
    {
        const std::string text(first, last); // MPFR reads up to a terminating NUL
        Number r;
        char* end = nullptr;
        // First the nearest 64-bit value with no practical bound on the
        // exponent: whether it lies below the smallest normal magnitude
        // decides, as for the standard library, whether an inexact result
        // is an underflow.
        useWidestRange();
        int t = mpfr_strtofr(r.get(), text.c_str(), &end, 10, nearest);
        const bool tiny = mpfr_zero_p(r.get()) != 0
            || (mpfr_regular_p(r.get()) != 0 && mpfr_get_exp(r.get()) < smallestNormalExponent);
        useExtendedRange();
        t = r.fit(t);
        const auto read = end - text.c_str();
        if (read == 0)
            return {first, std::errc::invalid_argument};
        if (mpfr_inf_p(r.get()) != 0 || (tiny && t != 0))
            return {first + read, std::errc::result_out_of_range};
        value = r.value();
        return {first + read, std::errc()};
    }

    static std::to_chars_result toChars(char* first, char* last, Extended value,
                                        std::chars_format format, int precisionDigits)
    {
        std::string text;
        const Number x(value);
        useWidestRange(); // for the exact intermediates of fixed()
        if (mpfr_nan_p(x.get()) != 0) {
            text = "nan";
        } else if (mpfr_inf_p(x.get()) != 0) {
            text = mpfr_signbit(x.get()) != 0 ? "-inf" : "inf";
        } else if (format == std::chars_format::fixed) {
            text = fixed(x, precisionDigits);
        } else {
            text = scientific(x, precisionDigits);
        }
        useExtendedRange();
        if (last - first < static_cast<std::ptrdiff_t>(text.size()))
            return {last, std::errc::value_too_large};
        return {std::copy(text.begin(), text.end(), first), std::errc()};
    }

private:
    // The digits of MPFR's decimal string of x to `digits` significant
    // digits, rounded to nearest (ties to even); `exponent` puts the point:
    // x = 0.ddd... × 10^exponent.
    static std::string decimalDigits(mpfr_srcptr x, std::size_t digits, mpfr_exp_t& exponent)
    {
        std::string digitsText(digits + 2, '\0'); // a sign and the NUL
        mpfr_get_str(digitsText.data(), &exponent, 10, digits, x, nearest);
        digitsText.resize(std::strlen(digitsText.c_str()));
        if (!digitsText.empty() && digitsText.front() == '-')
            digitsText.erase(0, 1);
        return digitsText;
    }

    // As printf's "%.*Le": d.ddd…e±XX, at least two exponent digits.
    static std::string scientific(const Number& x, int precisionDigits)
    {
        const auto digits = static_cast<std::size_t>(precisionDigits) + 1;
        std::string text = mpfr_signbit(x.get()) != 0 ? "-" : "";
        mpfr_exp_t exponent = 1;
        std::string d = mpfr_zero_p(x.get()) != 0 ? std::string(digits, '0')
                                                  : decimalDigits(x.get(), digits, exponent);
        text += d.substr(0, 1);
        if (digits > 1) {
            text += '.';
            text.append(d, 1);
        }
        const long long e = static_cast<long long>(exponent) - 1;
        const std::string magnitude = std::to_string(e < 0 ? -e : e);
        text += e < 0 ? "e-" : "e+";
        text += (magnitude.size() < 2 ? "0" : "") + magnitude;
        return text;
    }

    // As printf's "%.*Lf": the exact value rounded to `precisionDigits`
    // decimals.
    static std::string fixed(const Number& x, int precisionDigits)
    {
        const auto decimals = static_cast<std::size_t>(precisionDigits);
        std::string text = mpfr_signbit(x.get()) != 0 ? "-" : "";
        // x × 10^decimals rounded to an integer, ties to even, all exact:
        // enough bits for the significand, the integer part and the power.
        const mpfr_exp_t integerBits =
            mpfr_regular_p(x.get()) != 0 ? std::max<mpfr_exp_t>(mpfr_get_exp(x.get()), 0) : 0;
        const mpfr_prec_t bits =
            precision + integerBits + 4 * static_cast<mpfr_exp_t>(decimals) + 8;
        mpfr_t scaled;
        mpfr_t power;
        mpfr_inits2(bits, scaled, power, static_cast<mpfr_ptr>(nullptr));
        mpfr_ui_pow_ui(power, 10, static_cast<unsigned long>(decimals), nearest);
        mpfr_mul(scaled, x.get(), power, nearest);
        mpfr_rint(scaled, scaled, nearest);
        mpfr_abs(scaled, scaled, nearest);
        std::string digits;
        if (mpfr_zero_p(scaled) == 0) {
            mpfr_exp_t exponent = 0;
            // More digits than the integer has: the ones past it are zeros.
            digits = decimalDigits(scaled, static_cast<std::size_t>(bits) / 3 + 2, exponent);
            digits.resize(static_cast<std::size_t>(exponent));
        }
        mpfr_clears(scaled, power, static_cast<mpfr_ptr>(nullptr));
        if (digits.size() <= decimals)
            digits.insert(0, decimals + 1 - digits.size(), '0');
        text += digits.substr(0, digits.size() - decimals);
        if (decimals > 0) {
            text += '.';
            text.append(digits, digits.size() - decimals);
        }
        return text;
    }
};

Extended::Extended(long double x) noexcept : Extended(ExtendedAccess::fromLongDouble(x))
{ }

Extended::operator long double() const noexcept
{
    const ExtendedAccess::Number x(*this);
    return mpfr_get_ld(x.get(), nearest);
}

Extended::operator double() const noexcept
{
    const ExtendedAccess::Number x(*this);
    return mpfr_get_d(x.get(), nearest);
}

Extended operator+(Extended a, Extended b) noexcept
{
    return ExtendedAccess::binary(mpfr_add, a, b);
}

Extended operator-(Extended a, Extended b) noexcept
{
    return ExtendedAccess::binary(mpfr_sub, a, b);
}

Extended operator*(Extended a, Extended b) noexcept
{
    return ExtendedAccess::binary(mpfr_mul, a, b);
}

Extended operator/(Extended a, Extended b) noexcept
{
    return ExtendedAccess::binary(mpfr_div, a, b);
}

bool operator==(Extended a, Extended b) noexcept
{
    return ExtendedAccess::compare(mpfr_equal_p, a, b);
}

bool operator<(Extended a, Extended b) noexcept
{
    return ExtendedAccess::compare(mpfr_less_p, a, b);
}

bool operator<=(Extended a, Extended b) noexcept
{
    return ExtendedAccess::compare(mpfr_lessequal_p, a, b);
}

Extended sqrt(Extended a) noexcept
{
    useExtendedRange();
    const ExtendedAccess::Number x(a);
    ExtendedAccess::Number r;
    r.fit(mpfr_sqrt(r.get(), x.get(), nearest));
    return r.value();
}

Extended ldexp(Extended a, int exponent) noexcept
{
    useExtendedRange();
    const ExtendedAccess::Number x(a);
    ExtendedAccess::Number r;
    r.fit(mpfr_mul_2si(r.get(), x.get(), exponent, nearest));
    return r.value();
}

std::from_chars_result fromChars(const char* first, const char* last, Extended& value)
{
    return ExtendedAccess::fromChars(first, last, value);
}

std::to_chars_result toChars(char* first, char* last, Extended value, std::chars_format format,
                             int precisionDigits)
{
    return ExtendedAccess::toChars(first, last, value, format, precisionDigits);
}

} // namespace VENTBOX_CALC_VARIANT
} // namespace calc
