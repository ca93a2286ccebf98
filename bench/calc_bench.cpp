// Google Benchmark: the calculation core's cost per keystroke, once on each
// variant of the extended format: compiled against calc_native and against
// calc_portable, each registering its benchmarks with its name
// ("recalculate/native", "recalculate/portable").

#include "tables.h"

#include "calc/design.h"
#include "calc/numtext.h"
#include "calc/portarea.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <string_view>

namespace {

void recalculate(benchmark::State& state)
{
    const auto& in = tables::designs[0].in;
    const calc::DesignTexts texts{in[0], in[1], in[2], in[3], in[4], in[5], in[6]};
    for (auto _ : state) {
        benchmark::DoNotOptimize(texts);
        calc::DesignResult result = calc::recalculate(texts);
        benchmark::DoNotOptimize(result);
    }
}

void textRoundTrip(benchmark::State& state)
{
    for (auto _ : state) {
        std::string_view text = "31.3875";
        benchmark::DoNotOptimize(text);
        const auto value = calc::textToReal(text);
        std::string back = calc::realToText(*value, 5, 2);
        benchmark::DoNotOptimize(back);
    }
}

void portArea(benchmark::State& state)
{
    const tables::Area& area = tables::areas[1]; // a circle of radius 2.5
    const std::array<std::string, 1> radius{area.dims[0]};
    for (auto _ : state) {
        calc::AreaResult result = calc::portArea(area.shape, radius, area.count);
        benchmark::DoNotOptimize(result);
    }
}

#define VENTBOX_TEXT(x) #x
#define VENTBOX_NAME(x) VENTBOX_TEXT(x)

const bool registered = [] {
    const std::string variant = "/" VENTBOX_NAME(VENTBOX_CALC_VARIANT);
    benchmark::RegisterBenchmark(("recalculate" + variant).c_str(), recalculate);
    benchmark::RegisterBenchmark(("textRoundTrip" + variant).c_str(), textRoundTrip);
    benchmark::RegisterBenchmark(("portArea" + variant).c_str(), portArea);
    return true;
}();

} // namespace
