#include <algorithm>
#include <cmath>
#include <utility>

#include "plugin/kiv_audio_plugin.h"

namespace {

// mid = (L + R) / 2, side = (L - R) / 2, into separate buffers: the host's inputs stay intact.
void ToMidSide(const float* left, const float* right, float* mid, float* side, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        const float l = left[i];
        const float r = right[i];
        mid[i] = (l + r) * 0.5f;
        side[i] = (l - r) * 0.5f;
    }
}

// L = M + S, R = M - S, in place.
void FromMidSide(float* mid, float* side, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        const float m = mid[i];
        const float s = side[i];
        mid[i] = m + s;
        side[i] = m - s;
    }
}

void Negate(const float* from, float* to, int32_t count) {
    for (int32_t i = 0; i < count; ++i) to[i] = -from[i];
}

void SwapPair(float** pointers, int32_t first) { std::swap(pointers[first], pointers[first + 1]); }

}  // namespace

int32_t KivAudioPlugin::ChannelModePairs() const noexcept {
    const int32_t groups = std::min(hostInputs_, hostOutputs_) / std::max(channelsPerGroup_, 1);
    int32_t pairs = 0;
    while (pairs < groups && ChannelIndex(pairs, 1) < kMaxHostChannels) ++pairs;
    return pairs;
}

bool KivAudioPlugin::ChannelModeApplies(float** inputs, float** outputs) const {
    if (channelMode_ == kKivChannelModeLeftRight || channelMode_ == kKivChannelModeSurround) return false;
    if (hostInputs_ < 2 || hostOutputs_ < 2) return false;
    return inputs[0] != inputs[1] && outputs[0] != outputs[1];
}

void KivAudioPlugin::ProcessWithChannelModes(float** inputs, float** outputs, int32_t count) {
    // Swaps and conversions work on copies: the caller's arrays stay as they were.
    std::copy(inputs, inputs + kMaxHostChannels, modeInputs_);
    std::copy(outputs, outputs + kMaxHostChannels, modeOutputs_);
    const bool modeApplies = ChannelModeApplies(inputs, outputs);
    if (modeApplies) PrepareChannelMode(modeInputs_, modeOutputs_, count);
    ProcessInSubBlocks(modeInputs_, modeOutputs_, count);
    if (modeApplies) CompleteChannelMode(modeInputs_, modeOutputs_, count);
}

void KivAudioPlugin::PrepareChannelMode(float** inputs, float** outputs, int32_t count) {
    const int32_t pairs = ChannelModePairs();
    for (int32_t pair = 0; pair < pairs; ++pair) {
        const int32_t left = ChannelIndex(pair, 0);
        ConvertModeInputs(inputs, left, count);
        if (channelMode_ == kKivChannelModeRight || channelMode_ == kKivChannelModeSide) SwapPair(outputs, left);
    }
    // A side-chain keys the channels beside it, so it reaches the detector in their form.
    for (int32_t group = pairs; group < SideChainModePairs(); ++group) ConvertModeInputs(inputs, ChannelIndex(group, 0), count);
}

int32_t KivAudioPlugin::SideChainModePairs() const noexcept {
    int32_t pairs = ChannelModePairs();
    while (IsHostChannel(ChannelIndex(pairs, 1), hostInputs_)) ++pairs;
    return pairs;
}

void KivAudioPlugin::ConvertModeInputs(float** inputs, int32_t left, int32_t count) {
    const int32_t right = left + 1;
    switch (channelMode_) {
        case kKivChannelModeRight:
            SwapPair(inputs, left);
            break;
        case kKivChannelModeMid:
        case kKivChannelModeSide:
        case kKivChannelModeMidSide: {
            conversionBuffers_[left].Reserve(count);
            conversionBuffers_[right].Reserve(count);
            float* mid = conversionBuffers_[left].Data();
            float* side = conversionBuffers_[right].Data();
            ToMidSide(inputs[left], inputs[right], mid, side, count);
            inputs[left] = mid;
            inputs[right] = side;
            if (channelMode_ == kKivChannelModeSide) SwapPair(inputs, left);
            break;
        }
        case kKivChannelModeLeftRightNegated:
            conversionBuffers_[right].Reserve(count);
            Negate(inputs[right], conversionBuffers_[right].Data(), count);
            inputs[right] = conversionBuffers_[right].Data();
            break;
        default:
            break;
    }
}

void KivAudioPlugin::CompleteChannelMode(float** inputs, float** outputs, int32_t count) {
    const int32_t effectLatency = GetEffectLatency();
    const bool delaysUnprocessed = EffectDelaysUnprocessedChannels();
    for (int32_t pair = 0; pair < ChannelModePairs(); ++pair) {
        const int32_t first = ChannelIndex(pair, 0);
        const int32_t second = first + 1;
        // After the swaps of modes 2 and 4 the unprocessed channel sits second either way.
        const auto passUnprocessed = [&](int32_t hostChannel) {
            // An effect that delays it itself has written it already, in step with the
            // processed channel and cleaned of broken samples on the way in; a line here
            // follows the latency reported, which changes when a setup is prepared, not when
            // the effect starts playing it.
            if (!delaysUnprocessed) {
                KivDelayLine& delay = channelModeDelays_[pair];
                delay.SetDelay(effectLatency);
                delay.Process(inputs[second], outputs[second], count);
                // A broken sample (NaN, infinity) plays as silence, as in the processed channel.
                float* passed = outputs[second];
                for (int32_t i = 0; i < count; ++i) passed[i] = std::isfinite(passed[i]) ? passed[i] : 0.0f;
            }
            ProcessUnprocessedChannel(hostChannel, outputs[second], count);
        };
        switch (channelMode_) {
            case kKivChannelModeLeft:
                passUnprocessed(second);
                break;
            case kKivChannelModeRight:
                passUnprocessed(first);
                SwapPair(inputs, first);
                SwapPair(outputs, first);
                break;
            case kKivChannelModeMid:
                passUnprocessed(second);
                FromMidSide(outputs[first], outputs[second], count);
                break;
            case kKivChannelModeSide:
                passUnprocessed(first);
                SwapPair(inputs, first);
                SwapPair(outputs, first);
                FromMidSide(outputs[first], outputs[second], count);
                break;
            case kKivChannelModeMidSide:
                FromMidSide(outputs[first], outputs[second], count);
                break;
            default:
                break;
        }
    }
}

void KivAudioPlugin::ProcessInSubBlocks(float** inputs, float** outputs, int32_t count) {
    int32_t subBlock = std::max(maxSubBlock_, 1);
    bool interpolating = false;
    if (interpolation_.Count() > 0) {
        if (count > interpolationThreshold_) {
            interpolating = interpolation_.Prepare(count);
        } else {
            interpolation_.Settle();
        }
    }
    if (interpolating) {
        OnInterpolatedParametersWritten();
        subBlock = std::min(subBlock, std::max(interpolationThreshold_, 1));
    }
    if (count <= subBlock) {
        Process(inputs, outputs, count);
    } else {
        const int32_t blocks = (count + subBlock - 1) / subBlock;
        const int32_t length = count / blocks;
        int32_t offset = 0;
        for (int32_t block = 0; block < blocks; ++block) {
            if (block > 0) {
                if (transport_.usesHostTime) transport_.Advance(length, GetProcessingSampleRate());
                if (interpolating) {
                    interpolation_.Advance(length);
                    OnInterpolatedParametersWritten();
                }
            }
            const int32_t thisLength = block == blocks - 1 ? count - offset : length;
            for (int32_t channel = 0; channel < kMaxHostChannels; ++channel) {
                subInputs_[channel] = inputs[channel] + offset;
                subOutputs_[channel] = outputs[channel] + offset;
            }
            Process(subInputs_, subOutputs_, thisLength);
            offset += thisLength;
        }
    }
    if (interpolating) {
        interpolation_.Finish();
        OnInterpolatedParametersWritten();
    }
}
