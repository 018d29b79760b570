#pragma once

// The inner loops of the half-band stages, as pure single-precision arithmetic (no maths
// library), so that Linux and Windows builds produce the same samples. Each loop exists as
// a scalar and, where SSE2 is available, a vector version; both add the same products in
// the same order and give bit-identical results.
//
// A half-band filter of 4k-1 taps has k distinct coefficients c[0..k-1] at the odd
// distances 1, 3, ..., 2k-1 from its centre tap of 1/2 and zeros at the even distances, so
// each output needs k multiplications: the taps come in symmetric pairs and the zeros are
// skipped by working on one polyphase branch at a time.
namespace KivHalfbandKernels {

enum class Path { kScalar, kVector };

// kVector when this build has the SSE2 loops (always on x86-64), else kScalar.
Path FastestPath();

// Doubles the rate of `input[0..n-1]`, which must be preceded by 2k-1 samples of history.
// The coefficients are the design's, multiplied by 2 for the gain lost to the inserted
// zeros. Writes 2n samples: output[2i] = sum of c[t] * (input[i-k+1+t] + input[i-k-t]),
// output[2i+1] = input[i-k+1] (the centre tap's branch is a pure delay).
void Interpolate(Path path, const float* input, int n, const float* coefficients, int k,
                 float* output);

// Halves the rate of a signal given as its two phases: even[i] and odd[i] are the samples
// 2i and 2i+1 of the high-rate signal. `even` needs 2k-1 samples of history, `odd` k.
// Writes n samples: output[i] = sum of c[t] * (even[i-k+1+t] + even[i-k-t]) + odd[i-k] / 2.
void Decimate(Path path, const float* even, const float* odd, int n, const float* coefficients,
              int k, float* output);

// Values below this magnitude (-300 dBFS) are replaced by 0 wherever a stage takes its input.
// All coefficients exceed 1e-7, so every product, and every sum of products, is then either 0
// or far above the denormal range: no stage can ever produce a denormal number, whether or not
// the processor flushes them.
inline constexpr float kSilenceThreshold = 1e-15f;

// Copies n samples, replacing those below kSilenceThreshold by 0.
void CopyAudible(const float* input, int n, float* output);

// Splits 2n high-rate samples into their even and odd phases, replacing values below
// kSilenceThreshold by 0.
void SplitPhases(const float* input, int n, float* even, float* odd);

}  // namespace KivHalfbandKernels
