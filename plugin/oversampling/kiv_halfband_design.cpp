#include "plugin/oversampling/kiv_halfband_design.h"

#include <algorithm>

namespace {

// Coefficients are committed as exact hexadecimal literals so that both platforms filter
// with the same numbers, whatever their maths library would compute.
#include "plugin/oversampling/generated/kiv_halfband_coefficients.inc"

template <size_t N>
constexpr KivHalfbandDesign Entry(const float (&coefficients)[N]) {
    return {coefficients, static_cast<int>(N)};
}

// [quality: low, high][slope: steep, gentle][stage]
constexpr KivHalfbandDesign kDesigns[2][2][KivHalfbandDesigns::kStageCount] = {
    {{Entry(kLowSteepStage0), Entry(kLowSteepStage1), Entry(kLowSteepStage2)},
     {Entry(kLowGentleStage0), Entry(kLowGentleStage1), Entry(kLowGentleStage2)}},
    {{Entry(kHighSteepStage0), Entry(kHighSteepStage1), Entry(kHighSteepStage2)},
     {Entry(kHighGentleStage0), Entry(kHighGentleStage1), Entry(kHighGentleStage2)}},
};

}  // namespace

namespace KivHalfbandDesigns {

KivHalfbandDesign Get(bool highQuality, KivResamplerSlope slope, int stage) {
    const int slopeIndex = slope == KivResamplerSlope::kGentle ? 1 : 0;
    return kDesigns[highQuality ? 1 : 0][slopeIndex][stage];
}

int LargestCount(int stage) {
    int largest = 0;
    for (const auto& quality : kDesigns) {
        for (const auto& slope : quality) largest = std::max(largest, slope[stage].count);
    }
    return largest;
}

}  // namespace KivHalfbandDesigns
