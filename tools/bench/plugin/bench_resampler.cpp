// Cost of oversampling one channel: Upsample plus Downsample of a 512-sample block, reported
// per base-rate sample ("ns_per_sample"), for every factor and quality.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "plugin/oversampling/kiv_resampler.h"

namespace {

constexpr int kBlock = 512;

void RoundTrip(benchmark::State& state, KivHalfbandKernels::Path path) {
    const int factor = static_cast<int>(state.range(0));
    KivResampler resampler;
    resampler.Prepare(kBlock);
    resampler.SetFactor(factor);
    resampler.SetQuality(state.range(1) != 0);
    resampler.SetSlope(state.range(2) != 0 ? KivResamplerSlope::kGentle : KivResamplerSlope::kSteep);
    resampler.SetKernelPath(path);
    std::mt19937 generator(1);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    std::vector<float> input(kBlock), output(kBlock);
    for (float& sample : input) sample = uniform(generator);
    for (int i = 0; i < kBlock * factor; ++i) resampler.GetOutputBuffer()[i] = uniform(generator);
    for (auto _ : state) {
        resampler.Upsample(input.data(), kBlock);
        resampler.Downsample(output.data(), kBlock, false);
        benchmark::DoNotOptimize(output.data());
        benchmark::ClobberMemory();
    }
    const double samples = static_cast<double>(state.iterations()) * kBlock;
    state.counters["ns_per_sample"] =
        benchmark::Counter(samples * 1e-9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetLabel("latency " + std::to_string(resampler.GetLatency()));
}

void BM_ResamplerRoundTrip(benchmark::State& state) { RoundTrip(state, KivHalfbandKernels::FastestPath()); }
void BM_ResamplerRoundTripScalar(benchmark::State& state) { RoundTrip(state, KivHalfbandKernels::Path::kScalar); }

}  // namespace

// Arguments: factor, high quality (1) or low (0), steep (0) or gentle (1) slope.
BENCHMARK(BM_ResamplerRoundTrip)
    ->ArgNames({"factor", "high", "gentle"})
    ->ArgsProduct({{2, 4, 8}, {1, 0}, {0}})
    ->Args({2, 1, 1})
    ->Args({8, 1, 1});
BENCHMARK(BM_ResamplerRoundTripScalar)->ArgNames({"factor", "high", "gentle"})->ArgsProduct({{2, 8}, {1}, {0}});
