#include "response.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <limits>
#include <locale>
#include <sstream>

namespace cli {

namespace {

constexpr double pi = 3.14159265358979323846;
// |G|² = ½
const double halfPowerDb = -10 * std::log10(2.0);
constexpr double peakThresholdDb = 0.005;

// A polynomial c[0] + c[1]·y + c[2]·y² + ..., its sign at y > 0 taken
// without overflow: above 1 it is evaluated divided by y^degree.
using Polynomial = std::vector<double>;

double scaledValue(const Polynomial& c, double y)
{
    double sum = 0;
    if (std::fabs(y) <= 1) {
        for (std::size_t i = c.size(); i-- > 0;)
            sum = sum * y + c[i];
    } else {
        const double u = 1 / y;
        for (const double ci : c)
            sum = sum * u + ci;
    }
    return sum;
}

int signAt(const Polynomial& c, double y)
{
    const double v = scaledValue(c, y);
    return (v > 0) - (v < 0);
}

// The point in (lo, hi) where `below` turns from true to false, halving to
// the last bit.
template <typename Below> double bisect(double lo, double hi, Below below)
{
    for (;;) {
        const double mid = lo + (hi - lo) / 2;
        if (!(mid > lo && mid < hi))
            return mid;
        (below(mid) ? lo : hi) = mid;
    }
}

// The real roots of `c` in the open interval (lo, hi), ascending: between
// two neighbouring roots of its derivative a polynomial is monotone.
std::vector<double> realRoots(Polynomial c, double lo, double hi)
{
    while (!c.empty() && c.back() == 0)
        c.pop_back();
    std::vector<double> roots;
    if (c.size() < 2)
        return roots;
    if (c.size() == 2) {
        const double r = -c[0] / c[1];
        if (r > lo && r < hi)
            roots.push_back(r);
        return roots;
    }
    Polynomial derivative;
    for (std::size_t i = 1; i < c.size(); ++i)
        derivative.push_back(static_cast<double>(i) * c[i]);
    std::vector<double> ends{lo};
    for (const double r : realRoots(derivative, lo, hi))
        ends.push_back(r);
    ends.push_back(hi);
    for (std::size_t i = 0; i + 1 < ends.size(); ++i) {
        const int a = signAt(c, ends[i]);
        const int b = signAt(c, ends[i + 1]);
        if (a == 0 && i > 0)
            roots.push_back(ends[i]); // a root on a turning point
        else if (a * b < 0)
            roots.push_back(
                bisect(ends[i], ends[i + 1], [&](double y) { return signAt(c, y) == a; }));
    }
    return roots;
}

// Cauchy's bound: every root lies below it in magnitude.
double rootBound(Polynomial c)
{
    while (!c.empty() && c.back() == 0)
        c.pop_back();
    double largest = 0;
    for (std::size_t i = 0; i + 1 < c.size(); ++i)
        largest = std::max(largest, std::fabs(c[i] / c.back()));
    return 1 + largest;
}

} // namespace

VentedResponse::VentedResponse(double fs, const VentedBox& box)
{
    // The coefficients of Small's form, divided through so that a large
    // Ql (or an infinite one) takes nothing out of range.
    const double rootH = std::sqrt(box.h);
    f0_ = fs * rootH;
    a1_ = 1 / (rootH * box.qt) + rootH / box.ql;
    a2_ = 1 / (box.ql * box.qt) + (box.alpha + 1) / box.h + box.h;
    a3_ = rootH / box.qt + 1 / (rootH * box.ql);
}

// With x = f / f0 and y = x², |G|² = y⁴ / den(y), den(y) = (1 − a2·y + y²)² +
// y·(a3 − a1·y)²; above x = 1 the same divided by y⁴, in 1 / y.
double VentedResponse::levelDb(double hz) const
{
    const double x = hz / f0_;
    const double y = x * x;
    if (y <= 1) {
        const double re = 1 - a2_ * y + y * y;
        const double im = a3_ - a1_ * y;
        return 10 * (4 * std::log10(y) - std::log10(re * re + y * im * im));
    }
    const double u = 1 / y;
    const double re = 1 - a2_ * u + u * u;
    const double im = a3_ * u - a1_;
    return -10 * std::log10(re * re + u * im * im);
}

// G's numerator is real, so −arg G grows as arg D, D(jx) = 1 − a2·x² + x⁴ +
// j·(a3·x − a1·x³), and the delay is T0·d arg D / dx. Above x = 1 the same
// from D / x⁴ in v = 1 / x.
double VentedResponse::delayMs(double hz) const
{
    const double t0Ms = 1000 / (2 * pi * f0_);
    const double x = hz / f0_;
    if (x <= 1) {
        const double re = 1 - a2_ * x * x + x * x * x * x;
        const double im = a3_ * x - a1_ * x * x * x;
        const double dRe = -2 * a2_ * x + 4 * x * x * x;
        const double dIm = a3_ - 3 * a1_ * x * x;
        return t0Ms * (re * dIm - im * dRe) / (re * re + im * im);
    }
    const double v = 1 / x;
    const double re = 1 - a2_ * v * v + v * v * v * v;
    const double im = a3_ * v * v * v - a1_ * v;
    const double dRe = -2 * a2_ * v + 4 * v * v * v;
    const double dIm = 3 * a3_ * v * v - a1_;
    return -t0Ms * v * v * (re * dIm - im * dRe) / (re * re + im * im);
}

namespace {

// The frequencies (as y = (f / f0)²) at which |G| turns: the positive roots
// of 4·den(y) − y·den'(y), with den's coefficients d1, d2, d3 (d0 = d4 = 1).
std::vector<double> turningPoints(double a1, double a2, double a3)
{
    const double d1 = a3 * a3 - 2 * a2;
    const double d2 = a2 * a2 + 2 - 2 * a1 * a3;
    const double d3 = a1 * a1 - 2 * a2;
    const Polynomial c{4, 3 * d1, 2 * d2, d3};
    return realRoots(c, 0, rootBound(c));
}

} // namespace

// Between turning points the level is monotone; it rises from nothing at 0
// to 0 dB far above, so the highest stretch that starts at or below −3 dB
// and ends above it holds F3.
double VentedResponse::f3() const
{
    std::vector<double> ends{0};
    for (const double y : turningPoints(a1_, a2_, a3_))
        ends.push_back(f0_ * std::sqrt(y));
    double hi = std::max(ends.back(), f0_);
    while (levelDb(hi) <= halfPowerDb)
        hi *= 2;
    ends.push_back(hi);
    std::size_t i = ends.size() - 1;
    while (i > 1 && !(levelDb(ends[i]) > halfPowerDb && levelDb(ends[i - 1]) <= halfPowerDb))
        --i;
    return bisect(ends[i - 1], ends[i], [&](double f) { return levelDb(f) <= halfPowerDb; });
}

std::optional<Peak> VentedResponse::peak() const
{
    std::optional<Peak> best;
    for (const double y : turningPoints(a1_, a2_, a3_)) {
        const double hz = f0_ * std::sqrt(y);
        const double db = levelDb(hz);
        if (db >= peakThresholdDb && (!best || db > best->db))
            best = Peak{hz, db};
    }
    return best;
}

std::vector<double> logSpaced(double from, double to, int count)
{
    std::vector<double> hz;
    hz.reserve(static_cast<std::size_t>(count));
    const double ratio = std::log(to / from);
    for (int i = 0; i < count - 1; ++i)
        hz.push_back(from * std::exp(ratio * i / (count - 1)));
    hz.push_back(to);
    return hz;
}

std::vector<ResponsePoint> responseTable(const VentedResponse& response,
                                         const std::vector<double>& frequencies)
{
    std::vector<ResponsePoint> table;
    table.reserve(frequencies.size());
    for (const double hz : frequencies)
        table.push_back({hz, response.levelDb(hz), response.delayMs(hz)});
    return table;
}

std::string numberText(double value)
{
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << std::setprecision(6) << value;
    return text.str();
}

std::string fixedText(double value, int decimals)
{
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << std::fixed << std::setprecision(decimals) << value;
    return text.str();
}

} // namespace cli
