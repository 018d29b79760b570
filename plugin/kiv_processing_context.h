#pragma once
#include <cstdint>

// What the effect's Process gets besides the samples: the editor mode and the host's
// transport and the side-chain. Every transport field is -1 while the host is not playing.
struct KivProcessingContext {
    int32_t editorMode = 0;
    double tempo = -1.0;
    double songPosition = -1.0;
    double barStartPosition = -1.0;
    int32_t timeSignatureNumerator = -1;
    int32_t timeSignatureDenominator = -1;
    // The side-chain's channels, laid out like the effect's inputs (mid and side in those
    // modes), or null while no side-chain is present: the effect then keys on its inputs.
    float* const* sideChain = nullptr;
};
