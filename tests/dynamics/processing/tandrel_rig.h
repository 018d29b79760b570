#pragma once
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "dynamics/effect/tandrel_audio_effect_plugin.h"
#include "dynamics/effect/tandrel_effect_interface.h"
#include "dynamics/parameters/tandrel_parameter_slot.h"
#include "plugin/kiv_kestrune_audio_effect_plugin.h"

// TandrelMini as a host meets it: the house plug-in object made with the product's interface
// function, stereo, processing through ProcessAudio in host blocks.
struct TandrelRig {
    explicit TandrelRig(int32_t sampleRate = 44100, int32_t block = 512) : block(block) {
        plugin.Initialize("TandrelMini", "Kestrune", &TandrelEffectInterface);
        plugin.SetHostChannels(2, 2);
        plugin.SetConnectedChannels(2, 2);
        plugin.SetSampleRate(sampleRate);
        plugin.SetMaxBlockSize(block);
        plugin.InitProcessing();
        for (auto& channel : in) channel.assign(block, 0.0f);
        for (auto& channel : out) channel.assign(block, 0.0f);
    }

    TandrelAudioEffectPlugin& effect() { return *static_cast<TandrelAudioEffectPlugin*>(plugin.GetEffect()); }
    TandrelParameterTable& table() { return effect().Parameters(); }

    // Writes a record's real value and applies it as a change made off the audio thread is
    // applied: prepared at once, played from the next block.
    void Set(int32_t slot, double value) {
        auto& values = table().Record(slot).values.asFloat;
        values.value = values.target = value;
        effect().Reprepare();
    }
    void SetItem(int32_t slot, int32_t index) {
        auto& values = table().Record(slot).values.asEnumeration;
        values.index = values.targetIndex = index;
        effect().Reprepare();
    }
    static double RootAmplitude(double decibels) { return std::sqrt(std::pow(10.0, decibels / 20.0)); }
    // Processor 1 alone, knee 0.
    void Compressor(double thresholdDecibels, double ratioCode) {
        Set(kTandrelThreshold1, RootAmplitude(thresholdDecibels));
        Set(kTandrelRatio1, ratioCode);
        Set(kTandrelKneeSize1, 0.0);
    }

    // Runs `frames` samples of `signal(i)` on both channels; returns the left output.
    std::vector<float> Run(int32_t frames, const std::function<float(int32_t)>& signal) {
        std::vector<float> result;
        result.reserve(frames);
        for (int32_t start = 0; start < frames; start += block) {
            const int32_t n = std::min(block, frames - start);
            for (int32_t i = 0; i < n; ++i) in[0][i] = in[1][i] = signal(start + i);
            float* inputs[2] = {in[0].data(), in[1].data()};
            float* outputs[2] = {out[0].data(), out[1].data()};
            plugin.ProcessAudio(inputs, outputs, n, true);
            result.insert(result.end(), out[0].begin(), out[0].begin() + n);
        }
        return result;
    }
    std::vector<float> RunConstant(int32_t frames, float value) {
        return Run(frames, [value](int32_t) { return value; });
    }

    KivKestruneAudioEffectPlugin plugin;
    int32_t block;
    std::vector<float> in[2];
    std::vector<float> out[2];
};

inline double Decibels(double amplitude) { return 20.0 * std::log10(std::fabs(amplitude)); }
