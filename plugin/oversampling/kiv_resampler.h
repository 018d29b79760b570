#pragma once

#include "plugin/oversampling/kiv_float_block.h"
#include "plugin/oversampling/kiv_halfband_decimator.h"
#include "plugin/oversampling/kiv_halfband_design.h"
#include "plugin/oversampling/kiv_halfband_interpolator.h"
#include "plugin/oversampling/kiv_halfband_kernels.h"

// Oversampling of one channel by 1, 2, 4 or 8 through cascaded half-band stages, each
// doubling (or halving) the rate with a linear-phase FIR filter.
//
// Per block of n base-rate samples: Upsample fills f*n samples of the input buffer, the
// caller processes them from the input buffer into the output buffer, and Downsample turns
// f*n samples of the output buffer back into n. The round trip delays by exactly
// GetLatency() base-rate samples; a signal inside the pass band returns unchanged apart
// from that delay.
//
// Figures per factor (base rate 44.1 kHz, pass band 0..20 kHz with the steep slope,
// 0..17.64 kHz with the gentle one; stop band from the base Nyquist mirror of the pass-band
// edge upward, 24.1 kHz resp. 26.46 kHz):
//   high quality: >= 96 dB stop-band attenuation per filter, round-trip ripple < 0.001 dB;
//                 latency steep 69 / 76 / 78, gentle 33 / 39 / 41 samples for f = 2 / 4 / 8;
//   low quality:  >= 60 dB, round-trip ripple < 0.05 dB;
//                 latency steep 41 / 45 / 46, gentle 19 / 23 / 24 samples.
//
// Prepare allocates for the largest factor and every design, so that changing the factor,
// the quality or the slope afterwards allocates nothing; a change clears the history.
class KivResampler {
public:
    static constexpr int kMaxFactor = 8;

    KivResampler();

    // 1 (no oversampling), 2, 4 or 8; anything else raises KivException (invalid argument).
    void SetFactor(int factor);
    // High quality is the 96 dB design, low quality the 60 dB one with less latency.
    void SetQuality(bool high);
    void SetSlope(KivResamplerSlope slope);
    // Which loops run; both give the same samples. The fastest available by default.
    void SetKernelPath(KivHalfbandKernels::Path path) { path_ = path; }

    int GetFactor() const { return factor_; }
    bool IsHighQuality() const { return highQuality_; }
    KivResamplerSlope GetSlope() const { return slope_; }

    // Allocates for blocks of up to maxBaseBlock base-rate samples and clears the history.
    void Prepare(int maxBaseBlock);
    // Clears the history, as if silence had been playing forever.
    void Reset();

    // Delay of the round trip Upsample -> Downsample in base-rate samples (0 for factor 1).
    int GetLatency() const { return latency_; }

    float* GetInputBuffer() { return inputBuffer_.Data(); }
    float* GetOutputBuffer() { return outputBuffer_.Data(); }

    // Writes factor * n samples into the input buffer. n must not exceed the prepared size.
    void Upsample(const float* in, int n);
    // Reads factor * n samples of the output buffer and writes (or, when accumulating, adds)
    // n base-rate samples to `out`.
    void Downsample(float* out, int n, bool accumulate);

private:
    void ApplySettings();
    void CheckBlockLength(int n) const;

    int factor_ = 1;
    int stageCount_ = 0;
    bool highQuality_ = true;
    KivResamplerSlope slope_ = KivResamplerSlope::kSteep;
    KivHalfbandKernels::Path path_;
    int maxBaseBlock_ = 0;
    int latency_ = 0;
    KivHalfbandInterpolator interpolators_[KivHalfbandDesigns::kStageCount];
    KivHalfbandDecimator decimators_[KivHalfbandDesigns::kStageCount];
    KivFloatBlock inputBuffer_;
    KivFloatBlock outputBuffer_;
    KivFloatBlock scratch_;  // the decimation stages' outputs, each read by the next
};
