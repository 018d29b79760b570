#pragma once
#include "parameters/values/kiv_display_text.h"
#include "parameters/values/kiv_value_number.h"

// -1 (left) .. 1 (right), shown as "25% left"; typed numbers are percent.
class KivValuePan : public KivValueDouble {
public:
    using KivValueDouble::KivValueDouble;

protected:
    KivString FormatNumber(double value) const override { return KivFormatPan(value); }
    bool ParseNumber(const KivString& text, double& value) const override {
        value = ReadLeadingNumber(text) * 0.01;
        return true;
    }
};
