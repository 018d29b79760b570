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

// One chunk: values in, envelopes of attack samples in `values`, logarithms of release
// samples in `logarithms` (others marked).
template <typename Attack>
void RunChunk(KivEnvelopeChannel& channel, Envelope& envelope, double* values, double* logarithms, int32_t count,
              const KivEnvelopeContext& context) noexcept {
    double releaseCoefficient = channel.release.releaseCoefficient;
    uint8_t counter = channel.stepCounter;
    for (int32_t i = 0; i < count; ++i) {
        const double x = values[i], lnX = logarithms[i];
        const bool release = envelope.inLogarithm ? lnX <= envelope.logarithm : x <= envelope.linear;
        if (release) {
            if (!envelope.inLogarithm) envelope.logarithm = std::log(envelope.linear);
            envelope.inLogarithm = true;
            envelope.logarithm = lnX * (1.0 - releaseCoefficient) + envelope.logarithm * releaseCoefficient;
            logarithms[i] = envelope.logarithm;
        } else {
            if (envelope.inLogarithm) envelope.linear = std::exp(envelope.logarithm);
            envelope.inLogarithm = false;
            envelope.linear = Attack::Step(envelope.linear, x, context.attackCoefficient, context.attackShape);
            values[i] = envelope.linear;
            logarithms[i] = kLinearMark;
        }
        if (++counter == kUpdateInterval) {
            counter = 0;
            if (context.releaseModeUpdate != nullptr) {
                context.releaseModeUpdate(*context.releaseModeBlock, channel.release, envelope.Linear());
                releaseCoefficient = channel.release.releaseCoefficient;
            }
        }
    }
    channel.stepCounter = counter;
}

// Release samples take the exponential of their logarithm; returns the chunk's largest.
inline double ResolveChunk(double* values, double* logarithms, int32_t count) noexcept {
    double exponentials[kChunk];
    KivVectorExpLog::Exponentials(logarithms, exponentials, count);
    for (int32_t i = 0; i < count; ++i) values[i] = logarithms[i] == kLinearMark ? values[i] : exponentials[i];
    double largest = 0.0;  // its own pass, so that the selection above runs as vector operations
    for (int32_t i = 0; i < count; ++i) largest = std::max(largest, values[i]);
    return largest;
}

template <typename Attack>
double Run(KivEnvelopeChannel& channel, double* values, int32_t count, const KivEnvelopeContext& context) {
    if (count <= 0) return channel.envelope;
    Envelope envelope{channel.envelope, 0.0, false};
    double largest = 0.0;
    double logarithms[kChunk];
    for (int32_t start = 0; start < count; start += kChunk) {
        const int32_t n = std::min(kChunk, count - start);
        KivVectorExpLog::Logarithms(values + start, logarithms, n);
        RunChunk<Attack>(channel, envelope, values + start, logarithms, n, context);
        largest = std::max(largest, ResolveChunk(values + start, logarithms, n));
        // The next chunk goes on from the envelope as the output shows it.
        envelope = {values[start + n - 1], 0.0, false};
    }
    channel.envelope = envelope.linear;
    return largest;
}

}  // namespace KivLogarithmicReleaseLoop
