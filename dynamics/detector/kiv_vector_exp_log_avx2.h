#pragma once
#include <cstdint>

// The AVX2 build of KivVectorExpLog's kernels; only for processors that have AVX2.
namespace KivVectorExpLogAvx2 {

void Logarithms(const double* values, double* logarithms, int32_t count) noexcept;
void Exponentials(const double* values, double* exponentials, int32_t count) noexcept;

}  // namespace KivVectorExpLogAvx2
