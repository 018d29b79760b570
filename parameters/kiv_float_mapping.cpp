#include "parameters/kiv_float_mapping.h"

#include <cmath>

double KivApplyCurve(uint32_t curve, double position) noexcept {
    switch (curve) {
        case kKivParameterCurveSquare: return position * position;
        case kKivParameterCurveFourthPower: return position * position * position * position;
        default: return position;
    }
}

double KivInvertCurve(uint32_t curve, double share) noexcept {
    double magnitude = std::fabs(share);
    double root = magnitude;
    if (curve == kKivParameterCurveSquare) root = std::sqrt(magnitude);
    else if (curve == kKivParameterCurveFourthPower) root = std::sqrt(std::sqrt(magnitude));
    return share < 0.0 ? -root : root;
}

double KivFloatToNormalized(const KivEffectParameter::FloatValues& values, double real) noexcept {
    double range = values.maximum - values.minimum;
    if (range == 0.0) return 0.0;
    return KivInvertCurve(values.curve, (real - values.minimum) / range);
}

double KivFloatFromNormalized(const KivEffectParameter::FloatValues& values, double position) noexcept {
    return values.minimum + (values.maximum - values.minimum) * KivApplyCurve(values.curve, position);
}
