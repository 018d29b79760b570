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
