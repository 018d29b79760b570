#include "entry/standin/kiv_standin_gain_effect.h"

#include <cmath>

#include "entry/kiv_product_effect.h"

KivAudioEffectPlugin* KivCreateProductEffect() { return new KivStandInGainEffect(); }

KivStandInGainEffect::KivStandInGainEffect() {
    DeclareGain(gain_);
    KivEffectParameterTable table;
    table.records = &gain_;
    table.recordCount = 1;
    DeclareParameters(table);
}

void KivStandInGainEffect::DeclareGain(KivEffectParameter& record) {
    record.type = kKivParameterTypeFloat;
    record.flags = KivEffectParameter::kDeclared | KivEffectParameter::kInterpolated |
                   KivEffectParameter::kRandomisable;
    record.name = "Gain";
    record.identifier = "Gain";
    record.format = "{+0.2} dB";
    record.values.asFloat = {kMinimumDecibels, kMaximumDecibels, 0.0, 0.0, 0.0, 0.0, kKivParameterCurveLinear};
}

void KivStandInGainEffect::InitProcessing(int32_t channels, int32_t sampleRate) {
    KivAudioEffectPlugin::InitProcessing(channels, sampleRate);
    channels_ = channels;
}

// The core cuts a block into sub-blocks while the gain moves, so one factor per call is a
// smooth ramp at block scale.
void KivStandInGainEffect::Process(const KivProcessingContext& /*context*/, float** inputs, float** outputs,
                                   int32_t count) {
    const float factor = static_cast<float>(std::pow(10.0, gain_.values.asFloat.value / 20.0));
    for (int32_t channel = 0; channel < channels_; ++channel) {
        const float* input = inputs[channel];
        float* output = outputs[channel];
        for (int32_t i = 0; i < count; ++i) output[i] = input[i] * factor;
    }
}
