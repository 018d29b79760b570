#include <algorithm>
#include <cstring>

#include "base/kiv_boundary.h"
#include "platform/kiv_float_control.h"
#include "plugin/kiv_audio_plugin.h"
#include "threads/kiv_synchronizer_guard.h"
#include "threads/kiv_thread_role.h"

namespace {

// 1e-15 as a float (bit pattern 0x26901D7D): far below hearing, far above the denormal range.
constexpr float kDenormalGuard = 1e-15f;

void CopySamples(const float* from, float* to, int32_t count) {
    if (from != to) std::memmove(to, from, sizeof(float) * static_cast<size_t>(count));
}

void ZeroSamples(float* samples, int32_t count) {
    std::memset(samples, 0, sizeof(float) * static_cast<size_t>(count));
}

int32_t UsedChannels(int32_t hostChannels) {
    return std::clamp(hostChannels, 0, KivAudioPlugin::kMaxHostChannels);
}

}  // namespace

void KivAudioPlugin::ProcessAudio(float** inputs, float** outputs, int32_t count, bool replacing) noexcept {
    KivThreadRole::AudioScope audioThread;
    KivGuard("KivAudioPlugin::ProcessAudio", [&] {
        if (!outputs || count <= 0) return;
        if (IsSuspended()) {
            WriteSilence(outputs, count);
            return;
        }
        KivPlatform::FlushDenormalsScope flushDenormals;
        KivSynchronizerGuard lock(processingMutex_);
        ProcessAudioLocked(inputs, outputs, count, replacing);
    });
}

void KivAudioPlugin::WriteSilence(float** outputs, int32_t count) const {
    for (int32_t channel = 0; channel < UsedChannels(hostOutputs_); ++channel) {
        if (outputs[channel]) ZeroSamples(outputs[channel], count);
    }
}

void KivAudioPlugin::ProcessAudioLocked(float** inputs, float** outputs, int32_t count, bool replacing) {
    GroupLayout layout{GetInputChannelsPerGroup(), GetOutputChannelsPerGroup(), inputs ? GetInputGroups() : 0,
                       GetOutputGroups()};
    if (!outputs[0]) return;
    if (layout.inputGroups > 0) FixAudioBuffers(inputs, connectedInputs_, layout.inputGroups, true, count);
    FixAudioBuffers(outputs, connectedOutputs_, layout.outputGroups, false, count);
    if (!hasSSE2_ && layout.inputGroups > 0) AddDenormalGuard(inputs, layout, count);
    PreProcessing(count);
    if (IsBypassed()) {
        ProcessBypassed(inputs, outputs, layout, count);
        return;
    }
    channelMode_ = pendingChannelMode_.load();
    previousLatency_ = latency_;
    latency_ = GetLatency();
    if (GetOversampling() < 2 || layout.inputGroups == 0) {
        ProcessAtHostRate(inputs, outputs, layout, count, replacing);
    } else {
        ProcessOversampled(inputs, outputs, layout, count, replacing);
    }
    PostProcessing(count);
}

void KivAudioPlugin::FixAudioBuffers(float** buffers, int32_t connected, int32_t groups, bool isInput, int32_t count) {
    if (connected == 0) return;
    const int32_t perGroup = channelsPerGroup_;
    const int32_t available = UsedChannels(isInput ? hostInputs_ : hostOutputs_);
    const bool fillEveryGap = connected < 1 || connected >= perGroup;
    if (!isInput) scratch_.Reserve(count);
    for (int32_t group = 0; group < groups; ++group) {
        for (int32_t channel = 1; channel < perGroup; ++channel) {
            const int32_t index = ChannelIndex(group, channel);
            if (index >= available) break;
            if (fillEveryGap || channel < connected) {
                if (!buffers[index]) buffers[index] = buffers[index - 1];
            } else if (isInput) {
                // The last connected input is repeated: a mono input feeds both sides.
                buffers[index] = buffers[ChannelIndex(group, connected - 1)];
            } else {
                buffers[index] = scratch_.Data();
            }
        }
    }
}

void KivAudioPlugin::AddDenormalGuard(float** inputs, const GroupLayout& layout, int32_t count) const {
    for (int32_t group = 0; group < layout.inputGroups; ++group) {
        for (int32_t channel = 0; channel < layout.inputChannels; ++channel) {
            float* samples = inputs[ChannelIndex(group, channel)];
            if (!samples) continue;
            for (int32_t i = 0; i < count; ++i) samples[i] += kDenormalGuard;
        }
    }
}

void KivAudioPlugin::ProcessBypassed(float** inputs, float** outputs, const GroupLayout& layout, int32_t count) {
    const int32_t paired = std::min(layout.inputGroups, layout.outputGroups);
    const int32_t latency = GetLatency();
    for (int32_t group = 0; group < layout.outputGroups; ++group) {
        for (int32_t channel = 0; channel < layout.outputChannels; ++channel) {
            const int32_t index = ChannelIndex(group, channel);
            float* output = index < UsedChannels(hostOutputs_) ? outputs[index] : nullptr;
            if (!output) continue;
            const float* input = group < paired && index < UsedChannels(hostInputs_) ? inputs[index] : nullptr;
            if (!input) {
                ZeroSamples(output, count);
            } else if (latency < 1) {
                CopySamples(input, output, count);
            } else {
                // Delayed like the processed signal, so that switching bypass keeps the timing.
                bypassDelays_[index].SetDelay(latency);
                bypassDelays_[index].Process(input, output, count);
            }
        }
    }
}

float* KivAudioPlugin::GrowInternal(int32_t channel, int32_t count) {
    internalBuffers_[channel].Reserve(count);
    return internalBuffers_[channel].Data();
}

void KivAudioPlugin::PointAtHostBuffers(float** inputs, float** outputs, int32_t count) {
    silence_.Reserve(count);
    scratch_.Reserve(count);
    const int32_t inputChannels = inputs ? UsedChannels(hostInputs_) : 0;
    const int32_t outputChannels = UsedChannels(hostOutputs_);
    for (int32_t channel = 0; channel < kMaxHostChannels; ++channel) {
        float* input = channel < inputChannels ? inputs[channel] : nullptr;
        float* output = channel < outputChannels ? outputs[channel] : nullptr;
        inputs_[channel] = input ? input : silence_.Data();
        outputs_[channel] = output ? output : scratch_.Data();
    }
}

void KivAudioPlugin::ProcessAtHostRate(float** inputs, float** outputs, const GroupLayout& layout, int32_t count,
                                       bool replacing) {
    PointAtHostBuffers(layout.inputGroups > 0 ? inputs : nullptr, outputs, count);
    const int32_t inputChannels = layout.inputGroups > 0 ? UsedChannels(hostInputs_) : 0;
    const int32_t outputChannels = UsedChannels(hostOutputs_);
    if (!replacing && !accumulatesInPlace_) {
        for (int32_t channel = 0; channel < outputChannels; ++channel) {
            outputs_[channel] = GrowInternal(channel, count);
            if (clearOutputs_) ZeroSamples(outputs_[channel], count);
        }
        ProcessWithChannelModes(inputs_, outputs_, count);
        for (int32_t channel = 0; channel < outputChannels; ++channel) {
            float* output = outputs[channel];
            const float* processed = outputs_[channel];
            if (!output) continue;
            for (int32_t i = 0; i < count; ++i) output[i] += processed[i];
        }
        return;
    }
    if (replacing) {
        const bool preserve = preserveInputs_ || latency_ != 0;
        if (preserve && inputChannels > 0 && inputs_[0] == outputs_[0]) {
            for (int32_t channel = 0; channel < inputChannels; ++channel) {
                float* copy = GrowInternal(channel, count);
                CopySamples(inputs_[channel], copy, count);
                inputs_[channel] = copy;
            }
        }
        if (clearOutputs_) {
            for (int32_t channel = 0; channel < outputChannels; ++channel) ZeroSamples(outputs_[channel], count);
        }
    }
    ProcessWithChannelModes(inputs_, outputs_, count);
}

void KivAudioPlugin::ProcessOversampled(float** inputs, float** outputs, const GroupLayout&, int32_t count,
                                        bool replacing) {
    PointAtHostBuffers(inputs, outputs, count);
    const int32_t factor = GetOversampling();
    const int32_t fastCount = factor * count;
    const int32_t inputChannels = UsedChannels(hostInputs_);
    const int32_t outputChannels = UsedChannels(hostOutputs_);
    const int32_t channels = std::max(inputChannels, outputChannels);
    silence_.Reserve(fastCount);
    scratch_.Reserve(fastCount);
    for (int32_t channel = 0; channel < kMaxHostChannels; ++channel) {
        if (channel >= channels) {
            fastInputs_[channel] = silence_.Data();
            fastOutputs_[channel] = scratch_.Data();
            continue;
        }
        KivResampler& resampler = resamplers_.Ready(channel, count);
        if (channel < inputChannels) {
            resampler.Upsample(inputs_[channel], count);
            fastInputs_[channel] = resampler.GetInputBuffer();
        } else {
            fastInputs_[channel] = silence_.Data();
        }
        fastOutputs_[channel] = resampler.GetOutputBuffer();
        if (clearOutputs_) ZeroSamples(fastOutputs_[channel], fastCount);
    }
    ProcessWithChannelModes(fastInputs_, fastOutputs_, fastCount);
    for (int32_t channel = 0; channel < outputChannels; ++channel) {
        resamplers_.Ready(channel, count).Downsample(outputs_[channel], count, !replacing);
    }
    ClipOutputs(outputs_, count);
}

void KivAudioPlugin::ClipOutputs(float** outputs, int32_t count) {
    const double level = GetOutputClipLevel();
    if (level < 0) return;
    const auto limit = static_cast<float>(level);
    for (int32_t channel = 0; channel < UsedChannels(hostOutputs_); ++channel) {
        float* samples = outputs[channel];
        for (int32_t i = 0; i < count; ++i) samples[i] = std::clamp(samples[i], -limit, limit);
    }
}
