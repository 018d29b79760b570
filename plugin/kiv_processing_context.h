#pragma once
#include <cstdint>

// What the effect's Process gets besides the samples: the editor mode and the host's
// transport. Every transport field is -1 while the host is not playing.
struct KivProcessingContext {
    int32_t editorMode = 0;
    double tempo = -1.0;
    double songPosition = -1.0;
    double barStartPosition = -1.0;
    int32_t timeSignatureNumerator = -1;
    int32_t timeSignatureDenominator = -1;
};
