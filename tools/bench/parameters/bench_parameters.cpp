#include <benchmark/benchmark.h>

#include "parameters/kiv_parameter_list.h"
#include "parameters/kiv_parameter_registration.h"
#include "parameters/kiv_parameter_value_functions.h"

namespace {

// An effect of the product's size: 96 float parameters in sections of 8, so that the
// dispatch searches a list as deep as the real one.
struct BenchEffect {
    static constexpr int32_t kCount = 96;
    KivEffectParameter records[kCount];
    KivParameterList list;

    BenchEffect() {
        for (int32_t index = 0; index < kCount; ++index) {
            KivEffectParameter& record = records[index];
            record.flags = KivEffectParameter::kDeclared;
            record.type = kKivParameterTypeFloat;
            record.name = "Threshold";
            record.values.asFloat = {-60.0, 0.0, -20.0, -20.0, -20.0, -20.0, kKivParameterCurveSquare};
            record.format = "{+0.2} dB";
        }
        records[10].valueFunction = KivTimeValueFunction;
        KivRegisterParameters(list, {records, nullptr, kCount, nullptr, 0}, {});
        list.AssignIndices();
    }
};

void SetParameterThroughDispatch(benchmark::State& state) {
    BenchEffect effect;
    int32_t index = 0;
    double value = 0.0;
    for (auto _ : state) {
        effect.list.SetParameter(index, value, true);
        index = (index + 37) % BenchEffect::kCount;
        value = value < 1.0 ? value + 0.01 : 0.0;
    }
}
BENCHMARK(SetParameterThroughDispatch);

void GetParameterThroughDispatch(benchmark::State& state) {
    BenchEffect effect;
    int32_t index = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(effect.list.GetParameter(index));
        index = (index + 37) % BenchEffect::kCount;
    }
}
BENCHMARK(GetParameterThroughDispatch);

void GetParameterValueNameFormatted(benchmark::State& state) {
    BenchEffect effect;
    for (auto _ : state) benchmark::DoNotOptimize(effect.list.GetParameterValueName(3));
}
BENCHMARK(GetParameterValueNameFormatted);

void GetParameterValueNameByValueFunction(benchmark::State& state) {
    BenchEffect effect;
    for (auto _ : state) benchmark::DoNotOptimize(effect.list.GetParameterValueName(10));
}
BENCHMARK(GetParameterValueNameByValueFunction);

}  // namespace
