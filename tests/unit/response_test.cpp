// The response of a vented box held to what any correct response of a
// fourth-order high-pass shows, whatever the code that computes it.
#include "tables.h"

#include "cli/cli.h"
#include "cli/response.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <locale>
#include <random>
#include <sstream>

namespace {

const double infinite = std::numeric_limits<double>::infinity();
const double halfPowerDb = -10 * std::log10(2.0);

// The lossless fourth-order Butterworth alignment: |G|² = x⁸ / (1 + x⁸)
// with x = f / Fs.
const cli::VentedBox butterworth{1, std::sqrt(2.0), 1 / std::sqrt(4 + 2 * std::sqrt(2.0)),
                                 infinite};

TEST(VentedResponse, ButterworthIsMaximallyFlatWithF3AtFs)
{
    const cli::VentedResponse r(30, butterworth);
    EXPECT_NEAR(r.f3(), 30, 1e-9);
    EXPECT_NEAR(r.levelDb(60), 10 * std::log10(256.0 / 257), 1e-9);
    EXPECT_NEAR(r.levelDb(15), -10 * std::log10(257.0), 1e-9);
    EXPECT_FALSE(r.peak());
    // the alignment as it is usually rounded
    EXPECT_NEAR(cli::VentedResponse(30, {1, std::sqrt(2.0), 0.3827, 1e12}).f3(), 30, 1e-3);
}

// The example designs' boxes (h, alpha, Qt from their Fb, Vas / Vb and Qts),
// with the usual box losses.
const cli::VentedBox boxes[] = {
    {31.3875 / 30, 50.0 / 40, 0.4, 7},
    {27.3363 / 30, 50.0 / 30, 0.7, 7},
    {6.5839 / 9, 0.1, 0.3, 7},
};

TEST(VentedResponse, FlatFarAboveAndFourthOrderFarBelow)
{
    for (const cli::VentedBox& box : boxes) {
        const cli::VentedResponse r(30, box);
        EXPECT_NEAR(r.levelDb(30e3), 0, 1e-3);
        EXPECT_NEAR(r.levelDb(0.03) - r.levelDb(0.015), 20 * std::log10(16.0), 1e-3);
    }
}

// The phase of a fourth-order high-pass falls by 2π from 0 to infinity: the
// delay's integral over frequency, ∫ τ dω, is 2π, ∫ τ df one.
TEST(VentedResponse, DelayAddsUpToTheWholePhase)
{
    for (const cli::VentedBox& box : boxes) {
        const cli::VentedResponse r(30, box);
        const std::vector<double> hz = cli::logSpaced(3e-3, 3e5, 20001);
        double integral = 0;
        for (std::size_t i = 1; i < hz.size(); ++i)
            integral += (r.delayMs(hz[i]) + r.delayMs(hz[i - 1])) / 2e3 * (hz[i] - hz[i - 1]);
        EXPECT_NEAR(integral, 1, 1e-3);
    }
}

// F3 is the highest −3 dB point, also where a hump at Fb stands above a dip
// below −3 dB (the third box); the peak is the level's maximum.
TEST(VentedResponse, F3IsTheHighestHalfPowerPointAndPeakTheMaximum)
{
    for (const cli::VentedBox& box : boxes) {
        const cli::VentedResponse r(30, box);
        const double f3 = r.f3();
        EXPECT_NEAR(r.levelDb(f3), halfPowerDb, 1e-9);
        for (const double hz : cli::logSpaced(f3 * 1.001, f3 * 1000, 2000))
            ASSERT_GT(r.levelDb(hz), halfPowerDb) << hz;
        const auto peak = r.peak();
        ASSERT_TRUE(peak);
        cli::Peak highest{0, -infinite};
        for (const double hz : cli::logSpaced(0.1, 3e4, 2000))
            highest = std::max(highest, cli::Peak{hz, r.levelDb(hz)},
                               [](cli::Peak a, cli::Peak b) { return a.db < b.db; });
        EXPECT_NEAR(peak->db, highest.db, 1e-3);
        EXPECT_NEAR(peak->hz / highest.hz, 1, 0.01);
    }
    const cli::VentedResponse shelf(30, boxes[2]); // the hump lies below F3
    EXPECT_LT(shelf.peak()->hz, shelf.f3());
}

// The example design's response as a picture in `file`: the exit status.
int drawTo(const std::string& file)
{
    std::vector<std::string> args{"response"};
    args.insert(args.end(), tables::designs[0].in.begin(), tables::designs[0].in.end());
    args.insert(args.end(), {"--svg", file});
    std::istringstream in;
    std::ostringstream out, err;
    return cli::run(args, in, out, err);
}

// The x of every element that starts with `start`, up to its number.
std::vector<double> positions(const std::string& svg, const std::string& start)
{
    std::vector<double> xs;
    for (auto at = svg.find(start); at != std::string::npos; at = svg.find(start, at + 1)) {
        std::istringstream number(svg.substr(at + start.size(), 12));
        number.imbue(std::locale::classic());
        xs.emplace_back();
        number >> xs.back();
    }
    return xs;
}

TEST(VentedResponse, SvgIsWrittenWholeUnderItsName)
{
    const auto dir = std::filesystem::temp_directory_path()
        / ("ventbox-response-test-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directory(dir);
    const std::string file = (dir / "box.svg").string();
    EXPECT_EQ(drawTo(file), cli::exitOk);
    std::ostringstream read;
    {
        // closed again before the folder goes: Windows keeps an open file
        std::ifstream in(file, std::ios::binary);
        read << in.rdbuf();
    }
    const std::string svg = read.str();
    EXPECT_TRUE(svg.starts_with("<?xml")) << svg.substr(0, 100);
    EXPECT_TRUE(svg.ends_with("</svg>\n"));
    for (const char* title : {"Kmitočet (Hz)", "Úroveň (dB)", "Skupinové zpoždění (ms)"})
        EXPECT_NE(svg.find(title), std::string::npos) << title;
    // F3 (from Python, as in the CLI rows) marked on a logarithmic axis: between
    // the lines of 10 and 100 Hz as log10(F3 / 10) says
    EXPECT_NE(svg.find("F3 = 32.14 Hz"), std::string::npos);
    const auto decades = positions(svg, "<line class=\"major\" x1=\"");
    const auto f3 = positions(svg, "<line class=\"f3\" x1=\"");
    ASSERT_GE(decades.size(), 2U);
    ASSERT_FALSE(f3.empty());
    EXPECT_NEAR((f3[0] - decades[0]) / (decades[1] - decades[0]), std::log10(3.2141), 1e-3);

    // Where it cannot be written (over a folder), it leaves nothing behind.
    std::filesystem::create_directory(dir / "folder");
    EXPECT_EQ(drawTo((dir / "folder").string()), cli::exitIoError);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);
    std::filesystem::remove_all(dir);
}

} // namespace
