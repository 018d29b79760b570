#pragma once
#include <string>

#include "tools/render/kiv_audio_data.h"

// Peak and RMS over all channels of a signal, in dBFS.
struct KivLevels {
    double peakDecibels = -999.0;
    double rmsDecibels = -999.0;

    static KivLevels Of(const KivAudioData& audio);
    std::string Describe() const;
};
