#pragma once
#include <cstdint>

#include "dynamics/gain/kiv_shape_mode.h"
#include "envelope/kiv_envelope_computer.h"

class KivEnvelope;

struct KivGainStageSettings {
    double wet = 1.0;         // dry/wet, 1 = fully processed
    double inputGain = 1.0;   // linear
    double outputGain = 1.0;  // linear
    KivShapeMode shapeMode = kKivShapeSquared;
};

// Turns the detector envelope into the gain factor of every sample: the compiled transfer
// shape gives the output level for the envelope level, their quotient is the shape gain,
// which is blended with the dry signal and the input and output gains. The shape is set up
// when parameters are applied; computing gains never allocates. The shape is evaluated a
// chunk at a time with its remembered search position; square roots, logarithms and
// divisions run as separate passes over the chunk, so they vectorise.
class KivDynamicsGainStage {
public:
    static constexpr int32_t kChunk = 256;

    KivDynamicsGainStage();
    KivDynamicsGainStage(const KivDynamicsGainStage&) = delete;
    KivDynamicsGainStage& operator=(const KivDynamicsGainStage&) = delete;

    // Moves `shape` and `meterShape` (linear amplitude; an empty meter shape takes a copy of
    // the main one) into the mode's domain and compiles them. Not for the audio thread.
    void Apply(const KivGainStageSettings& settings, KivEnvelope& shape, KivEnvelope& meterShape);

    // gains[i] for envelope[i] (linear amplitude, kept away from zero by the detector).
    void ComputeGains(const double* envelope, double* gains, int32_t count) noexcept;
    // The same from the envelopes' natural logarithms (cheapest in the logarithmic mode).
    void ComputeGainsFromLogarithms(const double* logarithms, double* gains, int32_t count) noexcept;
    // The shape gains alone (wet gain 1, dry 0), for a caller that blends them itself.
    void ComputeShapeGains(const double* levels, double* gains, int32_t count, bool logarithms) noexcept;
    // Multiplies each sample of `signal` by its gain.
    void MultiplyGains(const double* envelope, float* signal, int32_t count) noexcept;
    // The gain reduction shown for a block whose envelope peaked at `blockMaximum`, taken
    // from the meter's own copy so the per-sample search position stays where it is.
    double MeterGain(double blockMaximum) noexcept;

    double GetWet() const noexcept { return wet_; }
    double GetDry() const noexcept { return dry_; }
    double GetInputGain() const noexcept { return inputGain_; }
    double GetOutputGain() const noexcept { return outputGain_; }
    double GetInverseGain() const noexcept { return inverseGain_; }
    double GetWetGain() const noexcept { return wetGain_; }
    KivShapeMode GetShapeMode() const noexcept { return shapeMode_; }

private:
    // Blended gains (wet gain and dry included) of at most kChunk levels.
    using ShapeGains = void (KivDynamicsGainStage::*)(const double* envelope, double* gains, int32_t count) noexcept;
    using ShapeValue = double (*)(KivEnvelopeComputer& computer, double level) noexcept;

    void LinearGains(const double* envelope, double* gains, int32_t count) noexcept;
    void SquaredGains(const double* envelope, double* gains, int32_t count) noexcept;
    void LogarithmicGains(const double* envelope, double* gains, int32_t count) noexcept;
    void LogarithmicGainsFromLogarithms(const double* logarithms, double* gains, int32_t count) noexcept;
    void IdentityGains(const double* envelope, double* gains, int32_t count) noexcept;

    double wet_ = 1.0;
    double dry_ = 0.0;
    double inputGain_ = 1.0;
    double outputGain_ = 1.0;
    double inverseGain_ = 1.0;
    double wetGain_ = 1.0;
    KivShapeMode shapeMode_ = kKivShapeSquared;
    // A shape on the diagonal (ratio 1:1, whatever the knee and mode) passes the signal
    // untouched between its ends, to the bit: no domain round trip of the level.
    struct Identity {
        bool on = false;
        double firstX = 0.0, firstY = 0.0, lastX = 0.0, lastY = 0.0;
        double Gain(double level) const noexcept;
        void Detect(const KivEnvelope& shape) noexcept;
    };
    Identity identity_;
    Identity meterIdentity_;
    ShapeGains shapeGains_;
    ShapeValue shapeValue_;
    KivEnvelopeComputer main_;
    KivEnvelopeComputer meter_;
    // Scratch of one chunk. Zeroed when the stage is made, off the audio thread: a stage made
    // in a new setup then brings pages the preparing thread has touched, rather than pages
    // the audio thread faults in at its first write.
    double levels_[kChunk]{};
    double gains_[kChunk]{};
    double values_[kChunk]{};
    double envelopes_[kChunk]{};
};
