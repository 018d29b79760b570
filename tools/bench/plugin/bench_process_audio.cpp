#include <benchmark/benchmark.h>

#include "tests/plugin/fixtures/stereo_material.h"
#include "tests/plugin/fixtures/unity_gain_effect.h"

// Cost of the processing spine per stereo frame at block 512 with no parameter moving: buffer
// repair, flush-to-zero, the processing mutex, channel-mode handling and the effect adapter,
// around an effect that only multiplies by one. Target: under 1 ns per stereo frame.
namespace {

constexpr int32_t kBlock = 512;

void RunBlocks(benchmark::State& state, UnityGainPlugin& unity) {
    StereoMaterial material(kBlock);
    HostBlock block(2, kBlock);
    block.Load(material, 0);
    for (auto _ : state) {
        unity.plugin.ProcessAudio(block.inputs.data(), block.outputs.data(), kBlock, true);
        benchmark::DoNotOptimize(block.outputData[0].data());
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
    // An inverted rate is seconds per unit; counting frames in billions makes it nanoseconds.
    state.counters["ns_per_frame"] =
        benchmark::Counter(static_cast<double>(state.iterations() * kBlock) * 1e-9,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ProcessAudioPassThrough(benchmark::State& state) {
    UnityGainPlugin unity(0, kBlock);
    unity.plugin.SetChannelMode(static_cast<int32_t>(state.range(0)));
    RunBlocks(state, unity);
}
BENCHMARK(BM_ProcessAudioPassThrough)->Arg(kKivChannelModeLeftRight)->Arg(kKivChannelModeMidSide);

void BM_ProcessAudioBypassed(benchmark::State& state) {
    UnityGainPlugin unity(static_cast<int32_t>(state.range(0)), kBlock);
    unity.plugin.SetBypass(true);
    RunBlocks(state, unity);
}
BENCHMARK(BM_ProcessAudioBypassed)->Arg(0)->Arg(512);

void BM_ProcessAudioOversampled(benchmark::State& state) {
    UnityGainPlugin unity(0, kBlock);
    unity.plugin.SetOversampling(static_cast<int32_t>(state.range(0)));
    unity.plugin.InitProcessing();
    RunBlocks(state, unity);
}
BENCHMARK(BM_ProcessAudioOversampled)->Arg(2)->Arg(8);

}  // namespace
