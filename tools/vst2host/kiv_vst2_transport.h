#pragma once
#include <cstdint>

#include "hosts/vst2/vst2_abi.h"

// The song position a host keeps for its plug-ins: a sample counter advanced by every
// processed block, a tempo and a time signature. Answers the plug-ins' time requests.
class KivVst2Transport {
public:
    double samplePosition = 0.0;
    double sampleRate = 44100.0;
    double tempo = 120.0;  // beats per minute
    int32_t timeSignatureNumerator = 4;
    int32_t timeSignatureDenominator = 4;
    bool playing = true;

    void Advance(int32_t sampleFrames) { samplePosition += sampleFrames; }
    // Position in quarter notes.
    double QuarterPosition() const;
    // Start of the current bar in quarter notes.
    double BarStartPosition() const;
    // Fills `info` with every field this transport knows; marks a start or stop since the
    // previous call as a transport change.
    void Describe(VstTimeInfo& info);

private:
    bool lastDescribedPlaying_ = false;
    bool described_ = false;
};
