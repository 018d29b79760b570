#pragma once
#include <cstdint>

#include "dynamics/detector/filters/kiv_biquad.h"

class KivXMLItem;

// The six-band side-chain equaliser: a low shelf, four peaks and a high shelf, each with
// frequency, quality and gain. It shapes what the detector listens to (for example less
// bass so that a kick drum does not pump the whole mix). The defaults are flat (0 dB) at
// 100 Hz, 300 Hz, 1 kHz, 3 kHz, 6 kHz and 10 kHz.
struct KivSideChainEqualizer {
    enum Kind : int32_t { kLowShelf, kPeak, kHighShelf };
    struct Band {
        double frequency;
        double quality;
        double gainDecibels;
        bool operator==(const Band&) const = default;
    };
    static constexpr int32_t kBandCount = 6;

    Band bands[kBandCount] = {{100.0, 0.707, 0.0},  {300.0, 1.0, 0.0},  {1000.0, 1.0, 0.0},
                              {3000.0, 1.0, 0.0}, {6000.0, 1.0, 0.0}, {10000.0, 0.707, 0.0}};

    bool operator==(const KivSideChainEqualizer&) const = default;

    static Kind KindOf(int32_t band) noexcept;
    void Design(double sampleRate, KivBiquadCoefficients (&sections)[kBandCount]) const noexcept;

    // One child item per band ("Band0" .. "Band5") with "Frequency", "Q" and "Gain";
    // `storing` writes them, otherwise they are read and absent values stay as they are.
    void Store(KivXMLItem& item, bool storing);
};
