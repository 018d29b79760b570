#include "dynamics/gain/kiv_dynamics_gain_stage.h"

#include <algorithm>
#include <cmath>

#include "dynamics/detector/kiv_vector_clones.h"
#include "dynamics/detector/kiv_vector_exp_log.h"
#include "dynamics/gain/kiv_shape_domain.h"
#include "envelope/kiv_envelope.h"
#include "envelope/kiv_envelope_segment_type.h"

namespace {

// The shapes begin at silence, -140 dB (an amplitude of 1e-7); a detector level below it
// counts as silence. Below that a shape's output is not defined by its rows: one whose
// bottom an expansion or a gate lifts holds an audible output there, and gain = output /
// level then grows without bound as the level falls. A silent side-chain (or a detector
// starting from rest) keying a loud main signal turned that into gains of 10^11 and more.
// The floor also guards the divisions should an envelope reach zero.
constexpr double kLevelFloor = 1e-7;
constexpr double kLogarithmFloor = -16.11809565095832;  // ln 1e-7
constexpr double kLn10 = 2.302585092994045684;
constexpr double kInverseLn10 = 0.4342944819032518277;
constexpr double kMaximumMeterGain = 1000.0;

double Floored(double level) noexcept { return std::max(level, kLevelFloor); }

// The element-wise passes of the shape gains (no buffer is another's).
KIV_VECTOR_CLONES void FloorLevels(const double* envelope, double* levels, int32_t count) noexcept {
    for (int32_t i = 0; i < count; ++i) levels[i] = Floored(envelope[i]);
}

KIV_VECTOR_CLONES void FloorLevelsAndRoots(const double* envelope, double* levels, double* roots,
                                           int32_t count) noexcept {
    for (int32_t i = 0; i < count; ++i) {
        levels[i] = Floored(envelope[i]);
        roots[i] = std::sqrt(levels[i]);
    }
}

KIV_VECTOR_CLONES void Scale(double* values, double factor, int32_t count) noexcept {
    for (int32_t i = 0; i < count; ++i) values[i] *= factor;
}

// gain = value / level, blended: gain × wet gain + dry.
KIV_VECTOR_CLONES void BlendQuotients(const double* values, const double* levels, double wetGain, double dry,
                                      double* gains, int32_t count) noexcept {
    for (int32_t i = 0; i < count; ++i) gains[i] = values[i] / levels[i] * wetGain + dry;
}

KIV_VECTOR_CLONES void FloorLogarithms(const double* logarithms, double* levels, int32_t count) noexcept {
    for (int32_t i = 0; i < count; ++i) levels[i] = std::max(logarithms[i], kLogarithmFloor);
}

KIV_VECTOR_CLONES void ScaleInto(const double* values, double factor, double* scaled, int32_t count) noexcept {
    for (int32_t i = 0; i < count; ++i) scaled[i] = values[i] * factor;
}

// ln 10 · f − ln e: the exponent of 10^f / e.
KIV_VECTOR_CLONES void QuotientExponents(double* values, const double* logarithms, int32_t count) noexcept {
    for (int32_t i = 0; i < count; ++i) values[i] = values[i] * kLn10 - logarithms[i];
}

KIV_VECTOR_CLONES void Blend(const double* shapeGains, double wetGain, double dry, double* gains,
                             int32_t count) noexcept {
    for (int32_t i = 0; i < count; ++i) gains[i] = shapeGains[i] * wetGain + dry;
}

// The same with the value squared (root-amplitude shapes).
KIV_VECTOR_CLONES void BlendSquaredQuotients(const double* values, const double* levels, double wetGain, double dry,
                                             double* gains, int32_t count) noexcept {
    for (int32_t i = 0; i < count; ++i) gains[i] = values[i] * values[i] / levels[i] * wetGain + dry;
}

// The shape gain f(e) / e of one level, in each domain.
double LinearShapeGain(KivEnvelopeComputer& shape, double level) noexcept {
    level = Floored(level);
    return shape.Value(level) / level;
}

double SquaredShapeGain(KivEnvelopeComputer& shape, double level) noexcept {
    level = Floored(level);
    double root = shape.Value(std::sqrt(level));
    return root * root / level;
}

double LogarithmicShapeGain(KivEnvelopeComputer& shape, double level) noexcept {
    level = Floored(level);
    return std::exp(kLn10 * shape.Value(std::log10(level))) / level;
}

// A straight segment from the point (no curvature, no stairs or pulses).
bool IsStraight(const KivEnvelopePoint& point) noexcept {
    if (point.segmentType < kKivSegmentQuadratic || point.segmentType > kKivSegmentDouble) return false;
    if (std::fabs(point.curvature) >= 1e-20) return false;
    return point.segmentType != kKivSegmentBezier || std::fabs(point.horizontalCurvature) < 1e-20;
}

// On the diagonal within rounding: the builder's rows pass through decibels and back.
bool OnDiagonal(const KivEnvelopePoint& point) noexcept {
    return std::fabs(point.y - point.x) <= 1e-12 * std::fabs(point.x);
}

}  // namespace

void KivDynamicsGainStage::Identity::Detect(const KivEnvelope& shape) noexcept {
    const int32_t count = shape.GetPointCount();
    on = count >= 2;
    for (int32_t i = 0; on && i < count; ++i) {
        const KivEnvelopePoint& point = shape.GetPoint(i);
        on = OnDiagonal(point) && (i + 1 == count || IsStraight(point));
    }
    if (!on) return;
    firstX = shape.GetPoint(0).x;
    firstY = shape.GetPoint(0).y;
    lastX = shape.GetPoint(count - 1).x;
    lastY = shape.GetPoint(count - 1).y;
}

// Beyond its ends the shape holds the end's output, as every shape does (above the last
// point that limits the level back to it).
double KivDynamicsGainStage::Identity::Gain(double level) const noexcept {
    level = Floored(level);
    if (level > lastX) return lastY / level;
    if (level < firstX) return firstY / level;
    return 1.0;
}

KivDynamicsGainStage::KivDynamicsGainStage()
    : shapeGains_(&KivDynamicsGainStage::SquaredGains), shapeValue_(SquaredShapeGain) {}

void KivDynamicsGainStage::Apply(const KivGainStageSettings& settings, KivEnvelope& shape, KivEnvelope& meterShape) {
    wet_ = settings.wet;
    dry_ = 1.0 - settings.wet;
    inputGain_ = settings.inputGain;
    outputGain_ = settings.outputGain;
    inverseGain_ = 1.0 / (settings.inputGain * settings.outputGain);
    wetGain_ = settings.inputGain * settings.outputGain * settings.wet;
    shapeMode_ = settings.shapeMode;
    switch (shapeMode_) {
    case kKivShapeLinear:
        shapeGains_ = &KivDynamicsGainStage::LinearGains;
        shapeValue_ = LinearShapeGain;
        break;
    case kKivShapeLogarithmic:
        shapeGains_ = &KivDynamicsGainStage::LogarithmicGains;
        shapeValue_ = LogarithmicShapeGain;
        break;
    case kKivShapeSquared:
        shapeGains_ = &KivDynamicsGainStage::SquaredGains;
        shapeValue_ = SquaredShapeGain;
        break;
    }
    if (meterShape.GetPointCount() == 0) meterShape.CopyFrom(shape);
    identity_.Detect(shape);
    meterIdentity_.Detect(meterShape);
    if (identity_.on) shapeGains_ = &KivDynamicsGainStage::IdentityGains;
    KivConvertShapeDomain(shape, shapeMode_);
    KivConvertShapeDomain(meterShape, shapeMode_);
    main_.Compile(shape);
    meter_.Compile(meterShape);
}

// The shape runs as one pass over the chunk (a virtual call per run of samples on one
// segment, not per sample); square roots, logarithms and exponentials as passes of their
// own, so they vectorise; the quotient and the blend with the dry signal share the last
// pass. Same values as sample by sample.
void KivDynamicsGainStage::LinearGains(const double* envelope, double* gains, int32_t count) noexcept {
    FloorLevels(envelope, levels_, count);
    main_.Values(levels_, values_, count);
    BlendQuotients(values_, levels_, wetGain_, dry_, gains, count);
}

void KivDynamicsGainStage::SquaredGains(const double* envelope, double* gains, int32_t count) noexcept {
    FloorLevelsAndRoots(envelope, levels_, gains_, count);
    main_.Values(gains_, values_, count);
    BlendSquaredQuotients(values_, levels_, wetGain_, dry_, gains, count);
}

// Logarithms and exponentials within 2 ulp of the C library's.
void KivDynamicsGainStage::LogarithmicGains(const double* envelope, double* gains, int32_t count) noexcept {
    FloorLevels(envelope, levels_, count);
    KivVectorExpLog::Logarithms(levels_, gains_, count);
    Scale(gains_, kInverseLn10, count);
    main_.Values(gains_, values_, count);
    Scale(values_, kLn10, count);
    KivVectorExpLog::Exponentials(values_, gains_, count);
    BlendQuotients(gains_, levels_, wetGain_, dry_, gains, count);
}

// From the envelopes' natural logarithms the logarithm pass is not needed, and the
// division by the envelope becomes a subtraction in the exponent. Differs from the path
// through the envelopes by rounding only (relative 1e-15 of the gain).
void KivDynamicsGainStage::LogarithmicGainsFromLogarithms(const double* logarithms, double* gains,
                                                          int32_t count) noexcept {
    FloorLogarithms(logarithms, levels_, count);
    ScaleInto(levels_, kInverseLn10, gains_, count);
    main_.Values(gains_, values_, count);
    QuotientExponents(values_, levels_, count);
    KivVectorExpLog::Exponentials(values_, gains_, count);
    Blend(gains_, wetGain_, dry_, gains, count);
}

void KivDynamicsGainStage::IdentityGains(const double* envelope, double* gains,
                                         int32_t count) noexcept {
    const Identity identity = identity_;
    for (int32_t i = 0; i < count; ++i) gains[i] = identity.Gain(envelope[i]) * wetGain_ + dry_;
}

void KivDynamicsGainStage::ComputeGainsFromLogarithms(const double* logarithms, double* gains,
                                                      int32_t count) noexcept {
    for (int32_t start = 0; start < count; start += kChunk) {
        const int32_t n = std::min(kChunk, count - start);
        if (shapeMode_ == kKivShapeLogarithmic && !identity_.on) {
            LogarithmicGainsFromLogarithms(logarithms + start, gains + start, n);
        } else {
            KivVectorExpLog::Exponentials(logarithms + start, envelopes_, n);
            (this->*shapeGains_)(envelopes_, gains + start, n);
        }
    }
}

void KivDynamicsGainStage::ComputeGains(const double* envelope, double* gains, int32_t count) noexcept {
    for (int32_t start = 0; start < count; start += kChunk)
        (this->*shapeGains_)(envelope + start, gains + start, std::min(kChunk, count - start));
}

void KivDynamicsGainStage::ComputeShapeGains(const double* levels, double* gains, int32_t count,
                                             bool logarithms) noexcept {
    const double wetGain = wetGain_, dry = dry_;
    wetGain_ = 1.0;
    dry_ = 0.0;
    if (logarithms) ComputeGainsFromLogarithms(levels, gains, count);
    else ComputeGains(levels, gains, count);
    wetGain_ = wetGain;
    dry_ = dry;
}

void KivDynamicsGainStage::MultiplyGains(const double* envelope, float* signal, int32_t count) noexcept {
    double chunkGains[kChunk];
    for (int32_t start = 0; start < count; start += kChunk) {
        int32_t n = std::min(kChunk, count - start);
        (this->*shapeGains_)(envelope + start, chunkGains, n);
        for (int32_t i = 0; i < n; ++i)
            signal[start + i] = static_cast<float>(signal[start + i] * chunkGains[i]);
    }
}

double KivDynamicsGainStage::MeterGain(double blockMaximum) noexcept {
    if (blockMaximum - 1e-20 <= 0.0) return 1.0;
    double shapeGain = meterIdentity_.on ? meterIdentity_.Gain(blockMaximum) : shapeValue_(meter_, blockMaximum);
    double gain = std::min(shapeGain, kMaximumMeterGain);
    return gain * wet_ + dry_;
}
