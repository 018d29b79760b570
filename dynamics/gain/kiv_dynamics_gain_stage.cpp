#include "dynamics/gain/kiv_dynamics_gain_stage.h"

#include <algorithm>
#include <cmath>

#include "dynamics/detector/kiv_vector_exp_log.h"
#include "dynamics/gain/kiv_shape_domain.h"
#include "envelope/kiv_envelope.h"

namespace {

// Guards the divisions should an envelope ever reach zero; far below any audible level.
constexpr double kLevelFloor = 1e-30;
constexpr double kLn10 = 2.302585092994045684;
constexpr double kInverseLn10 = 0.4342944819032518277;
constexpr double kMaximumMeterGain = 1000.0;

double Floored(double level) noexcept { return std::max(level, kLevelFloor); }

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

}  // namespace

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
    for (int32_t i = 0; i < count; ++i) levels_[i] = Floored(envelope[i]);
    main_.Values(levels_, values_, count);
    const double wetGain = wetGain_, dry = dry_;
    for (int32_t i = 0; i < count; ++i) gains[i] = values_[i] / levels_[i] * wetGain + dry;
}

void KivDynamicsGainStage::SquaredGains(const double* envelope, double* gains, int32_t count) noexcept {
    for (int32_t i = 0; i < count; ++i) {
        levels_[i] = Floored(envelope[i]);
        gains_[i] = std::sqrt(levels_[i]);
    }
    main_.Values(gains_, values_, count);
    const double wetGain = wetGain_, dry = dry_;
    for (int32_t i = 0; i < count; ++i) gains[i] = values_[i] * values_[i] / levels_[i] * wetGain + dry;
}

// Logarithms and exponentials within 2 ulp of the C library's.
void KivDynamicsGainStage::LogarithmicGains(const double* envelope, double* gains, int32_t count) noexcept {
    for (int32_t i = 0; i < count; ++i) levels_[i] = Floored(envelope[i]);
    KivVectorExpLog::Logarithms(levels_, gains_, count);
    for (int32_t i = 0; i < count; ++i) gains_[i] *= kInverseLn10;
    main_.Values(gains_, values_, count);
    for (int32_t i = 0; i < count; ++i) values_[i] *= kLn10;
    KivVectorExpLog::Exponentials(values_, gains, count);
    const double wetGain = wetGain_, dry = dry_;
    for (int32_t i = 0; i < count; ++i) gains[i] = gains[i] / levels_[i] * wetGain + dry;
}

void KivDynamicsGainStage::ComputeGains(const double* envelope, double* gains, int32_t count) noexcept {
    for (int32_t start = 0; start < count; start += kChunk)
        (this->*shapeGains_)(envelope + start, gains + start, std::min(kChunk, count - start));
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
    double gain = std::min(shapeValue_(meter_, blockMaximum), kMaximumMeterGain);
    return gain * wet_ + dry_;
}
