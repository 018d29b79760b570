#pragma once
#include <cstdint>

#include "dynamics/detector/kiv_detector_buffer.h"

// The last 0.4 s of squared output samples with their running sum, for the RMS part of the
// editor's output meter.
class TandrelOutputRmsRing {
public:
    static constexpr double kSeconds = 0.4;

    // Empties the ring and sizes it for `sampleRate`; allocates, so not for the audio thread.
    void Build(int32_t sampleRate);
    void Feed(const float* samples, int32_t count) noexcept;
    // Root of the mean of the squares held.
    double Rms() const noexcept;
    int32_t Length() const noexcept { return length_; }

private:
    KivDetectorBuffer<double> squares_;
    int32_t length_ = 1;
    int32_t position_ = 0;
    double sum_ = 0.0;
    double inverseLength_ = 1.0;
};
