// Google Benchmark: the calculation core's cost per keystroke.

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
    const calc::DesignTexts texts{"30", "0.4", "50", "6", "0", "50", "40"};
    for (auto _ : state) {
        benchmark::DoNotOptimize(texts);
        calc::DesignResult result = calc::recalculate(texts);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(recalculate);

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
BENCHMARK(textRoundTrip);

void portArea(benchmark::State& state)
{
    const std::array<std::string, 1> radius{"2.5"};
    for (auto _ : state) {
        calc::AreaResult result = calc::portArea(calc::PortShape::Circle, radius, "1");
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(portArea);

} // namespace

BENCHMARK_MAIN();
