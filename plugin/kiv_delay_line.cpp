#include "plugin/kiv_delay_line.h"

#include <cstring>

void KivDelayLine::SetDelay(int32_t samples) {
    if (samples < 0) samples = 0;
    if (samples == delay_) return;
    history_.Reserve(samples);
    delay_ = samples;
    Reset();
}

void KivDelayLine::Reset() {
    history_.Clear();
    writePosition_ = 0;
}

void KivDelayLine::Process(const float* input, float* output, int32_t count) noexcept {
    if (delay_ == 0) {
        if (input != output) std::memmove(output, input, sizeof(float) * static_cast<size_t>(count));
        return;
    }
    float* history = history_.Data();
    // The capacity is a power of two, so wrapping is a mask.
    const int32_t mask = history_.Capacity() - 1;
    int32_t position = writePosition_;
    for (int32_t i = 0; i < count; ++i) {
        const float incoming = input[i];
        output[i] = history[(position - delay_) & mask];
        history[position] = incoming;
        position = (position + 1) & mask;
    }
    writePosition_ = position;
}
