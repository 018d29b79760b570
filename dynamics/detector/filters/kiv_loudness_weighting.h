#pragma once
#include <cstdint>

#include "dynamics/detector/filters/kiv_biquad.h"

// The psycho-acoustic prefilter: a fixed weighting that follows the ear's sensitivity at a
// moderate listening level, so that the detector hears bass and the top octave as much
// quieter than the presence region, the way a listener does.
//
// Target: the inverse of the 40-phon equal-loudness contour of ISO 226:2003, 0 dB at 1 kHz
// (about -60 dB at 20 Hz, +4.4 dB near 3.15 kHz, -14 dB near 10 kHz). Four analogue sections
// were fitted to the contour at the 29 frequencies of the standard (20 Hz to 12.5 kHz) with a
// minimax-like criterion over their digital versions at 44.1, 48 and 96 kHz; each sample rate
// gets its own sections through the pre-warped bilinear transform. Largest deviation from
// the contour at those 29 frequencies: 0.56 dB (44.1, 48 and 96 kHz). Above 12.5 kHz, where
// the standard has no data, the response falls gently to about -7 dB at 20 kHz.
struct KivLoudnessWeighting {
    static constexpr int32_t kSectionCount = 4;
    KivBiquadCoefficients sections[kSectionCount];

    void Design(double sampleRate) noexcept;
};
