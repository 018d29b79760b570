#pragma once
#include <cstdint>

#include "dynamics/detector/kiv_detector_buffer.h"

// A first-in first-out queue of samples that delays the audio by the look-ahead: it starts
// with that many zeros, and each block is appended before as many samples are taken from
// the front. Kept as a ring so that a long look-ahead costs nothing per block beyond the
// copies.
class KivLookAheadQueue {
public:
    // Empties the queue and fills it with `length` zeros (0 leaves it empty).
    void Restart(int32_t length);
    // Room for the look-ahead plus the longest block, so that processing never allocates.
    void Reserve(int32_t samples);
    void Clear() noexcept { fill_ = 0; head_ = 0; }
    // Exchanges contents and memory with `other`: a queue made ready off the audio thread
    // takes the place of one without allocating.
    void Swap(KivLookAheadQueue& other) noexcept;

    int32_t Fill() const noexcept { return fill_; }
    void Append(const float* samples, int32_t count);
    // Raises "Not enough data in the queue." when fewer than `count` samples are queued.
    void Take(float* out, int32_t count);

private:
    void Grow(int32_t samples);

    KivDetectorBuffer<float> ring_;
    int32_t head_ = 0;
    int32_t fill_ = 0;
};
