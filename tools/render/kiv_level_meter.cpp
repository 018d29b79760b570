#include "tools/render/kiv_level_meter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kSilence = -999.0;

double Decibels(double amplitude) { return amplitude > 0.0 ? 20.0 * std::log10(amplitude) : kSilence; }

}  // namespace

KivLevels KivLevels::Of(const KivAudioData& audio) {
    double peak = 0.0, sumOfSquares = 0.0;
    int64_t samples = 0;
    for (const std::vector<float>& channel : audio.channels) {
        for (float sample : channel) {
            peak = std::max(peak, std::fabs(static_cast<double>(sample)));
            sumOfSquares += static_cast<double>(sample) * sample;
        }
        samples += static_cast<int64_t>(channel.size());
    }
    KivLevels levels;
    levels.peakDecibels = Decibels(peak);
    levels.rmsDecibels = samples ? Decibels(std::sqrt(sumOfSquares / static_cast<double>(samples))) : kSilence;
    return levels;
}

std::string KivLevels::Describe() const {
    char text[64];
    std::snprintf(text, sizeof(text), "peak %7.2f dBFS, RMS %7.2f dBFS", peakDecibels, rmsDecibels);
    return text;
}
