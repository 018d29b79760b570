// Cost of evaluating a compiled envelope: per sample through Value (the way the gain
// computer and the detector use it) and per block through Render (plain and packed items).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "envelope/kiv_envelope.h"
#include "envelope/kiv_envelope_computer.h"

namespace {

// A typical drawn transfer shape: five points, fourth-order segments, rounded corners.
KivEnvelope FivePointShape(int32_t segmentType) {
    KivEnvelope envelope;
    const double xs[] = {0.0, 0.1, 0.35, 0.7, 1.0};
    const double ys[] = {0.0, 0.12, 0.3, 0.42, 0.5};
    for (int i = 0; i < 5; ++i) {
        KivEnvelopePoint& point = envelope.AddPoint(xs[i], ys[i]);
        point.segmentType = segmentType;
        point.curvature = 0.3;
        point.leftSmoothness = point.rightSmoothness = 0.4;
    }
    return envelope;
}

constexpr int32_t kBlock = 512;

// A detector-like input: slowly moving, back and forth over the whole shape.
std::vector<double> SlowInput() {
    std::vector<double> xs(kBlock);
    for (int32_t i = 0; i < kBlock; ++i) xs[i] = 0.5 + 0.49 * ((i % 256) < 128 ? (i % 128) : 128 - (i % 128)) / 128.0 - 0.245;
    return xs;
}

std::vector<double> RandomInput() {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> anywhere(0.0, 1.0);
    std::vector<double> xs(kBlock);
    for (double& x : xs) x = anywhere(random);
    return xs;
}

void ValuePerSample(benchmark::State& state, const std::vector<double>& xs, int32_t segmentType) {
    KivEnvelopeComputer computer;
    computer.Compile(FivePointShape(segmentType));
    for (auto _ : state) {
        double sum = 0.0;
        for (double x : xs) sum += computer.Value(x);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
}

void BM_ValueSlowInput(benchmark::State& state) { ValuePerSample(state, SlowInput(), static_cast<int32_t>(state.range(0))); }
void BM_ValueRandomInput(benchmark::State& state) { ValuePerSample(state, RandomInput(), static_cast<int32_t>(state.range(0))); }

void BM_RenderBlock(benchmark::State& state) {
    KivEnvelopeComputer computer;
    computer.SetVectorItems(state.range(1) != 0);
    computer.Compile(FivePointShape(static_cast<int32_t>(state.range(0))));
    std::vector<double> out(kBlock);
    for (auto _ : state) {
        computer.Render(out.data(), 0.0, 1.0 / kBlock, kBlock);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
}

void BM_Compile(benchmark::State& state) {
    const KivEnvelope shape = FivePointShape(1);
    KivEnvelopeComputer computer;
    for (auto _ : state) computer.Compile(shape);
}

}  // namespace

// Segment types: 0 quadratic, 1 fourth order, 2 exponential, 3 Bézier.
BENCHMARK(BM_ValueSlowInput)->Arg(0)->Arg(1)->Arg(2)->Arg(3);
BENCHMARK(BM_ValueRandomInput)->Arg(1);
// Second argument: packed items off / on.
BENCHMARK(BM_RenderBlock)->Args({1, 0})->Args({1, 1})->Args({3, 0})->Args({3, 1});
BENCHMARK(BM_Compile);
