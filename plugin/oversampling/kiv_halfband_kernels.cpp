#include "plugin/oversampling/kiv_halfband_kernels.h"

#include <cmath>

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

// Comparing the magnitude keeps the branch predictable: audio is almost never this quiet.
inline float Audible(float value) { return std::fabs(value) < kSilenceThreshold ? 0.0f : value; }

#if KIV_HALFBAND_SSE2
inline __m128 Audible4(__m128 values) {
    const __m128 magnitude = _mm_andnot_ps(_mm_set1_ps(-0.0f), values);
    return _mm_andnot_ps(_mm_cmplt_ps(magnitude, _mm_set1_ps(kSilenceThreshold)), values);
}

// Sums for 4G consecutive outputs, one per lane, each in the scalar order of operations.
// Several independent accumulators keep the adder busy instead of waiting on one chain.
template <int G>
inline void SymmetricSums(const float* near, const float* coefficients, int k, __m128 (&sum)[G]) {
    for (int g = 0; g < G; ++g) sum[g] = _mm_setzero_ps();
    for (int t = k - 1; t >= 0; --t) {
        const __m128 coefficient = _mm_set1_ps(coefficients[t]);
        for (int g = 0; g < G; ++g) {
            const float* at = near + 4 * g;
            const __m128 pair = _mm_add_ps(_mm_loadu_ps(at + t), _mm_loadu_ps(at - 1 - t));
            sum[g] = _mm_add_ps(sum[g], _mm_mul_ps(coefficient, pair));
        }
    }
}

// Interpolates from output pair i on in steps of 4G; returns where it stopped.
template <int G>
int InterpolateGroups(int i, const float* input, int n, const float* coefficients, int k,
                      float* output) {
    for (; i + 4 * G <= n; i += 4 * G) {
        const float* near = input + i - k + 1;
        __m128 filtered[G];
        SymmetricSums<G>(near, coefficients, k, filtered);
        for (int g = 0; g < G; ++g) {
            const __m128 delayed = _mm_loadu_ps(near + 4 * g);
            float* pairs = output + 2 * (i + 4 * g);
            _mm_storeu_ps(pairs, _mm_unpacklo_ps(filtered[g], delayed));
            _mm_storeu_ps(pairs + 4, _mm_unpackhi_ps(filtered[g], delayed));
        }
    }
    return i;
}

template <int G>
int DecimateGroups(int i, const float* even, const float* odd, int n, const float* coefficients,
                   int k, float* output) {
    const __m128 half = _mm_set1_ps(0.5f);
    for (; i + 4 * G <= n; i += 4 * G) {
        __m128 filtered[G];
        SymmetricSums<G>(even + i - k + 1, coefficients, k, filtered);
        for (int g = 0; g < G; ++g) {
            const __m128 centre = _mm_mul_ps(half, _mm_loadu_ps(odd + i + 4 * g - k));
            _mm_storeu_ps(output + i + 4 * g, _mm_add_ps(filtered[g], centre));
        }
    }
    return i;
}

constexpr int kGroups = 4;  // 16 outputs per pass over the taps

void InterpolateVector(const float* input, int n, const float* coefficients, int k,
                       float* output) {
    int i = InterpolateGroups<kGroups>(0, input, n, coefficients, k, output);
    i = InterpolateGroups<1>(i, input, n, coefficients, k, output);
    InterpolateScalarFrom(i, input, n, coefficients, k, output);
}

void DecimateVector(const float* even, const float* odd, int n, const float* coefficients,
                    int k, float* output) {
    int i = DecimateGroups<kGroups>(0, even, odd, n, coefficients, k, output);
    i = DecimateGroups<1>(i, even, odd, n, coefficients, k, output);
    DecimateScalarFrom(i, even, odd, n, coefficients, k, output);
}
#endif

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
    int i = 0;
#if KIV_HALFBAND_SSE2
    for (; i + 4 <= n; i += 4) _mm_storeu_ps(output + i, Audible4(_mm_loadu_ps(input + i)));
#endif
    for (; i < n; ++i) output[i] = Audible(input[i]);
}

void SplitPhases(const float* input, int n, float* even, float* odd) {
    int i = 0;
#if KIV_HALFBAND_SSE2
    for (; i + 4 <= n; i += 4) {
        const __m128 first = Audible4(_mm_loadu_ps(input + 2 * i));
        const __m128 second = Audible4(_mm_loadu_ps(input + 2 * i + 4));
        _mm_storeu_ps(even + i, _mm_shuffle_ps(first, second, _MM_SHUFFLE(2, 0, 2, 0)));
        _mm_storeu_ps(odd + i, _mm_shuffle_ps(first, second, _MM_SHUFFLE(3, 1, 3, 1)));
    }
#endif
    for (; i < n; ++i) {
        even[i] = Audible(input[2 * i]);
        odd[i] = Audible(input[2 * i + 1]);
    }
}

}  // namespace KivHalfbandKernels
