#include "dynamics/processing/tandrel_blend_ramp.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kRampSeconds = 0.005;

}  // namespace

void TandrelBlendRamp::SetSampleRate(int32_t sampleRate) noexcept {
    rampLength_ = std::max(1, static_cast<int32_t>(std::lround(kRampSeconds * std::max(sampleRate, 0))));
}

TandrelBlendRamp::Blend TandrelBlendRamp::At(int32_t position) const noexcept {
    if (position >= length_) return to_;
    const double t = static_cast<double>(position + 1) / length_;
    return {from_.wetGain + (to_.wetGain - from_.wetGain) * t, from_.dry + (to_.dry - from_.dry) * t};
}

void TandrelBlendRamp::Target(const Blend& target, bool immediately) noexcept {
    if (target == to_ && !IsMoving()) return;
    // Where the blend is now: the last sample played within a ramp, else the last target.
    from_ = immediately ? target : Current();
    to_ = target;
    position_ = 0;
    length_ = from_ == to_ ? 0 : rampLength_;
}

void TandrelBlendRamp::Apply(const double* shape, double* gains, int32_t count) const noexcept {
    for (int32_t i = 0; i < count; ++i) {
        const Blend blend = At(position_ + i);
        gains[i] = shape[i] * blend.wetGain + blend.dry;
    }
}

void TandrelBlendRamp::Factors(double* factors, int32_t count) const noexcept {
    for (int32_t i = 0; i < count; ++i) {
        const Blend blend = At(position_ + i);
        factors[i] = blend.wetGain + blend.dry;
    }
}

void TandrelBlendRamp::Advance(int32_t count) noexcept { position_ = std::min(length_, position_ + count); }
