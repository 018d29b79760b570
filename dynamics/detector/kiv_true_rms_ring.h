#pragma once
#include <cstdint>

#include "dynamics/detector/kiv_detector_buffer.h"

// The moving average of power over exactly `length` samples ("true RMS"). The running sum
// is restarted from a second sum that only ever adds, once per turn of the ring, so that
// rounding cannot build up: after a loud passage the average returns to the exact level of
// what follows instead of keeping a residue of the old sum.
class KivTrueRmsRing {
public:
    void Build(int32_t length);
    void Clear() noexcept;
    // Takes over another ring's contents and sums when both have the same length (never
    // allocates; rings of different lengths are left as they are).
    void CopyFrom(const KivTrueRmsRing& other) noexcept;

    double Average(double power) noexcept {
        const float stored = static_cast<float>(power);
        const double value = stored;
        sum_ += value - samples_[position_];
        freshSum_ += value;
        samples_[position_] = stored;
        if (++position_ == length_) {
            position_ = 0;
            sum_ = freshSum_;
            freshSum_ = 0.0;
        }
        return sum_ * inverseLength_;
    }

    // Average for every value of a block, in place: the same as Average value by value, with
    // the running sums held in registers for the whole block.
    void AverageBlock(double* powers, int32_t count) noexcept;

    int32_t Length() const noexcept { return length_; }
    // Exchanges contents and memory with `other`, without allocating.
    void Swap(KivTrueRmsRing& other) noexcept;

private:
    KivDetectorBuffer<float> samples_;
    int32_t position_ = 0;
    double sum_ = 0.0;
    double freshSum_ = 0.0;
    double inverseLength_ = 1.0;
    int32_t length_ = 0;  // not built: any first length, 1 included, builds the ring
};
