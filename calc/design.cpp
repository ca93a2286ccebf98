#include "design.h"

#include <cmath>

namespace calc {
inline namespace VENTBOX_CALC_VARIANT {

namespace {

// Constants, each in the precision the formulas use it in.
const Extended factor093 = 0.93L;         // extended
const Extended qtcThreshold = 0.7L;       // extended
const Extended shortenThreshold = 0.65L;  // extended
const Extended soundSquared = 1176490.0L; // 10 × 343², exact
const Extended fourPiSquared = 39.4784176043574344753379639995046045L;
const Extended half = 0.5L;

} // namespace

Real48 tuningFactor(Real48 qtc)
{
    // Both as 48-bit values: 0.75 exactly, 0.6 as 0.6000000000003638.
    static const Real48 low = *Real48::store(0.75L);
    static const Real48 high = *Real48::store(0.6L);
    return qtc.value() <= qtcThreshold ? low : high;
}

bool portMayBeShortened(Real48 qtc)
{
    return qtc.value() < shortenThreshold;
}

DesignResult recalculate(const DesignTexts& texts)
{
    // Every way out but the last leaves the three texts empty.
    std::optional<Real48> storedQtc;
    auto cleared = [&storedQtc](Outcome outcome, DesignField field) {
        return DesignResult{.outcome = outcome, .field = field, .storedQtc = storedQtc};
    };
    auto overflow = [&] { return cleared(Outcome::Overflow, DesignField::Fs); };

    // 1. Completeness: an empty text clears; a text of blanks is not empty.
    for (std::size_t i = 0; i < designFieldCount; ++i) {
        if (texts[i].empty())
            return cleared(Outcome::Empty, static_cast<DesignField>(i));
    }

    // 2. Conversion, in field order.
    std::array<Extended, designFieldCount> v{};
    for (std::size_t i = 0; i < designFieldCount; ++i) {
        const auto real = textToReal(texts[i]);
        if (!real)
            return overflow();
        v[i] = real->value();
    }
    const auto [fs, qts, vas, rdc, re, s, vb] = v;

    // 3. Positivity of the tested inputs. Re may be 0, but a (pasted)
    // negative Re would lower Qtc below the driver's own: refused too.
    for (std::size_t i = 0; i < designFieldCount; ++i) {
        const auto field = static_cast<DesignField>(i);
        if (field == DesignField::Re ? v[i] < 0 : !(v[i] > 0))
            return cleared(Outcome::NotPositive, field);
    }

    // 4. Quality factor, each intermediate in extended precision.
    const Extended a = qts * (re + rdc);
    const Extended b = a / rdc;
    const Extended c = factor093 * b;
    const Extended r = sqrt(vas / vb + 1);
    const auto qtc = Real48::store(r * c);
    if (!qtc)
        return overflow();
    storedQtc = qtc;

    // 5. Tuning factor from the stored Qtc.
    const Real48 k = tuningFactor(*qtc);

    // 6. Tuning frequency; the square root is computed afresh.
    const Extended t = k.value() * factor093;
    const Extended u = sqrt(vas / vb + 1) * t;
    const auto fb = Real48::store(fs * u);
    if (!fb)
        return overflow();
    // A Fs just above the smallest 48-bit magnitude gives a Fb that stores
    // as 0, and the port length would divide by it.
    if (fb->value() == 0)
        return cleared(Outcome::NotPositive, DesignField::Fs);

    // 7. Port length from the stored Fb.
    const Extended A = s * soundSquared;
    const Extended B = fb->value() * fourPiSquared;
    const Extended C = B * fb->value();
    const Extended D = C * vb;
    const Extended E = A / D;
    const Extended G = half * sqrt(s * pi);
    const auto length = Real48::store(E - G);
    if (!length)
        return overflow();

    // 8. The texts.
    return {.outcome = Outcome::Filled,
            .length = realToText(*length, 5, 4),
            .qtc = realToText(*qtc, 5, 4),
            .fb = realToText(*fb, 5, 2),
            .storedQtc = qtc,
            .storedFb = fb};
}

} // namespace VENTBOX_CALC_VARIANT
} // namespace calc
