#pragma once

#include "plugin/oversampling/kiv_float_block.h"
#include "plugin/oversampling/kiv_halfband_design.h"
#include "plugin/oversampling/kiv_halfband_kernels.h"

// One stage of upsampling: doubles the rate of a block with a half-band filter, keeping the
// input history between blocks. The caller writes each block straight into InputArea(), so
// cascaded stages hand samples on without copying.
class KivHalfbandInterpolator {
public:
    // Allocates for blocks of up to `maxInput` samples and designs of up to `largestCount`
    // coefficients; afterwards nothing allocates.
    void Prepare(int maxInput, int largestCount);
    // Takes a design of at most the prepared size and clears the history.
    void SetDesign(const KivHalfbandDesign& design);
    void Reset();

    float* InputArea() { return samples_.Data() + historyLength_; }
    // Filters the n samples in InputArea() (which it may change: values too small to hear
    // become 0) into 2n samples at `output`.
    void Process(int n, float* output, KivHalfbandKernels::Path path);

private:
    KivFloatBlock samples_;       // history, then the current block
    KivFloatBlock coefficients_;  // the design's, doubled
    int historyLength_ = 0;       // enough for the largest design: 2 * largestCount - 1
    int count_ = 0;
};
