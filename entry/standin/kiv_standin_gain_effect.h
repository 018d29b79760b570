#pragma once
#include <cstdint>

#include "parameters/kiv_effect_parameter.h"
#include "plugin/kiv_audio_effect_plugin.h"

// A pass-through effect with one smoothed "Gain" parameter, shipped in place of the dynamics
// effect until that exists, so that the library can be loaded, automated and rendered from
// end to end. Delete this folder when the product effect lands.
class KivStandInGainEffect : public KivAudioEffectPlugin {
public:
    static constexpr double kMinimumDecibels = -24.0;
    static constexpr double kMaximumDecibels = 24.0;

    KivStandInGainEffect();

    void InitProcessing(int32_t channels, int32_t sampleRate) override;
    void Process(const KivProcessingContext& context, float** inputs, float** outputs, int32_t count) override;

private:
    static void DeclareGain(KivEffectParameter& record);

    KivEffectParameter gain_;
    int32_t channels_ = 2;
};
