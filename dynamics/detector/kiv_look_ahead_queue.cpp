#include "dynamics/detector/kiv_look_ahead_queue.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "base/kiv_exception.h"

void KivLookAheadQueue::Restart(int32_t length) {
    Clear();
    if (length <= 0) return;
    Reserve(length);
    std::memset(ring_.Data(), 0, sizeof(float) * static_cast<size_t>(length));
    fill_ = length;
}

void KivLookAheadQueue::Swap(KivLookAheadQueue& other) noexcept {
    ring_.Swap(other.ring_);
    std::swap(head_, other.head_);
    std::swap(fill_, other.fill_);
}

void KivLookAheadQueue::Reserve(int32_t samples) {
    if (static_cast<size_t>(samples) > ring_.Capacity()) Grow(samples);
}

// Unrolls the ring into a larger one, queued samples first.
void KivLookAheadQueue::Grow(int32_t samples) {
    const int32_t capacity = static_cast<int32_t>(ring_.Capacity());
    const int32_t tail = std::min(fill_, capacity - head_);
    KivDetectorBuffer<float> old;
    old.Reserve(static_cast<size_t>(std::max(fill_, 1)));
    if (fill_ > 0) {
        std::memcpy(old.Data(), ring_.Data() + head_, sizeof(float) * tail);
        std::memcpy(old.Data() + tail, ring_.Data(), sizeof(float) * (fill_ - tail));
    }
    ring_.Reserve(static_cast<size_t>(samples));
    std::memcpy(ring_.Data(), old.Data(), sizeof(float) * fill_);
    head_ = 0;
}

void KivLookAheadQueue::Append(const float* samples, int32_t count) {
    Reserve(fill_ + count);
    const int32_t capacity = static_cast<int32_t>(ring_.Capacity());
    int32_t position = (head_ + fill_) & (capacity - 1);
    const int32_t first = std::min(count, capacity - position);
    std::memcpy(ring_.Data() + position, samples, sizeof(float) * first);
    std::memcpy(ring_.Data(), samples + first, sizeof(float) * (count - first));
    fill_ += count;
}

void KivLookAheadQueue::Take(float* out, int32_t count) {
    if (count > fill_) throw KivException(KivString("Not enough data in the queue."));
    if (count <= 0) return;
    const int32_t capacity = static_cast<int32_t>(ring_.Capacity());
    const int32_t first = std::min(count, capacity - head_);
    std::memmove(out, ring_.Data() + head_, sizeof(float) * first);
    std::memmove(out + first, ring_.Data(), sizeof(float) * (count - first));
    head_ = (head_ + count) & (capacity - 1);
    fill_ -= count;
}
