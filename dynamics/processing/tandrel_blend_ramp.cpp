#include "dynamics/processing/tandrel_blend_ramp.h"

#include <algorithm>
#include <cmath>

#include "dynamics/detector/kiv_vector_clones.h"

namespace {

constexpr double kRampSeconds = 0.005;

// The blend at sample `position` of a ramp over `length` samples: the arithmetic of At.
inline TandrelBlendRamp::Blend BlendAt(int32_t position, int32_t length, const TandrelBlendRamp::Blend& from,
                                       const TandrelBlendRamp::Blend& to) noexcept {
    const bool done = position >= length;
    const double t = static_cast<double>(position + 1) / length;
    return {done ? to.wetGain : from.wetGain + (to.wetGain - from.wetGain) * t,
            done ? to.dry : from.dry + (to.dry - from.dry) * t};
}

// gains[i] = shape[i] x wet gain + dry (a shape gain of 1 without `shape`, which may also be
// `gains` itself) at the ramp's samples from `position` on. The samples before the ramp's end
// and those after it are loops of their own, each without a branch, over locals the stores
// cannot alias, so that they vectorise (a division per sample otherwise); in place is written
// as such, which an overlap check would refuse.
KIV_VECTOR_CLONES void BlendRamp(const double* shape, double* gains, int32_t count, int32_t position, int32_t length,
                                 TandrelBlendRamp::Blend from, TandrelBlendRamp::Blend to) noexcept {
    const int32_t moving = std::clamp(length - position, 0, count);
    const double wetStep = to.wetGain - from.wetGain, dryStep = to.dry - from.dry;
    const auto wetGain = [&](int32_t i) { return from.wetGain + wetStep * (static_cast<double>(position + i + 1) / length); };
    const auto dry = [&](int32_t i) { return from.dry + dryStep * (static_cast<double>(position + i + 1) / length); };
    if (!shape) {
        for (int32_t i = 0; i < moving; ++i) gains[i] = wetGain(i) + dry(i);
        for (int32_t i = moving; i < count; ++i) gains[i] = to.wetGain + to.dry;
    } else if (shape == gains) {
        for (int32_t i = 0; i < moving; ++i) gains[i] = gains[i] * wetGain(i) + dry(i);
        for (int32_t i = moving; i < count; ++i) gains[i] = gains[i] * to.wetGain + to.dry;
    } else {
        for (int32_t i = 0; i < moving; ++i) gains[i] = shape[i] * wetGain(i) + dry(i);
        for (int32_t i = moving; i < count; ++i) gains[i] = shape[i] * to.wetGain + to.dry;
    }
}

}  // namespace

void TandrelBlendRamp::SetSampleRate(int32_t sampleRate) noexcept {
    rampLength_ = std::max(1, static_cast<int32_t>(std::lround(kRampSeconds * std::max(sampleRate, 0))));
}

TandrelBlendRamp::Blend TandrelBlendRamp::At(int32_t position) const noexcept {
    return BlendAt(position, length_, from_, to_);
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
    BlendRamp(shape, gains, count, position_, length_, from_, to_);
}

void TandrelBlendRamp::Factors(double* factors, int32_t count) const noexcept {
    BlendRamp(nullptr, factors, count, position_, length_, from_, to_);
}

void TandrelBlendRamp::Advance(int32_t count) noexcept { position_ = std::min(length_, position_ + count); }
