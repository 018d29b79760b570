#include "dynamics/processing/tandrel_level_history.h"

#include <algorithm>
#include <cmath>

namespace {

// The largest magnitude of a block, written to vectorise; NaN counts as silence.
float LoudestOf(const float* const* channels, int32_t count, int32_t length) noexcept {
    float loudest = 0.0f;
    for (int32_t c = 0; c < count; ++c) {
        const float* samples = channels[c];
        if (samples == nullptr) continue;
        float channelLoudest = 0.0f;
        for (int32_t i = 0; i < length; ++i) channelLoudest = std::max(channelLoudest, std::fabs(samples[i]));
        loudest = std::max(loudest, channelLoudest);
    }
    return loudest;
}

}  // namespace

void TandrelLevelHistory::SetSampleRate(int32_t sampleRate) noexcept {
    // To the nearest sample: 735 at 44.1 kHz, 800 at 48 kHz.
    columnLength_ = std::max(1, (sampleRate + kColumnsPerSecond / 2) / kColumnsPerSecond);
    current_ = Column{};
    heard_ = false;
    filled_ = 0;
}

void TandrelLevelHistory::MeasureInput(const float* const* inputs, int32_t channels, int32_t count) noexcept {
    if (inputs == nullptr || count <= 0) return;
    current_.input = std::max(current_.input, LoudestOf(inputs, channels, count));
}

void TandrelLevelHistory::MeasureOutput(const float* const* outputs, int32_t channels, int32_t count,
                                        double reduction) noexcept {
    if (outputs == nullptr || count <= 0) return;
    current_.output = std::max(current_.output, LoudestOf(outputs, channels, count));
    current_.reduction = std::min(current_.reduction, static_cast<float>(std::clamp(reduction, 0.0, 1.0)));
    heard_ = heard_ || current_.input > kSilence || current_.output > kSilence;
    filled_ += count;
    if (filled_ < columnLength_) return;
    // A block longer than a column fills every column it spans with its figures, so that the
    // history keeps time with the audio whatever the host's block size.
    const int32_t columns = std::min(filled_ / columnLength_, kCapacity / 2);
    filled_ %= columnLength_;
    if (heard_) {
        for (int32_t i = 0; i < columns; ++i) Write(current_);
    }
    current_ = Column{};
    heard_ = false;
}

void TandrelLevelHistory::Write(const Column& column) noexcept {
    const int64_t index = written_.load(std::memory_order_relaxed);
    // A reader that sees any of this column's figures sees the count from before it (the
    // release fence pairs with the reader's acquire fence): it knows the slot was in reuse.
    std::atomic_thread_fence(std::memory_order_release);
    Slot& slot = slots_[index & (kCapacity - 1)];
    slot.input.store(column.input, std::memory_order_relaxed);
    slot.output.store(column.output, std::memory_order_relaxed);
    slot.reduction.store(column.reduction, std::memory_order_relaxed);
    written_.store(index + 1, std::memory_order_release);
}

void TandrelLevelHistory::Restart() noexcept { read_ = written_.load(std::memory_order_acquire); }

// The writer never waits for the reader, so a reader held up while it copies (the editor's
// thread preempted, the host rendering offline many times faster than real time) can find the
// writer a whole ring further on, writing over the slots it is reading. It copies half the ring
// at most, then reads the count again: the columns the writer may have reached meanwhile are
// dropped, so a column shown is always one column, never the input of one and the output of
// another.
int32_t TandrelLevelHistory::Take(Column* into, int32_t capacity) noexcept {
    const int64_t written = written_.load(std::memory_order_acquire);
    const int64_t oldest = std::max({read_, written - kCapacity / 2, written - static_cast<int64_t>(capacity)});
    int32_t taken = 0;
    for (int64_t index = oldest; index < written; ++index) {
        const Slot& slot = slots_[index & (kCapacity - 1)];
        into[taken++] = Column{slot.input.load(std::memory_order_relaxed), slot.output.load(std::memory_order_relaxed),
                               slot.reduction.load(std::memory_order_relaxed)};
    }
    read_ = written;
    // The writer may be filling the slot of column `now` (counted once it is whole), and has
    // refilled those of every column up to it a ring earlier.
    std::atomic_thread_fence(std::memory_order_acquire);
    const int64_t now = written_.load(std::memory_order_relaxed);
    const int64_t firstWhole = std::max(oldest, now - kCapacity + 1);
    if (firstWhole == oldest) return taken;
    const auto dropped = static_cast<int32_t>(std::min<int64_t>(firstWhole - oldest, taken));
    std::copy(into + dropped, into + taken, into);
    return taken - dropped;
}
