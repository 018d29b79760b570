#include "tests/entry/pass_through/kiv_pass_through_effect.h"

#include <cstring>

void KivPassThroughEffect::InitProcessing(int32_t channels, int32_t /*sampleRate*/) { channels_ = channels; }

void KivPassThroughEffect::Process(const KivProcessingContext& /*context*/, float** inputs, float** outputs,
                                   int32_t count) {
    for (int32_t channel = 0; channel < channels_; ++channel) {
        // A host processing in place already has the input where the output goes.
        if (inputs[channel] != outputs[channel])
            std::memcpy(outputs[channel], inputs[channel], sizeof(float) * static_cast<size_t>(count));
    }
}
