// Google Benchmark: the calculation core's cost per keystroke.

#include "calc/design.h"
#include "calc/numtext.h"
#include "calc/portarea.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string_view>

namespace {

void recalculate(benchmark::State& state)
{
    calc::DesignInput input;
    input.texts = {"30", "0.4", "50", "6", "0", "50", "40"};
    for (auto _ : state) {
        benchmark::DoNotOptimize(input);
        calc::DesignResult result = calc::recalculate(input);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(recalculate);

void textRoundTrip(benchmark::State& state)
{
    for (auto _ : state) {
        std::string_view text = "31.3875";
        benchmark::DoNotOptimize(text);
        const calc::Real48 value = calc::textToReal(text);
        std::string back = calc::realToText(value, 5, 2);
        benchmark::DoNotOptimize(back);
    }
}
BENCHMARK(textRoundTrip);

void portArea(benchmark::State& state)
{
    const std::array<std::string_view, 1> radius{"2.5"};
    for (auto _ : state) {
        calc::AreaResult result = calc::portArea(calc::PortShape::Circle, radius, "1");
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(portArea);

} // namespace

BENCHMARK_MAIN();
