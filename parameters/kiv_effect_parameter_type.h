#pragma once
#include <cstdint>

// What a declaration record declares. 0 and 7 are placeholders that registration passes over;
// 6 and anything above 7 are errors.
enum KivEffectParameterType : uint32_t {
    kKivParameterTypeNone = 0,
    kKivParameterTypeFloat = 1,
    kKivParameterTypeInteger = 2,
    kKivParameterTypeEnumeration = 3,
    kKivParameterTypeBool = 4,
    kKivParameterTypeGroup = 5,
    kKivParameterTypeSkipped = 7
};

// How a float parameter's 0..1 travels over its range: the real value moves with x, x^2 or
// x^4, so that the lower part of a long time range gets more of the travel.
enum KivParameterCurve : uint32_t {
    kKivParameterCurveLinear = 0,
    kKivParameterCurveSquare = 1,
    kKivParameterCurveFourthPower = 2
};
