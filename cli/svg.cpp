#include "svg.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>
#include <vector>

namespace cli {

namespace {

// The page: 200 × 180 mm, 4 units to the millimetre.
constexpr double width = 800;
constexpr double height = 720;
constexpr double left = 96;
constexpr double right = 770;
constexpr int curvePoints = 500;

struct Panel {
    double top;
    double bottom;
    double low; // the values at the bottom and the top
    double high;
    double step; // of the grid

    [[nodiscard]] double y(double value) const
    {
        return bottom - (value - low) / (high - low) * (bottom - top);
    }
};

std::string coordinate(double v)
{
    return fixedText(v, 1);
}

// A label's number with a true minus sign.
std::string label(double value, int decimals)
{
    std::string text = fixedText(value, decimals);
    if (text.starts_with('-'))
        text.replace(0, 1, "\u2212");
    return text;
}

std::string escaped(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out.push_back(c);
        }
    }
    return out;
}

// A step of 1, 2 or 5 times a power of ten that divides `span` into at
// most `divisions` parts.
double niceStep(double span, int divisions)
{
    const double raw = span / divisions;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0}) {
        if (m * magnitude >= raw)
            return m * magnitude;
    }
    return 10 * magnitude;
}

class Drawing {
public:
    explicit Drawing(const ResponsePicture& picture) : from_(picture.from), to_(picture.to) { }

    [[nodiscard]] double x(double hz) const
    {
        return left + std::log(hz / from_) / std::log(to_ / from_) * (right - left);
    }

    void text(double atX, double atY, const std::string& content, const std::string& style = {})
    {
        out_ << "<text x=\"" << coordinate(atX) << "\" y=\"" << coordinate(atY) << '"'
             << (style.empty() ? "" : " ") << style << '>' << escaped(content) << "</text>\n";
    }

    void line(double x1, double y1, double x2, double y2, const std::string& cls)
    {
        out_ << "<line class=\"" << cls << "\" x1=\"" << coordinate(x1) << "\" y1=\""
             << coordinate(y1) << "\" x2=\"" << coordinate(x2) << "\" y2=\"" << coordinate(y2)
             << "\"/>\n";
    }

    void dot(double atX, double atY, const std::string& cls)
    {
        out_ << "<circle class=\"" << cls << "\" cx=\"" << coordinate(atX) << "\" cy=\""
             << coordinate(atY) << "\" r=\"4\"/>\n";
    }

    // The frame, the grids and the value axis's labels of a panel; the
    // frequency labels below it.
    void grid(const Panel& p, int decimals, const std::string& id)
    {
        out_ << "<clipPath id=\"" << id << "\"><rect x=\"" << left << "\" y=\"" << p.top
             << "\" width=\"" << right - left << "\" height=\"" << p.bottom - p.top
             << "\"/></clipPath>\n";
        const double decades = std::log10(to_ / from_);
        for (int k = static_cast<int>(std::floor(std::log10(from_)));
             k <= static_cast<int>(std::ceil(std::log10(to_))); ++k) {
            for (int m = 1; m <= 9; ++m) {
                const double hz = m * std::pow(10.0, k);
                if (hz < from_ * (1 - 1e-9) || hz > to_ * (1 + 1e-9))
                    continue;
                line(x(hz), p.top, x(hz), p.bottom, m == 1 ? "major" : "minor");
                if (m == 1 || m == 2 || m == 5 || decades < 1)
                    text(x(hz), p.bottom + 18, numberText(hz), "class=\"tick\"");
            }
        }
        const int steps = static_cast<int>(std::lround((p.high - p.low) / p.step));
        for (int i = 0; i <= steps; ++i) {
            const double v = p.low + i * p.step;
            line(left, p.y(v), right, p.y(v), std::fabs(v) < p.step / 2 ? "major" : "minor");
            text(left - 8, p.y(v) + 5, label(v, decimals), "class=\"value\"");
        }
        out_ << "<rect class=\"frame\" x=\"" << left << "\" y=\"" << p.top << "\" width=\""
             << right - left << "\" height=\"" << p.bottom - p.top << "\"/>\n";
    }

    void curve(const std::vector<double>& hz, const std::vector<double>& values, const Panel& p,
               const std::string& cls, const std::string& clip)
    {
        out_ << "<polyline class=\"" << cls << "\" clip-path=\"url(#" << clip << ")\" points=\"";
        for (std::size_t i = 0; i < hz.size(); ++i)
            out_ << (i ? " " : "") << coordinate(x(hz[i])) << ',' << coordinate(p.y(values[i]));
        out_ << "\"/>\n";
    }

    // The title of a value axis, turned to read upwards.
    void axisTitle(const Panel& p, const std::string& title)
    {
        const double mid = (p.top + p.bottom) / 2;
        out_ << "<text class=\"axis\" transform=\"translate(30 " << coordinate(mid)
             << ") rotate(-90)\">" << escaped(title) << "</text>\n";
    }

    std::ostringstream& out() { return out_; }

private:
    double from_;
    double to_;
    std::ostringstream out_;
};

} // namespace

std::string responseSvg(const VentedResponse& response, const ResponsePicture& picture)
{
    const std::vector<double> hz = logSpaced(picture.from, picture.to, curvePoints);
    std::vector<double> level, delay;
    for (const double f : hz) {
        level.push_back(response.levelDb(f));
        delay.push_back(response.delayMs(f));
    }

    // Level: 0 dB and the top of the curve in view, the bottom no lower
    // than −60 dB.
    double highDb = 0;
    double lowDb = 0;
    for (const double db : level) {
        highDb = std::max(highDb, db);
        lowDb = std::min(lowDb, db);
    }
    lowDb = std::max(lowDb, -60.0);
    const double dbStep = highDb - lowDb <= 18 ? 3 : highDb - lowDb <= 48 ? 6 : 12;
    const Panel levelPanel{100, 390, std::min(-2 * dbStep, dbStep * std::floor(lowDb / dbStep)),
                           dbStep * std::ceil((highDb + 0.4 * dbStep) / dbStep), dbStep};
    std::size_t longest = 0;
    double lowMs = 0;
    for (std::size_t i = 0; i < delay.size(); ++i) {
        longest = delay[i] > delay[longest] ? i : longest;
        lowMs = std::min(lowMs, delay[i]);
    }
    const double highMs = delay[longest];
    // room above the longest delay for its label
    const double msStep = niceStep(std::max(1.15 * highMs - lowMs, 1e-3), 5);
    const Panel delayPanel{440, 640, msStep * std::floor(lowMs / msStep),
                           msStep * std::ceil(1.15 * highMs / msStep), msStep};

    Drawing d(picture);
    d.out() << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"200mm\" height=\"180mm\""
            << " viewBox=\"0 0 " << width << ' ' << height << "\">\n"
            << "<style>\n"
            << "text { font-family: 'Liberation Sans', Arial, Helvetica, sans-serif;"
               " font-size: 15px; fill: #222; }\n"
            << ".title { font-size: 22px; font-weight: bold; }\n"
            << ".tick { text-anchor: middle; font-size: 13px; }\n"
            << ".value { text-anchor: end; font-size: 13px; }\n"
            << ".axis { text-anchor: middle; font-size: 16px; }\n"
            << ".major { stroke: #999; stroke-width: 1; }\n"
            << ".minor { stroke: #ddd; stroke-width: 1; }\n"
            << ".frame { fill: none; stroke: #444; stroke-width: 1.2; }\n"
            << ".level { fill: none; stroke: #1f4e9a; stroke-width: 2.5; }\n"
            << ".delay { fill: none; stroke: #2e7d32; stroke-width: 2.5; }\n"
            << ".f3 { stroke: #c62828; stroke-width: 1.5; stroke-dasharray: 6 4; }\n"
            << ".half { stroke: #c62828; stroke-width: 1; stroke-dasharray: 2 4; }\n"
            << ".mark { fill: #c62828; }\n"
            << ".mark-level { fill: #1f4e9a; }\n"
            << ".mark-delay { fill: #2e7d32; }\n"
            << ".note { paint-order: stroke; stroke: white; stroke-width: 4px; }\n"
            << "</style>\n"
            << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";

    d.text(left, 34, "Kmitočtová charakteristika basreflexové ozvučnice", "class=\"title\"");
    d.text(left, 60, picture.caption);
    const bool f3Shown = picture.f3 >= picture.from && picture.f3 <= picture.to;
    std::string summary =
        "F3 = " + fixedText(picture.f3, 2) + " Hz" + (f3Shown ? "" : " (mimo graf)");
    if (picture.peak)
        summary += ", převýšení " + fixedText(picture.peak->db, 2) + " dB na "
            + fixedText(picture.peak->hz, 2) + " Hz";
    else
        summary += ", bez převýšení";
    d.text(left, 82, summary);

    d.grid(levelPanel, 0, "level-area");
    d.axisTitle(levelPanel, "Úroveň (dB)");
    d.grid(delayPanel, msStep < 1 ? 1 : 0, "delay-area");
    d.axisTitle(delayPanel, "Skupinové zpoždění (ms)");
    d.text((left + right) / 2, 690, "Kmitočet (Hz)", "class=\"axis\"");

    const double halfDb = -10 * std::log10(2.0);
    d.line(left, levelPanel.y(halfDb), right, levelPanel.y(halfDb), "half");
    d.text(right - 4, levelPanel.y(halfDb) + 16, "\u22123 dB", "class=\"value note\"");
    d.curve(hz, level, levelPanel, "level", "level-area");
    d.curve(hz, delay, delayPanel, "delay", "delay-area");

    if (f3Shown) {
        const double fx = d.x(picture.f3);
        d.line(fx, levelPanel.top, fx, levelPanel.bottom, "f3");
        d.line(fx, delayPanel.top, fx, delayPanel.bottom, "f3");
        d.dot(fx, levelPanel.y(halfDb), "mark");
        // Above F3 the level stays above −3 dB: the bottom right of the
        // line is free, unless the line stands near the right edge.
        const bool labelLeft = fx > right - 130;
        d.text(fx + (labelLeft ? -6 : 6), levelPanel.bottom - 12,
               "F3 = " + fixedText(picture.f3, 2) + " Hz",
               labelLeft ? "class=\"note\" text-anchor=\"end\" fill=\"#c62828\""
                         : "class=\"note\" fill=\"#c62828\"");
    }
    if (picture.peak && picture.peak->hz >= picture.from && picture.peak->hz <= picture.to) {
        const double px = d.x(picture.peak->hz);
        const double py = levelPanel.y(picture.peak->db);
        d.dot(px, py, "mark-level");
        std::string mark = "+";
        mark += fixedText(picture.peak->db, 2) + " dB";
        d.text(px, py - 10, mark, "class=\"note\" text-anchor=\"middle\"");
    }
    d.dot(d.x(hz[longest]), delayPanel.y(highMs), "mark-delay");
    d.text(std::clamp(d.x(hz[longest]), left + 40, right - 40), delayPanel.y(highMs) - 10,
           fixedText(highMs, 2) + " ms", "class=\"note\" text-anchor=\"middle\"");

    d.out() << "</svg>\n";
    return d.out().str();
}

std::string writeWhole(const std::string& path, const std::string& text)
{
    namespace fs = std::filesystem;
    const fs::path target(path);
    fs::path temporary = target;
    temporary += ".tmp" + std::to_string(std::random_device{}());
    std::error_code ec;
    {
        std::ofstream file(temporary, std::ios::binary);
        if (!file)
            return "cannot write " + path;
        file << text;
        file.close();
        if (!file) {
            fs::remove(temporary, ec);
            return "cannot write " + path;
        }
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        const std::string why = ec.message();
        fs::remove(temporary, ec);
        return "cannot write " + path + ": " + why;
    }
    return {};
}

} // namespace cli
