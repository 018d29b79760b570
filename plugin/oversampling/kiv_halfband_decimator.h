#pragma once

#include "plugin/oversampling/kiv_float_block.h"
#include "plugin/oversampling/kiv_halfband_design.h"
#include "plugin/oversampling/kiv_halfband_kernels.h"

// One stage of downsampling: halves the rate of a block with a half-band filter, keeping the
// history of both phases between blocks. An extra delay (in output samples) lets the
// resampler round its total latency up to whole base-rate samples.
class KivHalfbandDecimator {
public:
    // Allocates for blocks of up to `maxOutput` output samples, designs of up to
    // `largestCount` coefficients and extra delays up to `largestExtraDelay`; afterwards
    // nothing allocates.
    void Prepare(int maxOutput, int largestCount, int largestExtraDelay);
    // Takes a design and extra delay of at most the prepared sizes and clears the history.
    void SetDesign(const KivHalfbandDesign& design, int extraDelay);
    void Reset();

    // Filters 2n samples at `input` into n samples at `output`; output may be the input.
    void Process(const float* input, int n, float* output, KivHalfbandKernels::Path path);

private:
    KivFloatBlock even_;  // history, then the even phase of the current block
    KivFloatBlock odd_;   // history, then the odd phase
    int evenHistory_ = 0;
    int oddHistory_ = 0;
    KivHalfbandDesign design_{nullptr, 0};
    int extraDelay_ = 0;
};
