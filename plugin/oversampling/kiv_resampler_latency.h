#pragma once

// How a cascade of half-band stages reaches a latency of whole base-rate samples.
struct KivResamplerLatency {
    int baseSamples;      // delay of the round trip, in base-rate samples
    int topExtraDelay;    // extra delay the last decimation stage adds, in its output samples
};

// Stage s (0 = next to the base rate) with a half-band of 4k-1 taps delays by 2k-1 samples
// of its high rate on the way up and again on the way down. At the top rate, 2^stageCount
// times the base rate, that sums to an even number of samples; the last decimation stage
// adds half of what is missing to the next multiple of 2^stageCount.
KivResamplerLatency KivComputeResamplerLatency(const int* counts, int stageCount);
