#pragma once
#include <cstdint>

// The AVX-512 build of KivVectorExpLog's kernels; only for processors that have AVX-512 F
// and DQ.
namespace KivVectorExpLogAvx512 {

void Logarithms(const double* values, double* logarithms, int32_t count) noexcept;
void Exponentials(const double* values, double* exponentials, int32_t count) noexcept;

}  // namespace KivVectorExpLogAvx512
