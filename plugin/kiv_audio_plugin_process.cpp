#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/kiv_boundary.h"
#include "platform/kiv_float_control.h"
#include "plugin/kiv_audio_plugin.h"
#include "plugin/kiv_cross_fade.h"
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

}  // namespace

void KivAudioPlugin::ProcessAudio(float** inputs, float** outputs, int32_t count, bool replacing) noexcept {
    KivThreadRole::AudioScope audioThread;
    KivGuard("KivAudioPlugin::ProcessAudio", [&] {
        if (!outputs || count <= 0) return;
        if (IsSuspended()) {
            WriteSilence(outputs, count, replacing);
            return;
        }
        BeforeBlock();
        KivPlatform::FlushDenormalsScope flushDenormals;
        KivSynchronizerGuard lock(processingMutex_);
        ProcessAudioLocked(inputs, outputs, count, replacing);
    });
}

// An accumulating call adds silence by leaving the host's outputs as they are: zeroing them
// would wipe out what the host mixed there before calling.
void KivAudioPlugin::WriteSilence(float** outputs, int32_t count, bool replacing) const {
    if (!replacing) return;
    for (int32_t channel = 0; channel < kMaxHostChannels; ++channel) {
        if (IsHostChannel(channel, hostOutputs_) && outputs[channel]) ZeroSamples(outputs[channel], count);
    }
}

void KivAudioPlugin::ProcessAudioLocked(float** hostInputs, float** hostOutputs, int32_t count, bool replacing) {
    GroupLayout layout{GetInputChannelsPerGroup(), GetOutputChannelsPerGroup(), hostInputs ? GetInputGroups() : 0,
                       GetOutputGroups()};
    // A host that hands over no output at all asks for nothing; one that leaves out only the
    // left still hears the right, as it would the left with the right left out.
    if (!TakeHostPointers(hostInputs, hostOutputs)) return;
    ReserveBlockBuffers(count);
    float** inputs = hostInputs ? blockInputs_ : nullptr;
    float** outputs = blockOutputs_;
    NotePresentInputGroups(inputs, layout.inputGroups);
    RepairBuffers(inputs, outputs, count);
    SeparateSharedBuffers(inputs, outputs, count, replacing);
    if (!hasSSE2_ && layout.inputGroups > 0) AddDenormalGuard(inputs, layout, count);
    PreProcessing(count);
    previousLatency_ = latency_;
    // The bypass lines (and a channel-mode switch's wait) follow the delay the effect plays in
    // this block, not the one reported: the two differ while a prepared setup waits to be
    // taken over (up to a path switch's 10 ms fade), and a bypass fade between the processed
    // side at one delay and the dry side at another would comb, down to silence for a tone
    // whose half period is the difference. A bypassed output therefore moves to a new delay
    // when the processed one does, up to a path switch's fade and a block after the host was
    // told of it (which the host compensates at its own pace anyway): bypassed and processed
    // stay in step, which is what every fade between them needs.
    latency_ = HostLatency(GetPlayingEffectLatency());
    TakeOverChannelMode();
    const bool hearsDry = TakeDrySignal(inputs, layout, count, replacing, outputs);
    if (GetOversampling() < 2 || layout.inputGroups == 0) {
        ProcessAtHostRate(inputs, outputs, layout, count, replacing);
    } else {
        ProcessOversampled(inputs, outputs, layout, count, replacing);
    }
    PostProcessing(count);
    if (hearsDry) MixBypass(outputs, layout, count, replacing);
    // Every block after a switch is dry from its first sample to its last.
    modeHold_ = std::max(modeHold_ - count, 0);
}

// A new channel mode routes the pair differently (mid and side instead of left and right, one
// channel processed instead of two), and the delay lines of the mode before hold the latency's
// worth of audio in the old routing: switched in the middle of the sound, the output would jump
// by the difference, a click wherever the gain is reduced, and play a latency's worth of the
// old routing through the new one. Every mode plays the same thing at unity gain, though: the
// input delayed by the latency, which the bypass lines carry all the time. So the output fades
// into that, as bypass does, the mode is taken at the first block boundary after the fade, the
// new mode plays unheard until its delay lines hold only its own audio, and the output fades
// back. The effect keeps processing throughout, so its detectors find the new signal's level
// before they are heard again. Oversampled, the new mode's first samples also spread through
// the downsampling filter, up to about twice the resamplers' delay after they entered it: the
// wait covers the resamplers' delay once more.
void KivAudioPlugin::TakeOverChannelMode() noexcept {
    const int32_t pending = pendingChannelMode_.load();
    if (pending == channelMode_) return;
    // Before the first block nothing was heard: the mode is taken at once.
    if (playedSinceInit_) {
        if (bypassPosition_ < bypassFadeLength_) return;
        modeHold_ = latency_ + resamplers_.GetLatency();
    }
    channelMode_ = pending;
    playingChannelMode_.store(pending, std::memory_order_relaxed);
    for (KivDelayLine& delay : channelModeDelays_) delay.JumpTo(GetEffectLatency());
    OnChannelModeTaken(pending);
}

bool KivAudioPlugin::HoldsDry() const noexcept {
    return IsBypassed() || pendingChannelMode_.load() != channelMode_ || modeHold_ > 0;
}

// The scratch and silence buffers hold a block at the processing rate, grown here once per
// block: a pointer into them taken for this block stays valid to its end, however long the
// block and whichever outputs are unconnected.
void KivAudioPlugin::ReserveBlockBuffers(int32_t count) {
    const int32_t fastCount = count * std::max(GetOversampling(), 1);
    scratch_.Reserve(fastCount);
    silence_.Reserve(fastCount);
    for (int32_t channel = 0; channel < kMaxHostChannels; ++channel) {
        if (IsHostChannel(channel, hostInputs_)) inputCopies_[channel].Reserve(count);
        if (!IsHostChannel(channel, hostOutputs_)) continue;
        dryBuffers_[channel].Reserve(count);
        accumulated_[channel].Reserve(count);
        discards_[channel].Reserve(count);
    }
}

void KivAudioPlugin::NotePresentInputGroups(float** inputs, int32_t groups) noexcept {
    const uint32_t inactive = inactiveInputGroups_.load();
    presentInputGroups_ = 0;
    for (int32_t group = 0; inputs && group < groups; ++group) {
        const int32_t first = ChannelIndex(group, 0);
        if (!IsHostChannel(first, hostInputs_)) break;
        // One channel handed over is enough: the others read silence.
        bool handedOver = false;
        for (int32_t channel = 0; channel < channelsPerGroup_; ++channel) {
            const int32_t index = ChannelIndex(group, channel);
            handedOver = handedOver || (IsHostChannel(index, hostInputs_) && inputs[index]);
        }
        if (handedOver && (group == 0 || (inactive & (1u << group)) == 0)) presentInputGroups_ |= 1u << group;
    }
}

// The host's arrays are read, never written. A pointer of ours left in one would outlive the
// buffer behind it (a longer block grows it, a new set-up frees it), and a host handing the
// same array back would have the next block write through it.
bool KivAudioPlugin::TakeHostPointers(float** inputs, float** outputs) noexcept {
    bool anyOutput = false;
    for (int32_t channel = 0; channel < kMaxHostChannels; ++channel) {
        blockInputs_[channel] = inputs && IsHostChannel(channel, hostInputs_) ? inputs[channel] : nullptr;
        blockOutputs_[channel] = IsHostChannel(channel, hostOutputs_) ? outputs[channel] : nullptr;
        anyOutput = anyOutput || blockOutputs_[channel];
    }
    return anyOutput;
}

// Every host channel without a buffer gets one that no other channel shares.
// - A missing output, or one the host declared unconnected, writes into a discard buffer of
//   its own. Sharing a neighbour's buffer would leave in that neighbour whichever channel was
//   written last (the left output carrying the right channel's result), and every step that
//   reads an output back (the bypass mix, an accumulating call, the channel modes'
//   conversions) would read the other channel. Each block starts it from silence, so that an
//   accumulating call never piles up what nobody hears.
// - A missing input reads silence, not a neighbour's signal: a right input the host left out
//   is a silent right side, whose level the detector must not take from the left. Only a host
//   that declared fewer connected inputs than a group has gets its last connected input
//   repeated into the rest, so that a mono input feeds both sides of a stereo effect.
void KivAudioPlugin::RepairBuffers(float** inputs, float** outputs, int32_t count) noexcept {
    const auto declaredUnconnected = [this](int32_t connected, int32_t channel) {
        return connected >= 1 && connected < channelsPerGroup_ && channel >= connected;
    };
    for (int32_t group = 0; ChannelIndex(group, 0) < kMaxHostChannels; ++group) {
        for (int32_t channel = 0; channel < channelsPerGroup_; ++channel) {
            const int32_t index = ChannelIndex(group, channel);
            if (index >= kMaxHostChannels) break;
            if (inputs && IsHostChannel(index, hostInputs_)) {
                if (declaredUnconnected(connectedInputs_, channel))
                    inputs[index] = inputs[ChannelIndex(group, connectedInputs_ - 1)];
                if (!inputs[index]) inputs[index] = silence_.Data();
            }
            if (IsHostChannel(index, hostOutputs_) && (!outputs[index] || declaredUnconnected(connectedOutputs_, channel))) {
                outputs[index] = discards_[index].Data();
                ZeroSamples(outputs[index], count);
            }
        }
    }
}

// A host may hand one buffer to more than one channel. Every step of a block writes its outputs
// channel by channel and reads back what it wrote (the look-ahead's delayed audio before its
// gain, the bypass mix, the channel modes' conversions, an accumulating call's sum), so:
// - Two outputs on one buffer would leave in it whichever channel came last, a gain applied to
//   the other channel's audio, or the two summed. The first keeps the buffer and the second
//   writes into its discard buffer: the buffer holds the first channel's result, what it holds
//   with the second output missing.
// - An output on another channel's input (or, in an accumulating call, on its own input, which
//   the call first clears to add into) would have that input read after it was written over:
//   one channel's result fed into the other. Such an input is copied first, and every channel
//   that reads it reads the copy, so channels the host fed from one buffer stay fed from one.
// The usual in-place pair (an output on its own channel's input, replacing) writes each sample
// only after reading it and needs nothing.
void KivAudioPlugin::SeparateSharedBuffers(float** inputs, float** outputs, int32_t count, bool replacing) noexcept {
    for (int32_t channel = 0; channel < kMaxHostChannels; ++channel) {
        if (!IsHostChannel(channel, hostOutputs_) || !outputs[channel]) continue;
        for (int32_t earlier = 0; earlier < channel; ++earlier) {
            if (!IsHostChannel(earlier, hostOutputs_) || outputs[earlier] != outputs[channel]) continue;
            outputs[channel] = discards_[channel].Data();
            ZeroSamples(outputs[channel], count);
            break;
        }
    }
    if (!inputs) return;
    for (int32_t channel = 0; channel < kMaxHostChannels; ++channel) {
        float* const input = IsHostChannel(channel, hostInputs_) ? inputs[channel] : nullptr;
        if (!input || input == silence_.Data()) continue;
        bool writtenOver = false;
        for (int32_t output = 0; output < kMaxHostChannels && !writtenOver; ++output) {
            writtenOver = IsHostChannel(output, hostOutputs_) && outputs[output] == input &&
                          (output != channel || !replacing);
        }
        if (!writtenOver) continue;
        float* const copy = inputCopies_[channel].Data();
        CopySamples(input, copy, count);
        for (int32_t reader = 0; reader < kMaxHostChannels; ++reader) {
            if (IsHostChannel(reader, hostInputs_) && inputs[reader] == input) inputs[reader] = copy;
        }
    }
}

void KivAudioPlugin::AddDenormalGuard(float** inputs, const GroupLayout& layout, int32_t count) const {
    for (int32_t group = 0; group < layout.inputGroups; ++group) {
        for (int32_t channel = 0; channel < layout.inputChannels; ++channel) {
            float* samples = inputs[ChannelIndex(group, channel)];
            // Silence stays exactly zero: it stands in for every missing input.
            if (!samples || samples == silence_.Data()) continue;
            for (int32_t i = 0; i < count; ++i) samples[i] += kDenormalGuard;
        }
    }
}

// The effect runs whether bypassed or not, and every block passes through the delay lines:
// a bypass switched either way fades between two sides that are both playing the present,
// never a delay line's audio from before or an effect that stood still.
bool KivAudioPlugin::TakeDrySignal(float** inputs, const GroupLayout& layout, int32_t count, bool replacing,
                                   float** outputs) {
    bypassTarget_ = HoldsDry();
    // Before the first block there is nothing to fade from: the switch applies at once.
    if (!playedSinceInit_) bypassPosition_ = bypassTarget_ ? bypassFadeLength_ : 0;
    playedSinceInit_ = true;
    const bool hears = bypassTarget_ || bypassPosition_ > 0;
    const int32_t paired = std::min(layout.inputGroups, layout.outputGroups);
    for (int32_t group = 0; group < layout.outputGroups; ++group) {
        for (int32_t channel = 0; channel < layout.outputChannels; ++channel) {
            const int32_t index = ChannelIndex(group, channel);
            if (!IsHostChannel(index, hostOutputs_) || !outputs[index]) continue;
            const float* input = group < paired && IsHostChannel(index, hostInputs_) ? inputs[index] : nullptr;
            KivDelayLine& delay = bypassDelays_[index];
            delay.SetDelay(latency_);
            if (!hears) {
                delay.Feed(input ? input : silence_.Data(), count);
                continue;
            }
            float* dry = dryBuffers_[index].Data();
            delay.Process(input ? input : silence_.Data(), dry, count);
            // Broken samples (NaN, infinity) play as silence here too, as they do processed.
            for (int32_t i = 0; i < count; ++i) dry[i] = std::isfinite(dry[i]) ? dry[i] : 0.0f;
            if (!replacing) {
                // An accumulating call: the processed side is made on its own, the host's
                // samples are added back after the mix.
                CopySamples(outputs[index], accumulated_[index].Data(), count);
                ZeroSamples(outputs[index], count);
            }
        }
    }
    return hears;
}

// Dry weight sin^2 and processed weight cos^2 of the same angle: they sum to 1, so the two
// sides, which are the same audio at the same time (at 1:1 identical), pass the fade at their
// own level instead of swelling by 3 dB as an equal-power fade of coherent signals would.
// Neither side's weight is applied at the ends of the fade, so either plays exactly there.
void KivAudioPlugin::MixBypass(float** outputs, const GroupLayout& layout, int32_t count, bool replacing) {
    const int32_t length = bypassFadeLength_;
    const KivFadeTable* fade = bypassFade_.get();
    const int32_t step = bypassTarget_ ? 1 : -1;
    const bool settled = bypassTarget_ && bypassPosition_ >= length;
    int32_t end = bypassPosition_;
    for (int32_t group = 0; group < layout.outputGroups; ++group) {
        for (int32_t channel = 0; channel < layout.outputChannels; ++channel) {
            const int32_t index = ChannelIndex(group, channel);
            if (!IsHostChannel(index, hostOutputs_) || !outputs[index]) continue;
            float* output = outputs[index];
            const float* dry = dryBuffers_[index].Data();
            if (settled) {
                CopySamples(dry, output, count);
            } else {
                int32_t position = bypassPosition_;
                for (int32_t i = 0; i < count; ++i) {
                    position = std::clamp(position + step, 0, length);
                    const double weight = fade ? fade->Coherent(position) : KivCoherentFadeWeight(position, length);
                    if (position == length) output[i] = dry[i];
                    else if (position > 0) output[i] = static_cast<float>(output[i] * (1.0 - weight) + dry[i] * weight);
                }
                end = position;
            }
            if (!replacing) {
                const float* before = accumulated_[index].Data();
                for (int32_t i = 0; i < count; ++i) output[i] += before[i];
            }
        }
    }
    bypassPosition_ = settled ? length : end;
}

float* KivAudioPlugin::GrowInternal(int32_t channel, int32_t count) {
    internalBuffers_[channel].Reserve(count);
    return internalBuffers_[channel].Data();
}

void KivAudioPlugin::PointAtHostBuffers(float** inputs, float** outputs, int32_t) {
    for (int32_t channel = 0; channel < kMaxHostChannels; ++channel) {
        float* input = inputs && IsHostChannel(channel, hostInputs_) ? inputs[channel] : nullptr;
        float* output = IsHostChannel(channel, hostOutputs_) ? outputs[channel] : nullptr;
        inputs_[channel] = input ? input : silence_.Data();
        outputs_[channel] = output ? output : scratch_.Data();
    }
}

void KivAudioPlugin::ProcessAtHostRate(float** inputs, float** outputs, const GroupLayout& layout, int32_t count,
                                       bool replacing) {
    const bool hasInputs = layout.inputGroups > 0;
    PointAtHostBuffers(hasInputs ? inputs : nullptr, outputs, count);
    if (!replacing && !accumulatesInPlace_) {
        for (int32_t channel = 0; channel < kMaxHostChannels; ++channel) {
            if (!IsHostChannel(channel, hostOutputs_)) continue;
            outputs_[channel] = GrowInternal(channel, count);
            if (clearOutputs_) ZeroSamples(outputs_[channel], count);
        }
        ProcessWithChannelModes(inputs_, outputs_, count);
        for (int32_t channel = 0; channel < kMaxHostChannels; ++channel) {
            float* output = IsHostChannel(channel, hostOutputs_) ? outputs[channel] : nullptr;
            const float* processed = outputs_[channel];
            if (!output) continue;
            for (int32_t i = 0; i < count; ++i) output[i] += processed[i];
        }
        return;
    }
    if (replacing) {
        const bool preserve = preserveInputs_ || latency_ != 0;
        if (preserve && hasInputs && inputs_[0] == outputs_[0]) {
            for (int32_t channel = 0; channel < kMaxHostChannels; ++channel) {
                if (!IsHostChannel(channel, hostInputs_)) continue;
                float* copy = GrowInternal(channel, count);
                CopySamples(inputs_[channel], copy, count);
                inputs_[channel] = copy;
            }
        }
        if (clearOutputs_) {
            for (int32_t channel = 0; channel < kMaxHostChannels; ++channel) {
                if (IsHostChannel(channel, hostOutputs_)) ZeroSamples(outputs_[channel], count);
            }
        }
    }
    ProcessWithChannelModes(inputs_, outputs_, count);
}

// Blocks longer than the resamplers were prepared for go through in pieces of the prepared
// length: growing a resampler would allocate on the audio thread and clear its history, a
// click in the middle of the host's block.
void KivAudioPlugin::ProcessOversampled(float** inputs, float** outputs, const GroupLayout&, int32_t count,
                                        bool replacing) {
    PointAtHostBuffers(inputs, outputs, count);
    const int32_t piece = std::max(maxBlockSize_, 1);
    for (int32_t offset = 0; offset < count; offset += piece) {
        if (offset > 0 && transport_.usesHostTime) transport_.Advance(piece, sampleRate_);
        for (int32_t channel = 0; channel < kMaxHostChannels; ++channel) {
            pieceInputs_[channel] = inputs_[channel] + offset;
            pieceOutputs_[channel] = outputs_[channel] + offset;
        }
        ProcessOversampledPiece(pieceInputs_, pieceOutputs_, std::min(piece, count - offset), replacing);
    }
    ClipOutputs(outputs_, count);
}

void KivAudioPlugin::ProcessOversampledPiece(float** inputs, float** outputs, int32_t count, bool replacing) {
    const int32_t fastCount = GetOversampling() * count;
    for (int32_t channel = 0; channel < kMaxHostChannels; ++channel) {
        const bool isInput = IsHostChannel(channel, hostInputs_);
        if (!isInput && !IsHostChannel(channel, hostOutputs_)) {
            fastInputs_[channel] = silence_.Data();
            fastOutputs_[channel] = scratch_.Data();
            continue;
        }
        KivResampler& resampler = resamplers_.Ready(channel, count);
        if (isInput) {
            resampler.Upsample(inputs[channel], count);
            fastInputs_[channel] = resampler.GetInputBuffer();
        } else {
            fastInputs_[channel] = silence_.Data();
        }
        fastOutputs_[channel] = resampler.GetOutputBuffer();
        if (clearOutputs_) ZeroSamples(fastOutputs_[channel], fastCount);
    }
    ProcessWithChannelModes(fastInputs_, fastOutputs_, fastCount);
    for (int32_t channel = 0; channel < kMaxHostChannels; ++channel) {
        if (!IsHostChannel(channel, hostOutputs_)) continue;
        resamplers_.Ready(channel, count).Downsample(outputs[channel], count, !replacing);
    }
}

void KivAudioPlugin::ClipOutputs(float** outputs, int32_t count) {
    const double level = GetOutputClipLevel();
    if (level < 0) return;
    const auto limit = static_cast<float>(level);
    for (int32_t channel = 0; channel < kMaxHostChannels; ++channel) {
        if (!IsHostChannel(channel, hostOutputs_)) continue;
        float* samples = outputs[channel];
        for (int32_t i = 0; i < count; ++i) samples[i] = std::clamp(samples[i], -limit, limit);
    }
}
