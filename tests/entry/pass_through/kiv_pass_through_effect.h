#pragma once
#include <cstdint>

#include "plugin/kiv_audio_effect_plugin.h"

// An effect that hands its input on unchanged: what is left of a plug-in's processing cost
// around it is the framework's own. It declares no parameters and no latency.
class KivPassThroughEffect : public KivAudioEffectPlugin {
public:
    void InitProcessing(int32_t channels, int32_t sampleRate) override;
    void Process(const KivProcessingContext& context, float** inputs, float** outputs, int32_t count) override;

private:
    int32_t channels_ = 0;
};
