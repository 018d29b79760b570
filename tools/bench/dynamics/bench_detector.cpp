#include <cmath>
#include <vector>

#include <benchmark/benchmark.h>

#include "dynamics/detector/kiv_dynamics_processor_follower.h"

namespace {

constexpr int32_t kBlock = 512;

// ns per stereo frame: the items processed are frames.
void RunDetector(benchmark::State& run, KivDynamicsProcessorFollower::Settings settings, bool trueRms,
                 bool filters, double link) {
    KivDynamicsProcessorFollower follower;
    KivDynamicsProcessorFollower::ChannelState states[2];
    follower.SetTrueRMS(trueRms);
    follower.SetLinkAmount(link);
    follower.Filter().settings.psychoAcoustic = filters;
    follower.Filter().settings.spectralSmoothing = filters;
    follower.ApplySettings(settings);
    for (auto& s : states) {
        follower.ResetChannel(s);
        follower.ConfigureChannel(s);
        s.Reserve(kBlock);
    }
    std::vector<float> left(kBlock), right(kBlock);
    for (int32_t i = 0; i < kBlock; ++i) {
        left[i] = 0.5f * static_cast<float>(std::sin(0.03 * i) * std::sin(0.0007 * i));
        right[i] = 0.4f * static_cast<float>(std::sin(0.05 * i + 1));
    }
    const float* sources[2] = {left.data(), right.data()};
    KivDynamicsProcessorFollower::ChannelState* pointers[2] = {&states[0], &states[1]};
    for (auto _ : run) {
        follower.Detect(pointers, sources, 2, kBlock);
        benchmark::DoNotOptimize(states[0].levels.Data());
    }
    run.SetItemsProcessed(run.iterations() * kBlock);
}

KivDynamicsProcessorFollower::Settings Defaults() {
    KivDynamicsProcessorFollower::Settings s;
    s.sampleRate = 48000.0;
    s.attack = 0.01;
    s.release = 0.1;
    s.rmsLength = 0.0;
    return s;
}

void BM_DetectorDefault(benchmark::State& run) { RunDetector(run, Defaults(), false, false, 1.0); }

void BM_DetectorRmsUnlinked(benchmark::State& run) {
    auto s = Defaults();
    s.rmsLength = 0.001;
    RunDetector(run, s, false, false, 0.5);
}

void BM_DetectorTrueRmsAutomatic(benchmark::State& run) {
    auto s = Defaults();
    s.rmsLength = 0.01;
    s.releaseMode = KivReleaseMode::kAutomatic;
    s.releaseShape = KivAttackReleaseMode::kExtreme;
    RunDetector(run, s, true, false, 1.0);
}

void BM_DetectorAllFilters(benchmark::State& run) {
    auto s = Defaults();
    s.rmsLength = 0.001;
    RunDetector(run, s, false, true, 0.0);
}

}  // namespace

BENCHMARK(BM_DetectorDefault);
BENCHMARK(BM_DetectorRmsUnlinked);
BENCHMARK(BM_DetectorTrueRmsAutomatic);
BENCHMARK(BM_DetectorAllFilters);
