#pragma once
#include "parameters/kiv_effect_parameter.h"

// Value functions for float records (KivEffectParameter::ValueFunction). With an empty input
// they show the record's value; otherwise they read the input into the value and give an
// empty text.

// The value is a fraction, shown and typed as percent.
void KivPercentValueFunction(KivString& out, KivEffectParameter& record, const KivString& in);
// The value is seconds, shown and typed as milliseconds.
void KivTimeValueFunction(KivString& out, KivEffectParameter& record, const KivString& in);
// The value is the square root of an amplitude (levels kept as root amplitude), shown and
// typed in decibels of the amplitude.
void KivVolumeValueFunction(KivString& out, KivEffectParameter& record, const KivString& in);
