#include "dynamics/detector/kiv_vector_exp_log.h"

#include "dynamics/detector/kiv_vector_exp_log_avx2.h"
#define KIV_VECTOR_BYTES 16
#include "dynamics/detector/kiv_vector_exp_log_kernels.h"

namespace {

// AVX2 moves four doubles per instruction instead of two; the results are the same bits.
// The processor is asked once, on first use.
bool HasAvx2() noexcept {
    static const bool hasAvx2 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return hasAvx2;
}

}  // namespace

namespace KivVectorExpLog {

void Logarithms(const double* values, double* logarithms, int32_t count) noexcept {
    if (HasAvx2()) KivVectorExpLogAvx2::Logarithms(values, logarithms, count);
    else Map<Log>(values, logarithms, count);
}

void Exponentials(const double* values, double* exponentials, int32_t count) noexcept {
    if (HasAvx2()) KivVectorExpLogAvx2::Exponentials(values, exponentials, count);
    else Map<Exp>(values, exponentials, count);
}

void LogarithmsSse2(const double* values, double* logarithms, int32_t count) noexcept {
    Map<Log>(values, logarithms, count);
}

void ExponentialsSse2(const double* values, double* exponentials, int32_t count) noexcept {
    Map<Exp>(values, exponentials, count);
}

bool UsesAvx2() noexcept { return HasAvx2(); }

}  // namespace KivVectorExpLog
