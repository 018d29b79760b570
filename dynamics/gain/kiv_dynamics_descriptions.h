#pragma once
#include <cstdint>

// One enabled compressor/expander as the shape builder reads it.
struct KivDynamicsProcessorDescription {
    double threshold = 0.5;  // linear amplitude
    double ratio = 1.0;      // effective ratio; kKivInfiniteRatio for a limiter
    double knee = 0.0;       // 0 .. 1, becomes curvature and smoothness of the breakpoints
    double range = 96.0;     // dB above (compressor) or below (expander) the threshold it acts over
    uint8_t compressor = 1;  // 0: expander, acting below its threshold
};

// The enabled noise gate.
struct KivDynamicsGateDescription {
    double threshold = 0.01;  // linear amplitude
    double knee = 0.0;
    double size = 24.0;    // dB from the threshold down to where the output reaches the bottom
    double bottom = 0.0;   // linear amplitude of the closed gate
};
