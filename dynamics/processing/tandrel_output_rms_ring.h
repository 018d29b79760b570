#pragma once
#include <cstdint>

#include "dynamics/detector/kiv_detector_buffer.h"

// The last 0.4 s of squared output samples with their running sum, for the RMS part of the
// editor's output meter. The squares are kept in sums of kChunk samples: a meter refreshed
// 30 times a second cannot show a window that moves by a third of a millisecond, and a
// sample-by-sample ring cost every channel of every instance 150 KB at 48 kHz (most of what
// an instance held) and its clearing most of an instance's creation time.
class TandrelOutputRmsRing {
public:
    static constexpr double kSeconds = 0.4;
    static constexpr int32_t kChunk = 16;

    // Empties the ring and sizes it for `sampleRate`; allocates, so not for the audio thread.
    void Build(int32_t sampleRate);
    void Feed(const float* samples, int32_t count) noexcept;
    // Root of the mean of the squares held.
    double Rms() const noexcept;
    // Samples in the window: whole chunks of the last 0.4 s.
    int32_t Length() const noexcept { return chunks_ * kChunk; }

private:
    KivDetectorBuffer<double> squares_;  // one sum of kChunk squares per entry
    int32_t chunks_ = 1;
    int32_t position_ = 0;
    int32_t filled_ = 0;     // samples in `partial_`
    double partial_ = 0.0;   // the chunk being filled, not yet in the window
    double sum_ = 0.0;
    double inverseLength_ = 1.0;
};
