#pragma once
#include "parameters/kiv_effect_parameter.h"

// The product's own displays (KivEffectParameter::ValueFunction). Percent, time and
// threshold decibels come from the framework's value functions.

// A ratio code: "Infinity" at 20, "1 : 3" for an expanding code below 1, "4.00 : 1"
// otherwise. Typing "1 : x" stores 2 - x; any other text is read as the code itself.
void TandrelRatioValueFunction(KivString& out, KivEffectParameter& record, const KivString& in);
// A time whose minimum switches the function off: "Peak" (RMS length) and "Disabled"
// (look-ahead) at or below 1e-5 s, the time otherwise.
void TandrelPeakTimeValueFunction(KivString& out, KivEffectParameter& record, const KivString& in);
void TandrelDisabledTimeValueFunction(KivString& out, KivEffectParameter& record, const KivString& in);
