#include "plugin/kiv_delay_line.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "plugin/kiv_cross_fade.h"

void KivDelayLine::Reserve(int32_t longest, int32_t block) {
    // One sample more than the longest delay plus a block, so that a block is stored whole
    // before its first delayed sample is read.
    history_.Reserve(std::max(longest, 0) + std::max(block, 1) + 1);
    Reset();
}

void KivDelayLine::SetFadeLength(int32_t samples) {
    fadeLength_ = samples > 0 ? samples : 1;
    if (!fade_ || fade_->Length() != fadeLength_) fade_ = KivFadeTable::Of(fadeLength_);
}

void KivDelayLine::SetDelay(int32_t samples) {
    samples = std::max(samples, 0);
    if (samples == target_) return;
    if (samples >= history_.Capacity()) {
        history_.Reserve(samples + 1);
        target_ = samples;
        Reset();
        return;
    }
    target_ = samples;
    if (stored_ == 0 && !fading_) delay_ = samples;
}

void KivDelayLine::Reset() {
    writePosition_ = 0;
    stored_ = 0;
    fading_ = false;
    delay_ = target_;
}

void KivDelayLine::JumpTo(int32_t samples) noexcept {
    samples = std::clamp(samples, 0, std::max(history_.Capacity() - 1, 0));
    target_ = delay_ = samples;
    fading_ = false;
}

int32_t KivDelayLine::Room() const noexcept {
    const int32_t longest = std::max({delay_, target_, fading_ ? fadeFrom_ : 0});
    return history_.Capacity() - longest;
}

void KivDelayLine::Store(const float* input, int32_t count) noexcept {
    float* history = history_.Data();
    const int32_t capacity = history_.Capacity();
    const int32_t first = std::min(count, capacity - writePosition_);
    std::memcpy(history + writePosition_, input, sizeof(float) * static_cast<size_t>(first));
    std::memcpy(history, input + first, sizeof(float) * static_cast<size_t>(count - first));
    writePosition_ = (writePosition_ + count) & (capacity - 1);
    stored_ = std::min(capacity, stored_ + count);
}

void KivDelayLine::Feed(const float* input, int32_t count) noexcept {
    if (history_.Capacity() == 0) return;
    // Fed without a listener, the line takes the new delay at once: nothing plays from it.
    delay_ = target_;
    fading_ = false;
    while (count > 0) {
        const int32_t piece = std::min(count, history_.Capacity());
        Store(input, piece);
        input += piece;
        count -= piece;
    }
}

void KivDelayLine::StartFade() noexcept {
    if (fading_ || delay_ == target_) return;
    fadeFrom_ = delay_;
    delay_ = target_;
    fadePosition_ = 0;
    fading_ = true;
}

void KivDelayLine::Process(const float* input, float* output, int32_t count) noexcept {
    if (history_.Capacity() == 0 || IsPassThrough()) {
        if (input != output) std::memmove(output, input, sizeof(float) * static_cast<size_t>(count));
        if (history_.Capacity() > 0) Feed(output, count);
        return;
    }
    while (count > 0) {
        // A delay asked for during a fade follows as soon as that fade ends, in the same
        // block: the line settles within two fades of any change.
        StartFade();
        int32_t piece = std::min(count, std::max(Room(), 1));
        if (fading_) piece = std::min(piece, fadeLength_ - fadePosition_);
        ProcessPiece(input, output, piece);
        input += piece;
        output += piece;
        count -= piece;
    }
}

// What the line has not heard since it started (or was reset) plays as silence. It is never
// written as silence: a read that reaches back past the samples stored is answered with 0
// instead, so a reset, and a longer delay after one, cost nothing however long the delay;
// clearing the ring on the audio thread cost a memset of up to the delay per change, the
// largest cost of automating the look-ahead and the channel mode at small blocks.
void KivDelayLine::ProcessPiece(const float* input, float* output, int32_t count) noexcept {
    const int32_t start = writePosition_;
    // Samples stored before this piece: output sample i reads history only while
    // heard + i >= delay. A ring once full (stored_ at the capacity) reads history at any delay.
    const int32_t heard = stored_;
    Store(input, count);
    const float* history = history_.Data();
    // The capacity is a power of two, so wrapping is a mask.
    const int32_t mask = history_.Capacity() - 1;
    int32_t i = 0;
    const KivFadeTable* table = fade_.get();
    for (; fading_ && i < count; ++i) {
        // Powers summing to 1: cos^2 + sin^2, sample by sample over the fade.
        const double from = heard + i >= fadeFrom_ ? history[(start + i - fadeFrom_) & mask] : 0.0;
        const double to = heard + i >= delay_ ? history[(start + i - delay_) & mask] : 0.0;
        if (table) {
            output[i] = static_cast<float>(from * table->Falling(fadePosition_) + to * table->Rising(fadePosition_));
        } else {
            const double angle = KivFadeAngle(fadePosition_ + 0.5, fadeLength_);
            output[i] = static_cast<float>(from * std::cos(angle) + to * std::sin(angle));
        }
        if (++fadePosition_ >= fadeLength_) fading_ = false;
    }
    const int32_t delay = delay_;
    const int32_t unheard = std::clamp(delay - heard, i, count);
    for (; i < unheard; ++i) output[i] = 0.0f;
    for (; i < count; ++i) output[i] = history[(start + i - delay) & mask];
}
