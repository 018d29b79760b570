#pragma once

// Pass-band width of the oversampling filters. Steep keeps the band up to 20 kHz at a 44.1 kHz
// base rate (0.4535 of the base rate) flat; Gentle keeps 0.40 of the base rate (17.64 kHz at
// 44.1 kHz) and in exchange needs about half the taps and latency in the first stage.
enum class KivResamplerSlope { kSteep, kGentle };

// One half-band filter: the coefficients at the odd distances 1, 3, ..., 2k-1 from the centre
// tap, which is 1/2; every other tap is zero. The filter has 4k-1 taps and delays by 2k-1
// samples of its high rate.
struct KivHalfbandDesign {
    const float* coefficients;
    int count;  // k
};

namespace KivHalfbandDesigns {

// Number of cascaded stages for the largest oversampling factor, 8.
inline constexpr int kStageCount = 3;

// The filter of `stage` (0 works between the base rate and 2x, 1 between 2x and 4x, 2 between
// 4x and 8x). High quality reaches at least 96 dB stop-band attenuation, low quality 60 dB;
// the generator writes the figures reached beside each table.
KivHalfbandDesign Get(bool highQuality, KivResamplerSlope slope, int stage);

// The largest k of all designs of `stage`: history buffers sized for it never need to grow
// when the quality or the slope changes.
int LargestCount(int stage);

}  // namespace KivHalfbandDesigns
