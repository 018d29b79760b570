#pragma once
#include "parameters/values/kiv_display_text.h"
#include "parameters/values/kiv_value_number.h"

// A fraction shown as percent (1 is "100.0%"); typed numbers are percent.
class KivValuePercents : public KivValueDouble {
public:
    using KivValueDouble::KivValueDouble;

protected:
    KivString FormatNumber(double value) const override { return KivFormatPercents(value); }
    bool ParseNumber(const KivString& text, double& value) const override {
        value = ReadLeadingNumber(text) * 0.01;
        return true;
    }
};
