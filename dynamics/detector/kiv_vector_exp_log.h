#pragma once
#include <cstdint>

// Natural logarithms and exponentials of whole buffers, two values per SSE2 instruction (four
// with AVX2, eight with AVX-512, same results) and without calls into the C library, for the detector's per-sample loops. Both stay within
// 2 units in the last place of the correctly rounded result (the C library's own functions
// differ from that by up to 1); inputs are clamped to the range the detector can produce:
// logarithms of [1e-300, 1e300], exponentials of [-708, 709].
namespace KivVectorExpLog {

void Logarithms(const double* values, double* logarithms, int32_t count) noexcept;
void Exponentials(const double* values, double* exponentials, int32_t count) noexcept;

// The SSE2 code whatever the processor offers, for comparing the two paths.
void LogarithmsSse2(const double* values, double* logarithms, int32_t count) noexcept;
void ExponentialsSse2(const double* values, double* exponentials, int32_t count) noexcept;
bool UsesAvx2() noexcept;
bool UsesAvx512() noexcept;

}  // namespace KivVectorExpLog
