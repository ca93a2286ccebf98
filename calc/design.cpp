#include "design.h"

#include "numtext.h"

#include <cmath>

namespace calc {

namespace {

// Constants, each in the precision the formulas use it in.
constexpr Extended factor093 = 0.93L;         // extended
constexpr Extended qtcThreshold = 0.7L;       // extended
constexpr Extended shortenThreshold = 0.65L;  // extended
constexpr Extended soundSquared = 1176490.0L; // 10 × 343², exact
constexpr Extended fourPiSquared = 39.4784176043574344753379639995046045L;

constexpr Real48 kLow = Real48::exact(0.75L);
constexpr Real48 kHigh = Real48::exact(0x999999999Ap-40L); // 0.6 to 40 bits: 0.6000000000003638

} // namespace

std::string_view designFieldName(DesignField field)
{
    switch (field) {
    case DesignField::Fs: return "Fs";
    case DesignField::Qts: return "Qts";
    case DesignField::Vas: return "Vas";
    case DesignField::Rdc: return "Rdc";
    case DesignField::Re: return "Re";
    case DesignField::S: return "S";
    case DesignField::Vb: return "Vb";
    }
    return "?";
}

Real48 tuningFactor(Real48 qtc)
{
    return qtc.value() <= qtcThreshold ? kLow : kHigh;
}

bool portMayBeShortened(Real48 qtc)
{
    return qtc.value() < shortenThreshold;
}

DesignResult recalculate(const DesignInput& input)
{
    DesignResult result;
    auto cleared = [&result](DesignOutcome outcome, DesignField field) {
        result.outcome = outcome;
        result.field = field;
        result.length.clear();
        result.qtc.clear();
        result.fb.clear();
        return result;
    };

    // 1. Completeness: an empty text clears; a text of blanks is not empty.
    for (int i = 0; i < designFieldCount; ++i) {
        const auto field = static_cast<DesignField>(i);
        if (input[field].empty())
            return cleared(DesignOutcome::Empty, field);
    }

    try {
        // 2. Conversion, in field order.
        std::array<Real48, designFieldCount> v{};
        for (int i = 0; i < designFieldCount; ++i)
            v[static_cast<std::size_t>(i)] = textToReal(input[static_cast<DesignField>(i)]);
        auto at = [&v](DesignField f) { return v[static_cast<std::size_t>(f)].value(); };
        const Extended fs = at(DesignField::Fs), qts = at(DesignField::Qts),
                       vas = at(DesignField::Vas), rdc = at(DesignField::Rdc),
                       re = at(DesignField::Re), s = at(DesignField::S), vb = at(DesignField::Vb);

        // 3. Positivity of the tested inputs. Re may be 0, but a (pasted)
        // negative Re would lower Qtc below the driver's own: refused too.
        for (int i = 0; i < designFieldCount; ++i) {
            const auto field = static_cast<DesignField>(i);
            const bool bad = field == DesignField::Re ? at(field) < 0 : !(at(field) > 0);
            if (bad)
                return cleared(DesignOutcome::NotPositive, field);
        }

        // 4. Quality factor, each intermediate in extended precision.
        const Extended a = qts * (re + rdc);
        const Extended b = a / rdc;
        const Extended c = factor093 * b;
        const Extended r = std::sqrt(vas / vb + 1);
        const Real48 qtc = Real48::store(r * c);
        result.storedQtc = qtc;

        // 5. Tuning factor from the stored Qtc.
        const Real48 k = tuningFactor(qtc);

        // 6. Tuning frequency; the square root is computed afresh.
        const Extended t = k.value() * factor093;
        const Extended u = std::sqrt(vas / vb + 1) * t;
        const Real48 fb = Real48::store(fs * u);
        // A Fs just above the smallest 48-bit magnitude gives a Fb that
        // stores as 0, and the port length would divide by it.
        if (fb.value() == 0)
            return cleared(DesignOutcome::NotPositive, DesignField::Fs);

        // 7. Port length from the stored Fb.
        const Extended A = s * soundSquared;
        const Extended B = fb.value() * fourPiSquared;
        const Extended C = B * fb.value();
        const Extended D = C * vb;
        const Extended E = A / D;
        const Extended G = 0.5L * std::sqrt(s * pi);
        const Real48 length = Real48::store(E - G);

        // 8. The texts.
        result.outcome = DesignOutcome::Filled;
        result.length = realToText(length, 5, 4);
        result.fb = realToText(fb, 5, 2);
        result.qtc = realToText(qtc, 5, 4);
        return result;
    } catch (const FloatOverflow&) {
        // The results of earlier inputs must not stay beside these inputs.
        return cleared(DesignOutcome::Overflow, DesignField::Fs);
    }
}

} // namespace calc
