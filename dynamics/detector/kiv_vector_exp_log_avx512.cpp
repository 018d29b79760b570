// Everything in this file is built for AVX-512 processors; the caller checks the processor.
#pragma GCC target("avx512f,avx512dq")

#include "dynamics/detector/kiv_vector_exp_log_avx512.h"

#define KIV_VECTOR_BYTES 64
#include "dynamics/detector/kiv_vector_exp_log_kernels.h"

namespace KivVectorExpLogAvx512 {

void Logarithms(const double* values, double* logarithms, int32_t count) noexcept {
    Map<Log>(values, logarithms, count);
}

void Exponentials(const double* values, double* exponentials, int32_t count) noexcept {
    Map<Exp>(values, exponentials, count);
}

}  // namespace KivVectorExpLogAvx512
