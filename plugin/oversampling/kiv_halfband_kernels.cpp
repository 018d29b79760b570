#include "plugin/oversampling/kiv_halfband_kernels.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#define KIV_HALFBAND_SSE2 1
#endif

namespace KivHalfbandKernels {
namespace {

// The symmetric part of one output: `near` points at the first sample after the filter's
// centre, so the pairs are near[t] and near[-1-t]. Outer (smallest) taps are added first.
inline float SymmetricSum(const float* near, const float* coefficients, int k) {
    float sum = 0.0f;
    for (int t = k - 1; t >= 0; --t) sum += coefficients[t] * (near[t] + near[-1 - t]);
    return sum;
}

void InterpolateScalarFrom(int first, const float* input, int n, const float* coefficients,
                           int k, float* output) {
    for (int i = first; i < n; ++i) {
        const float* near = input + i - k + 1;
        output[2 * i] = SymmetricSum(near, coefficients, k);
        output[2 * i + 1] = near[0];
    }
}

void DecimateScalarFrom(int first, const float* even, const float* odd, int n,
                        const float* coefficients, int k, float* output) {
    for (int i = first; i < n; ++i) {
        output[i] = SymmetricSum(even + i - k + 1, coefficients, k) + 0.5f * odd[i - k];
    }
}

#if KIV_HALFBAND_SSE2
// Four consecutive outputs at once, one per lane, with the scalar order of operations.
inline __m128 SymmetricSum4(const float* near, const float* coefficients, int k) {
    __m128 sum = _mm_setzero_ps();
    for (int t = k - 1; t >= 0; --t) {
        const __m128 pair = _mm_add_ps(_mm_loadu_ps(near + t), _mm_loadu_ps(near - 1 - t));
        sum = _mm_add_ps(sum, _mm_mul_ps(_mm_set1_ps(coefficients[t]), pair));
    }
    return sum;
}

void InterpolateVector(const float* input, int n, const float* coefficients, int k,
                       float* output) {
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const float* near = input + i - k + 1;
        const __m128 filtered = SymmetricSum4(near, coefficients, k);
        const __m128 delayed = _mm_loadu_ps(near);
        _mm_storeu_ps(output + 2 * i, _mm_unpacklo_ps(filtered, delayed));
        _mm_storeu_ps(output + 2 * i + 4, _mm_unpackhi_ps(filtered, delayed));
    }
    InterpolateScalarFrom(i, input, n, coefficients, k, output);
}

void DecimateVector(const float* even, const float* odd, int n, const float* coefficients,
                    int k, float* output) {
    const __m128 half = _mm_set1_ps(0.5f);
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128 filtered = SymmetricSum4(even + i - k + 1, coefficients, k);
        const __m128 centre = _mm_mul_ps(half, _mm_loadu_ps(odd + i - k));
        _mm_storeu_ps(output + i, _mm_add_ps(filtered, centre));
    }
    DecimateScalarFrom(i, even, odd, n, coefficients, k, output);
}
#endif

inline float Audible(float value) {
    return (value < kSilenceThreshold && value > -kSilenceThreshold) ? 0.0f : value;
}

}  // namespace

Path FastestPath() {
#if KIV_HALFBAND_SSE2
    return Path::kVector;
#else
    return Path::kScalar;
#endif
}

void Interpolate(Path path, const float* input, int n, const float* coefficients, int k,
                 float* output) {
#if KIV_HALFBAND_SSE2
    if (path == Path::kVector) {
        InterpolateVector(input, n, coefficients, k, output);
        return;
    }
#endif
    (void)path;
    InterpolateScalarFrom(0, input, n, coefficients, k, output);
}

void Decimate(Path path, const float* even, const float* odd, int n, const float* coefficients,
              int k, float* output) {
#if KIV_HALFBAND_SSE2
    if (path == Path::kVector) {
        DecimateVector(even, odd, n, coefficients, k, output);
        return;
    }
#endif
    (void)path;
    DecimateScalarFrom(0, even, odd, n, coefficients, k, output);
}

void CopyAudible(const float* input, int n, float* output) {
    for (int i = 0; i < n; ++i) output[i] = Audible(input[i]);
}

void SplitPhases(const float* input, int n, float* even, float* odd) {
    for (int i = 0; i < n; ++i) {
        even[i] = Audible(input[2 * i]);
        odd[i] = Audible(input[2 * i + 1]);
    }
}

}  // namespace KivHalfbandKernels
