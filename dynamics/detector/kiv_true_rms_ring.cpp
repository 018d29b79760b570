#include "dynamics/detector/kiv_true_rms_ring.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "dynamics/detector/kiv_vector_clones.h"

void KivTrueRmsRing::Build(int32_t length) {
    length_ = std::max(1, length);
    inverseLength_ = 1.0 / length_;
    samples_.Reserve(static_cast<size_t>(length_));
    Clear();
}

void KivTrueRmsRing::Swap(KivTrueRmsRing& other) noexcept {
    samples_.Swap(other.samples_);
    std::swap(position_, other.position_);
    std::swap(sum_, other.sum_);
    std::swap(freshSum_, other.freshSum_);
    std::swap(inverseLength_, other.inverseLength_);
    std::swap(length_, other.length_);
}

void KivTrueRmsRing::Clear() noexcept {
    if (samples_.Data() != nullptr) std::memset(samples_.Data(), 0, sizeof(float) * samples_.Capacity());
    position_ = 0;
    sum_ = 0.0;
    freshSum_ = 0.0;
}

void KivTrueRmsRing::CopyFrom(const KivTrueRmsRing& other) noexcept {
    if (this == &other || length_ == 0 || other.length_ != length_) return;
    std::memcpy(samples_.Data(), other.samples_.Data(), sizeof(float) * static_cast<size_t>(length_));
    position_ = other.position_;
    sum_ = other.sum_;
    freshSum_ = other.freshSum_;
}

namespace {

// Rounds the powers to the ring's floats, notes how much each differs from the value it
// replaces in the ring, and replaces it.
KIV_VECTOR_CLONES void EnterRing(double* powers, float* ring, double* differences, int32_t count) noexcept {
    for (int32_t i = 0; i < count; ++i) {
        const float stored = static_cast<float>(powers[i]);
        powers[i] = stored;
        differences[i] = powers[i] - ring[i];
        ring[i] = stored;
    }
}

}  // namespace

// Run by run up to the next turn of the ring (and at most kRun samples): the float
// rounding, the differences to the values leaving the ring and the ring's update run as
// vector passes; only the two running sums stay sample by sample. Same bits as Average.
void KivTrueRmsRing::AverageBlock(double* powers, int32_t count) noexcept {
    if (length_ == 0) return;  // never built: the powers pass unaveraged
    constexpr int32_t kRun = 256;
    double differences[kRun];
    double sum = sum_, freshSum = freshSum_;
    int32_t position = position_;
    const double inverseLength = inverseLength_;
    for (int32_t start = 0; start < count;) {
        const int32_t n = std::min({count - start, length_ - position, kRun});
        double* p = powers + start;
        float* ring = samples_.Data() + position;
        EnterRing(p, ring, differences, n);
        for (int32_t i = 0; i < n; ++i) {
            sum += differences[i];
            freshSum += p[i];
            p[i] = sum * inverseLength;
        }
        position += n;
        start += n;
        if (position == length_) {
            // The turn's last sample already reads the restarted sum.
            position = 0;
            sum = freshSum;
            freshSum = 0.0;
            p[n - 1] = sum * inverseLength;
        }
    }
    sum_ = sum;
    freshSum_ = freshSum;
    position_ = position;
}
