// Per-sample gain of the transfer shape in each shape mode, for a block of 512 samples of a
// slowly moving envelope (the usual case: the search stays on its segment) and of one that
// jumps between loud and quiet every sample (the worst case for the remembered position).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "dynamics/gain/kiv_dynamics_gain_stage.h"
#include "dynamics/gain/kiv_transfer_shape_builder.h"
#include "envelope/kiv_envelope.h"

namespace {

constexpr int32_t kBlock = 512;

std::vector<double> Envelope(bool jumping) {
    std::vector<double> envelope(kBlock);
    for (int32_t i = 0; i < kBlock; ++i) {
        double decibels = jumping ? (i % 2 ? -3.0 : -50.0) : -30.0 + 25.0 * std::sin(i * 0.01);
        envelope[i] = std::pow(10.0, decibels / 20.0);
    }
    return envelope;
}

// Two compressors and a gate: the busiest automatic shape.
void Prepare(KivDynamicsGainStage& stage, KivShapeMode mode, double knee) {
    KivDynamicsProcessorDescription processors[] = {{0.1, 4.0, knee, 96.0, 1}, {0.5, 10.0, knee, 96.0, 1}};
    KivDynamicsGateDescription gate{0.003, knee, 12.0, 0.0};
    KivEnvelope shape;
    KivEnvelope meterShape;
    BuildTransferShape(processors, 2, &gate, shape, 0.0, true);
    stage.Apply({0.8, 1.0, 1.0, mode}, shape, meterShape);
}

void BM_Gain(benchmark::State& state) {
    KivDynamicsGainStage stage;
    Prepare(stage, static_cast<KivShapeMode>(state.range(0)), state.range(2) ? 0.25 : 0.0);
    std::vector<double> envelope = Envelope(state.range(1) != 0);
    std::vector<double> gains(kBlock);
    for (auto _ : state) {
        stage.ComputeGains(envelope.data(), gains.data(), kBlock);
        benchmark::DoNotOptimize(gains.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
}
// Arguments: shape mode (0 linear, 1 squared, 2 logarithmic), jumping envelope, knee.
BENCHMARK(BM_Gain)->ArgsProduct({{0, 1, 2}, {0, 1}, {0, 1}})->ArgNames({"mode", "jumping", "knee"});

void BM_MeterGain(benchmark::State& state) {
    KivDynamicsGainStage stage;
    Prepare(stage, kKivShapeSquared, 0.25);
    double level = 0.3;
    for (auto _ : state) benchmark::DoNotOptimize(stage.MeterGain(level));
}
BENCHMARK(BM_MeterGain);

}  // namespace
