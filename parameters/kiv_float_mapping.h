#pragma once
#include "parameters/kiv_effect_parameter.h"

// Between a float record's real value and the host's 0..1: the position goes through the
// record's curve (x, x^2 or x^4) and then over minimum..maximum.

// The curve itself, position -> share of the range.
double KivApplyCurve(uint32_t curve, double position) noexcept;
// Its inverse. A negative share (a typed value below the minimum, which is not clamped)
// keeps its sign instead of becoming a root of a negative number.
double KivInvertCurve(uint32_t curve, double share) noexcept;

double KivFloatToNormalized(const KivEffectParameter::FloatValues& values, double real) noexcept;
double KivFloatFromNormalized(const KivEffectParameter::FloatValues& values, double position) noexcept;
