#include "hosts/bridge/kiv_host_midi_queue.h"

namespace {

constexpr uint32_t kMask = KivHostMidiQueue::kCapacity - 1;
static_assert((KivHostMidiQueue::kCapacity & kMask) == 0, "the ring's size is a power of two");

}  // namespace

KivHostMidiQueue::KivHostMidiQueue() : cells_(new Cell[kCapacity]) {
    for (uint32_t i = 0; i < kCapacity; ++i) cells_[i].sequence.store(i, std::memory_order_relaxed);
}

// A cell is free for position p when its sequence is p; the writer that wins p publishes the
// message with sequence p + 1, which the reader waits for. Differences are taken as signed so
// that the positions may wrap.
bool KivHostMidiQueue::Append(const KivHostMidiMessage& message) noexcept {
    uint32_t position = appendPosition_.load(std::memory_order_relaxed);
    for (;;) {
        Cell& cell = cells_[position & kMask];
        const uint32_t sequence = cell.sequence.load(std::memory_order_acquire);
        const auto difference = static_cast<int32_t>(sequence - position);
        if (difference == 0) {
            if (appendPosition_.compare_exchange_weak(position, position + 1, std::memory_order_relaxed)) {
                cell.message = message;
                cell.sequence.store(position + 1, std::memory_order_release);
                return true;
            }
        } else if (difference < 0) {
            return false;
        } else {
            position = appendPosition_.load(std::memory_order_relaxed);
        }
    }
}

bool KivHostMidiQueue::Append(int32_t deltaFrames, const uint8_t* bytes) noexcept {
    KivHostMidiMessage message;
    message.deltaFrames = deltaFrames;
    for (int i = 0; i < 3; ++i) message.bytes[i] = bytes[i];
    return Append(message);
}

bool KivHostMidiQueue::Take(KivHostMidiMessage& message) noexcept {
    uint32_t position = takePosition_.load(std::memory_order_relaxed);
    for (;;) {
        Cell& cell = cells_[position & kMask];
        const uint32_t sequence = cell.sequence.load(std::memory_order_acquire);
        const auto difference = static_cast<int32_t>(sequence - (position + 1));
        if (difference == 0) {
            if (takePosition_.compare_exchange_weak(position, position + 1, std::memory_order_relaxed)) {
                message = cell.message;
                cell.sequence.store(position + kCapacity, std::memory_order_release);
                return true;
            }
        } else if (difference < 0) {
            return false;
        } else {
            position = takePosition_.load(std::memory_order_relaxed);
        }
    }
}
