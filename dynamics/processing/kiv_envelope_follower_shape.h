#pragma once
#include "dynamics/detector/kiv_follower_shape.h"
#include "envelope/kiv_envelope_computer.h"

class KivEnvelope;

// A custom attack or release shape drawn as an envelope, as the detector reads it: the value
// of the compiled envelope at the distance between signal and level.
class KivEnvelopeFollowerShape final : public KivFollowerShape {
public:
    // Not for the audio thread: compiling allocates the evaluation items.
    void Compile(const KivEnvelope& shape) { computer_.Compile(shape); }
    double Value(double distance) noexcept override { return computer_.Value(distance); }

private:
    KivEnvelopeComputer computer_;
};
