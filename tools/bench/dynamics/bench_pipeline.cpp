// The whole effect as a host runs it: stereo at 48 kHz in blocks of 512 through ProcessAudio.
// Reported per stereo frame (items = frames).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "dynamics/effect/tandrel_audio_effect_plugin.h"
#include "dynamics/effect/tandrel_effect_interface.h"
#include "dynamics/parameters/tandrel_parameter_slot.h"
#include "plugin/kiv_kestrune_audio_effect_plugin.h"

namespace {

constexpr int32_t kRate = 48000;
constexpr int32_t kBlock = 512;

enum Material { kMusic, kSilence, kDenormal };

struct Effect {
    Effect() {
        plugin.Initialize("TandrelMini", "Kestrune", &TandrelEffectInterface);
        plugin.SetHostChannels(2, 2);
        plugin.SetConnectedChannels(2, 2);
        plugin.SetSampleRate(kRate);
        plugin.SetMaxBlockSize(kBlock);
        plugin.InitProcessing();
    }
    TandrelAudioEffectPlugin& effect() { return *static_cast<TandrelAudioEffectPlugin*>(plugin.GetEffect()); }
    void Set(int32_t slot, double value) {
        auto& values = effect().Parameters().Record(slot).values.asFloat;
        values.value = values.target = value;
    }
    void SetMode(int32_t mode) {
        auto& values = effect().Parameters().Record(kTandrelShapeMode).values.asEnumeration;
        values.index = values.targetIndex = mode;
    }
    KivKestruneAudioEffectPlugin plugin;
};

// Two tones of different pitch and level moving through the compressor's threshold.
std::vector<float> MakeMaterial(Material material, int32_t frames, double pitch, double level) {
    std::vector<float> samples(frames);
    for (int32_t i = 0; i < frames; ++i) {
        const double envelope = 0.5 + 0.5 * std::sin(2.0 * M_PI * i / kRate);
        samples[i] = material == kMusic      ? static_cast<float>(level * envelope * std::sin(pitch * i))
                     : material == kDenormal ? 1e-40f
                                             : 0.0f;
    }
    return samples;
}

// Arguments: shape mode (-1: defaults), look-ahead in ms, material.
void BM_TandrelPipeline(benchmark::State& state) {
    Effect effect;
    const int32_t mode = static_cast<int32_t>(state.range(0));
    if (mode >= 0) effect.SetMode(mode);
    effect.Set(kTandrelLookAhead, static_cast<double>(state.range(1)) * 0.001);
    effect.effect().Reprepare();
    const Material material = static_cast<Material>(state.range(2));
    const int32_t frames = kRate;  // one second, cycled
    std::vector<float> left = MakeMaterial(material, frames, 0.031, 0.9);
    std::vector<float> right = MakeMaterial(material, frames, 0.017, 0.6);
    std::vector<float> outLeft(kBlock), outRight(kBlock);
    int32_t position = 0;
    for (auto _ : state) {
        float* inputs[2] = {left.data() + position, right.data() + position};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        effect.plugin.ProcessAudio(inputs, outputs, kBlock, true);
        benchmark::DoNotOptimize(outLeft.data());
        position += kBlock;
        if (position + kBlock > frames) position = 0;
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
}

}  // namespace

BENCHMARK(BM_TandrelPipeline)
    ->ArgNames({"mode", "lookahead_ms", "material"})
    ->Args({-1, 0, kMusic})
    ->Args({0, 5, kMusic})
    ->Args({1, 5, kMusic})
    ->Args({2, 5, kMusic})
    ->Args({1, 5, kSilence})
    ->Args({1, 5, kDenormal});
