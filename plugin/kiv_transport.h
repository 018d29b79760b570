#pragma once
#include <cstdint>

// The host's transport as the adapters last reported it. Positions are in beats.
struct KivTransport {
    bool usesHostTime = false;  // the plug-in follows the host's tempo and position
    double tempo = 120.0;       // beats per minute
    double songPosition = 0.0;
    double barStartPosition = 0.0;
    int32_t timeSignatureNumerator = 4;
    int32_t timeSignatureDenominator = 4;
    double cycleStart = -1.0;  // -1 when no cycle is set
    double cycleEnd = -1.0;
    bool playing = false;
    bool playingChanged = false;
    bool positionJumped = false;

    // Moves the song position on by `samples` at `sampleRate`.
    void Advance(int32_t samples, double sampleRate) noexcept {
        if (sampleRate > 0) songPosition += samples * tempo / (60.0 * sampleRate);
    }
};
