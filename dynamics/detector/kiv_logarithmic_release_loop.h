#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "dynamics/detector/kiv_attack_release_processor.h"
#include "dynamics/detector/kiv_vector_exp_log.h"

// The envelope loop for the logarithmic release, e = exp(ln x (1 - k) + ln e k), with any
// attack step. While the envelope releases it lives as its logarithm L, where the step is
// the plain blend L = ln x (1 - k) + L k: the logarithms of the detector values are taken
// for a whole chunk beforehand and the envelopes' exponentials afterwards, both as vector
// passes, so the sample-by-sample recursion carries no transcendental call. Only a switch
// between attack and release costs one scalar exp or log. The result follows the
// sample-by-sample formula to a relative 1e-12 (it skips that formula's rounding of e on
// every sample).
namespace KivLogarithmicReleaseLoop {

constexpr int32_t kChunk = 256;
constexpr uint8_t kUpdateInterval = 16;
// Marks a sample whose envelope is already in linear amplitude (an attack sample) in the
// chunk's logarithms; no envelope logarithm comes near it.
constexpr double kLinearMark = 1e300;

// The envelope in whichever form the last step left it.
struct Envelope {
    double linear;
    double logarithm;
    bool inLogarithm;

    double Linear() const noexcept { return inLogarithm ? std::exp(logarithm) : linear; }
};

// The samples i .. end-1, none of which is due for a release-mode update: runs of release
// samples in the logarithm and runs of attack samples in linear amplitude, each in a loop
// of its own. A run ends at the first sample of the other kind, which is stepped at once in
// the other form, so each sample is decided by the comparison in the form the previous step
// left, as in a single loop over both kinds.
template <typename Attack>
void RunSteps(Envelope& envelope, double* values, double* logarithms, int32_t i, int32_t end,
              double releaseCoefficient, const KivEnvelopeContext& context) noexcept {
    const double k = releaseCoefficient, blend = 1.0 - releaseCoefficient;
    while (i < end) {
        if (envelope.inLogarithm) {
            double l = envelope.logarithm;
            for (; i < end && logarithms[i] <= l; ++i) logarithms[i] = l = logarithms[i] * blend + l * k;
            envelope.logarithm = l;
            if (i == end) return;
            envelope.inLogarithm = false;
            envelope.linear = Attack::Step(std::exp(l), values[i], context.attackCoefficient, context.attackShape);
            values[i] = envelope.linear;
            logarithms[i] = kLinearMark;
        } else {
            double e = envelope.linear;
            for (; i < end && !(values[i] <= e); ++i) {
                values[i] = e = Attack::Step(e, values[i], context.attackCoefficient, context.attackShape);
                logarithms[i] = kLinearMark;
            }
            envelope.linear = e;
            if (i == end) return;
            envelope.inLogarithm = true;
            envelope.logarithm = logarithms[i] = logarithms[i] * blend + std::log(e) * k;
        }
        ++i;
    }
}

// One chunk: values in, envelopes of attack samples in `values`, logarithms of release
// samples in `logarithms` (others marked). The release mode is updated after every
// kUpdateInterval-th sample, counted across blocks.
template <typename Attack>
void RunChunk(KivEnvelopeChannel& channel, Envelope& envelope, double* values, double* logarithms, int32_t count,
              const KivEnvelopeContext& context) noexcept {
    uint8_t counter = channel.stepCounter;
    for (int32_t i = 0; i < count;) {
        const int32_t end = std::min(count, i + std::max(1, kUpdateInterval - counter));
        RunSteps<Attack>(envelope, values, logarithms, i, end, channel.release.releaseCoefficient, context);
        counter = static_cast<uint8_t>(counter + (end - i));
        i = end;
        if (counter == kUpdateInterval) {
            counter = 0;
            if (context.releaseModeUpdate != nullptr)
                context.releaseModeUpdate(*context.releaseModeBlock, channel.release, envelope.Linear());
        }
    }
    channel.stepCounter = counter;
}

// Release samples take the exponential of their logarithm; returns the chunk's largest.
double ResolveChunk(double* values, double* logarithms, int32_t count) noexcept;
// For logarithmic output: every sample gets the natural logarithm of its envelope (release
// samples keep the one they have, attack samples take the logarithm of theirs); returns the
// chunk's largest envelope.
double KeepLogarithms(double* values, double* logarithms, int32_t count) noexcept;
// The envelope of the chunk's last sample as ResolveChunk would leave it.
double LastEnvelope(const double* values, const double* logarithms, int32_t count) noexcept;

template <typename Attack>
double Run(KivEnvelopeChannel& channel, double* values, int32_t count, const KivEnvelopeContext& context) {
    if (count <= 0) return channel.envelope;
    Envelope envelope{channel.envelope, channel.logarithm, channel.logarithmOf == channel.envelope};
    double largest = 0.0;
    double logarithms[kChunk];
    for (int32_t start = 0; start < count; start += kChunk) {
        const int32_t n = std::min(kChunk, count - start);
        KivVectorExpLog::Logarithms(values + start, logarithms, n);
        RunChunk<Attack>(channel, envelope, values + start, logarithms, n, context);
        // The next chunk goes on from the envelope in the form the last step left it.
        if (envelope.inLogarithm) envelope.linear = LastEnvelope(values + start, logarithms, n);
        if (context.logarithmicOutput) {
            largest = std::max(largest, KeepLogarithms(values + start, logarithms, n));
        } else {
            largest = std::max(largest, ResolveChunk(values + start, logarithms, n));
        }
    }
    channel.envelope = envelope.linear;
    channel.logarithm = envelope.logarithm;
    channel.logarithmOf = envelope.inLogarithm ? envelope.linear : -1.0;
    return largest;
}

}  // namespace KivLogarithmicReleaseLoop
