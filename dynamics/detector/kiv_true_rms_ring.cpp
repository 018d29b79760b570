#include "dynamics/detector/kiv_true_rms_ring.h"

#include <algorithm>
#include <cstring>

void KivTrueRmsRing::Build(int32_t length) {
    length_ = std::max(1, length);
    inverseLength_ = 1.0 / length_;
    samples_.Reserve(static_cast<size_t>(length_));
    Clear();
}

void KivTrueRmsRing::Clear() noexcept {
    if (samples_.Data() != nullptr) std::memset(samples_.Data(), 0, sizeof(float) * samples_.Capacity());
    position_ = 0;
    sum_ = 0.0;
    freshSum_ = 0.0;
}

void KivTrueRmsRing::AverageBlock(double* powers, int32_t count) noexcept {
    float* samples = samples_.Data();
    double sum = sum_, freshSum = freshSum_;
    int32_t position = position_;
    for (int32_t i = 0; i < count; ++i) {
        const float stored = static_cast<float>(powers[i]);
        const double value = stored;
        sum += value - samples[position];
        freshSum += value;
        samples[position] = stored;
        if (++position == length_) {
            position = 0;
            sum = freshSum;
            freshSum = 0.0;
        }
        powers[i] = sum * inverseLength_;
    }
    sum_ = sum;
    freshSum_ = freshSum;
    position_ = position;
}
