#pragma once
#include "parameters/values/kiv_display_text.h"
#include "parameters/values/kiv_value_number.h"

// Hertz placed linearly; typed text is read through the value's format.
class KivValueFrequencyLinear : public KivValueDouble {
public:
    using KivValueDouble::KivValueDouble;

protected:
    KivString FormatNumber(double value) const override { return KivFormatFrequency(value); }
};
