#include "plugin/oversampling/kiv_resampler_latency.h"

KivResamplerLatency KivComputeResamplerLatency(const int* counts, int stageCount) {
    const int topFactor = 1 << stageCount;
    int topSamples = 0;
    for (int stage = 0; stage < stageCount; ++stage) {
        const int roundTripAtStageRate = 2 * (2 * counts[stage] - 1);
        topSamples += roundTripAtStageRate << (stageCount - 1 - stage);
    }
    const int missing = (topFactor - topSamples % topFactor) % topFactor;
    return {(topSamples + missing) / topFactor, missing / 2};
}
