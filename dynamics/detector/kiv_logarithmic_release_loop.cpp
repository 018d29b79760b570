#include "dynamics/detector/kiv_logarithmic_release_loop.h"

#include <algorithm>

#include "dynamics/detector/kiv_vector_clones.h"

namespace {

KIV_VECTOR_CLONES void SelectReleaseValues(double* values, const double* logarithms, const double* exponentials,
                                           int32_t count) noexcept {
    for (int32_t i = 0; i < count; ++i)
        values[i] = logarithms[i] == KivLogarithmicReleaseLoop::kLinearMark ? values[i] : exponentials[i];
}

// Four running maxima side by side, so the pass runs as vector maxima; the largest of the
// four is the same value as one running maximum gives.
KIV_VECTOR_CLONES double Largest(const double* values, int32_t count) noexcept {
    double largest[4] = {0.0, 0.0, 0.0, 0.0};
    int32_t i = 0;
    for (; i + 4 <= count; i += 4)
        for (int32_t j = 0; j < 4; ++j) largest[j] = std::max(largest[j], values[i + j]);
    for (; i < count; ++i) largest[0] = std::max(largest[0], values[i]);
    return std::max(std::max(largest[0], largest[1]), std::max(largest[2], largest[3]));
}

}  // namespace

namespace KivLogarithmicReleaseLoop {

double ResolveChunk(double* values, double* logarithms, int32_t count) noexcept {
    double exponentials[kChunk];
    KivVectorExpLog::Exponentials(logarithms, exponentials, count);
    SelectReleaseValues(values, logarithms, exponentials, count);
    return Largest(values, count);
}

double KeepLogarithms(double* values, double* logarithms, int32_t count) noexcept {
    // The attack samples packed together, so that only they pass through the logarithm.
    double packed[kChunk];
    int32_t where[kChunk];
    int32_t attacks = 0;
    double largest = 0.0, largestLogarithm = -kLinearMark;
    for (int32_t i = 0; i < count; ++i) {
        if (logarithms[i] == kLinearMark) {
            largest = std::max(largest, values[i]);
            packed[attacks] = values[i];
            where[attacks++] = i;
        } else {
            largestLogarithm = std::max(largestLogarithm, logarithms[i]);
        }
    }
    if (largestLogarithm > -kLinearMark) {
        double exponential;
        KivVectorExpLog::Exponentials(&largestLogarithm, &exponential, 1);
        largest = std::max(largest, exponential);
    }
    if (attacks > 0) {
        KivVectorExpLog::Logarithms(packed, packed, attacks);
        for (int32_t k = 0; k < attacks; ++k) logarithms[where[k]] = packed[k];
    }
    std::copy(logarithms, logarithms + count, values);
    return largest;
}

double LastEnvelope(const double* values, const double* logarithms, int32_t count) noexcept {
    const int32_t last = count - 1;
    if (logarithms[last] == kLinearMark) return values[last];
    double envelope;
    KivVectorExpLog::Exponentials(logarithms + last, &envelope, 1);
    return envelope;
}

}  // namespace KivLogarithmicReleaseLoop
