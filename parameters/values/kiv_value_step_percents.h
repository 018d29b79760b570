#pragma once
#include "parameters/values/kiv_display_text.h"
#include "parameters/values/kiv_value_step_double.h"

// A fraction on a step grid, shown and typed as percent.
class KivValueStepPercents : public KivValueStepDouble {
public:
    using KivValueStepDouble::KivValueStepDouble;

protected:
    KivString FormatNumber(double value) const override { return KivFormatPercents(value); }
    bool ParseNumber(const KivString& text, double& value) const override {
        value = ReadLeadingNumber(text) * 0.01;
        return true;
    }
};
