#include "plugin/oversampling/kiv_halfband_interpolator.h"

#include <cstring>

void KivHalfbandInterpolator::Prepare(int maxInput, int largestCount) {
    historyLength_ = 2 * largestCount - 1;
    samples_.Resize(static_cast<size_t>(historyLength_ + maxInput));
    coefficients_.Resize(static_cast<size_t>(largestCount));
}

void KivHalfbandInterpolator::SetDesign(const KivHalfbandDesign& design) {
    count_ = design.count;
    // Inserting a zero after every sample halves the signal's amplitude; doubling the
    // coefficients (exact in binary) restores it.
    for (int t = 0; t < count_; ++t) coefficients_.Data()[t] = 2.0f * design.coefficients[t];
    Reset();
}

void KivHalfbandInterpolator::Reset() { samples_.Clear(static_cast<size_t>(historyLength_)); }

void KivHalfbandInterpolator::Process(int n, float* output, KivHalfbandKernels::Path path) {
    float* input = InputArea();
    KivHalfbandKernels::CopyAudible(input, n, input);
    KivHalfbandKernels::Interpolate(path, input, n, coefficients_.Data(), count_, output);
    // The newest samples become the history of the next block.
    std::memmove(samples_.Data(), input + n - historyLength_, sizeof(float) * historyLength_);
}
