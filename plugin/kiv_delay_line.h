#pragma once
#include <cstdint>

#include "plugin/kiv_sample_buffer.h"

// Delays one channel by a whole number of samples, so that a signal that bypasses the
// effect stays aligned with the effect's latency. Starts out silent.
class KivDelayLine {
public:
    // Grows the history when the delay needs more room; a changed delay starts from silence.
    void SetDelay(int32_t samples);
    int32_t GetDelay() const noexcept { return delay_; }
    void Reset();

    // `input` may be `output`: each sample is read before its slot is written.
    void Process(const float* input, float* output, int32_t count) noexcept;

private:
    KivSampleBuffer history_;
    int32_t delay_ = 0;
    int32_t writePosition_ = 0;
};
