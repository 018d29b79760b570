#include "plugin/oversampling/kiv_resampler.h"

#include <cstring>

#include "base/kiv_exception.h"
#include "plugin/oversampling/kiv_resampler_latency.h"

namespace {

constexpr int kStages = KivHalfbandDesigns::kStageCount;
// The top decimation stage's extra delay is below 2^(stages-1) (half a base-rate sample).
constexpr int kLargestExtraDelay = (1 << (kStages - 1)) - 1;

int StageCountOf(int factor) {
    switch (factor) {
        case 1: return 0;
        case 2: return 1;
        case 4: return 2;
        case 8: return 3;
        default:
            throw KivException("Oversampling factor must be 1, 2, 4 or 8.",
                               KivException::kInvalidArgument);
    }
}

}  // namespace

KivResampler::KivResampler() : path_(KivHalfbandKernels::FastestPath()) {}

void KivResampler::SetFactor(int factor) {
    stageCount_ = StageCountOf(factor);
    factor_ = factor;
    ApplySettings();
}

void KivResampler::SetQuality(bool high) {
    highQuality_ = high;
    ApplySettings();
}

void KivResampler::SetSlope(KivResamplerSlope slope) {
    slope_ = slope;
    ApplySettings();
}

void KivResampler::Prepare(int maxBaseBlock) {
    maxBaseBlock_ = maxBaseBlock;
    for (int stage = 0; stage < kStages; ++stage) {
        const int lowRateBlock = maxBaseBlock << stage;
        const int largest = KivHalfbandDesigns::LargestCount(stage);
        interpolators_[stage].Prepare(lowRateBlock, largest);
        decimators_[stage].Prepare(lowRateBlock, largest, kLargestExtraDelay);
    }
    inputBuffer_.Resize(static_cast<size_t>(maxBaseBlock) * kMaxFactor);
    outputBuffer_.Resize(static_cast<size_t>(maxBaseBlock) * kMaxFactor);
    scratch_.Resize(static_cast<size_t>(maxBaseBlock) * kMaxFactor / 2);
    ApplySettings();
}

void KivResampler::ApplySettings() {
    int counts[kStages] = {};
    KivHalfbandDesign designs[kStages];
    for (int stage = 0; stage < stageCount_; ++stage) {
        designs[stage] = KivHalfbandDesigns::Get(highQuality_, slope_, stage);
        counts[stage] = designs[stage].count;
    }
    const KivResamplerLatency latency = KivComputeResamplerLatency(counts, stageCount_);
    latency_ = latency.baseSamples;
    if (maxBaseBlock_ == 0) return;  // designs are taken over by Prepare
    for (int stage = 0; stage < stageCount_; ++stage) {
        const bool top = stage == stageCount_ - 1;
        interpolators_[stage].SetDesign(designs[stage]);
        decimators_[stage].SetDesign(designs[stage], top ? latency.topExtraDelay : 0);
    }
}

void KivResampler::Reset() {
    for (int stage = 0; stage < stageCount_; ++stage) {
        interpolators_[stage].Reset();
        decimators_[stage].Reset();
    }
}

void KivResampler::CheckBlockLength(int n) const {
    if (n < 0 || n > maxBaseBlock_) {
        throw KivException("Block is longer than the resampler was prepared for.",
                           KivException::kInvalidArgument);
    }
}

void KivResampler::Upsample(const float* in, int n) {
    CheckBlockLength(n);
    if (n == 0) return;
    if (stageCount_ == 0) {
        std::memcpy(inputBuffer_.Data(), in, sizeof(float) * n);
        return;
    }
    std::memcpy(interpolators_[0].InputArea(), in, sizeof(float) * n);
    for (int stage = 0; stage < stageCount_; ++stage) {
        const bool top = stage == stageCount_ - 1;
        float* next = top ? inputBuffer_.Data() : interpolators_[stage + 1].InputArea();
        interpolators_[stage].Process(n << stage, next, path_);
    }
}

void KivResampler::Downsample(float* out, int n, bool accumulate) {
    CheckBlockLength(n);
    if (n == 0) return;
    const float* result = outputBuffer_.Data();
    if (stageCount_ > 0) {
        for (int stage = stageCount_ - 1; stage >= 0; --stage) {
            decimators_[stage].Process(result, n << stage, scratch_.Data(), path_);
            result = scratch_.Data();
        }
    }
    if (accumulate) {
        for (int i = 0; i < n; ++i) out[i] += result[i];
    } else {
        std::memcpy(out, result, sizeof(float) * n);
    }
}
