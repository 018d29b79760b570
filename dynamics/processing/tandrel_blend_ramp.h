#pragma once
#include <cstdint>

// The blend of the gains with the signal, gain = shape gain x wet gain + dry, moves from one
// setup's values to the next over a few milliseconds, sample by sample, instead of jumping at
// the block where the new setup arrives: automated input, output and temp gains and dry/wet
// would otherwise step once per block (zipper noise, clicks on a step automation).
class TandrelBlendRamp {
public:
    struct Blend {
        double wetGain = 1.0;
        double dry = 0.0;
        bool operator==(const Blend&) const = default;
    };

    // The ramp's length in samples for the sample rate.
    void SetSampleRate(int32_t sampleRate) noexcept;
    // A new target: the blend ramps from where it is now (within a ramp, from its current
    // point), or starts there when `immediately` (nothing played before).
    void Target(const Blend& target, bool immediately) noexcept;
    bool IsMoving() const noexcept { return position_ < length_; }
    // Stands at the target at once: processing that starts afresh has no earlier blend.
    void Settle() noexcept { Target(to_, true); }
    // The blend of the last sample played (the target when not moving).
    Blend Current() const noexcept { return !IsMoving() ? to_ : position_ > 0 ? At(position_ - 1) : from_; }
    // gains[i] = shape[i] x wet gain(i) + dry(i) over the next `count` samples of the ramp
    // (shape gains without any blend in); does not advance.
    void Apply(const double* shape, double* gains, int32_t count) const noexcept;
    // The factor of a path whose shape gain is 1 (gain-only): wet gain + dry, per sample.
    void Factors(double* factors, int32_t count) const noexcept;
    void Advance(int32_t count) noexcept;

private:
    Blend At(int32_t position) const noexcept;

    Blend from_;
    Blend to_;
    int32_t position_ = 0;
    int32_t length_ = 0;
    int32_t rampLength_ = 240;
};
