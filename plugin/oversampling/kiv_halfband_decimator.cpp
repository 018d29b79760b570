#include "plugin/oversampling/kiv_halfband_decimator.h"

#include <cstring>

namespace {

void KeepNewest(float* samples, int historyLength, int n) {
    std::memmove(samples, samples + n, sizeof(float) * historyLength);
}

}  // namespace

void KivHalfbandDecimator::Prepare(int maxOutput, int largestCount, int largestExtraDelay) {
    evenHistory_ = 2 * largestCount - 1 + largestExtraDelay;
    oddHistory_ = largestCount + largestExtraDelay;
    even_.Resize(static_cast<size_t>(evenHistory_ + maxOutput));
    odd_.Resize(static_cast<size_t>(oddHistory_ + maxOutput));
}

void KivHalfbandDecimator::SetDesign(const KivHalfbandDesign& design, int extraDelay) {
    design_ = design;
    extraDelay_ = extraDelay;
    Reset();
}

void KivHalfbandDecimator::Reset() {
    even_.Clear(static_cast<size_t>(evenHistory_));
    odd_.Clear(static_cast<size_t>(oddHistory_));
}

void KivHalfbandDecimator::Process(const float* input, int n, float* output,
                                   KivHalfbandKernels::Path path) {
    float* even = even_.Data() + evenHistory_;
    float* odd = odd_.Data() + oddHistory_;
    KivHalfbandKernels::SplitPhases(input, n, even, odd);
    // Reading both phases extraDelay_ samples further back delays the output by as much.
    KivHalfbandKernels::Decimate(path, even - extraDelay_, odd - extraDelay_, n,
                                 design_.coefficients, design_.count, output);
    KeepNewest(even_.Data(), evenHistory_, n);
    KeepNewest(odd_.Data(), oddHistory_, n);
}
