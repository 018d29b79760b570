#include <benchmark/benchmark.h>

#include "base/kiv_format.h"
#include "base/kiv_number.h"

namespace {

// A meter or knob display refreshes many texts per frame: compile, supply, take the result.
void BM_FormatDecibels(benchmark::State& state) {
    double decibels = -12.345;
    for (auto _ : state) {
        KivString text = KivFormat("{+0.2} dB").Argument(decibels).Result();
        benchmark::DoNotOptimize(text);
        decibels += 0.001;
    }
}
BENCHMARK(BM_FormatDecibels);

void BM_FormatThreeIntegers(benchmark::State& state) {
    for (auto _ : state) {
        KivString text = KivFormat("{0:04}-{1:02}-{2:02}").Argument(2012).Argument(5).Argument(9).Result();
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_FormatThreeIntegers);

void BM_WriteInteger(benchmark::State& state) {
    char buffer[KivNumber::kIntegerBufferSize];
    int64_t value = 1234567;
    for (auto _ : state) {
        benchmark::DoNotOptimize(KivNumber::WriteInteger(buffer, value, 10, 8, '0'));
        benchmark::DoNotOptimize(buffer);
        ++value;
    }
}
BENCHMARK(BM_WriteInteger);

void BM_IntegerToText(benchmark::State& state) {
    int64_t value = 1234567;
    for (auto _ : state) {
        KivString text = KivNumber::IntegerToText(value++, 16);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_IntegerToText);

void BM_TextToDouble(benchmark::State& state) {
    KivString typed("  -12.345 dB");
    for (auto _ : state) benchmark::DoNotOptimize(KivNumber::TextToDouble(typed));
}
BENCHMARK(BM_TextToDouble);

}  // namespace
