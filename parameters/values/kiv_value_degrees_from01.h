#pragma once
#include "parameters/values/kiv_display_text.h"
#include "parameters/values/kiv_value_number.h"

// A fraction of a full turn shown in degrees; typed numbers are degrees.
class KivValueDegreesFrom01 : public KivValueDouble {
public:
    using KivValueDouble::KivValueDouble;

protected:
    KivString FormatNumber(double value) const override { return KivFormatDegrees(value); }
    bool ParseNumber(const KivString& text, double& value) const override {
        value = ReadLeadingNumber(text) / 360.0;
        return true;
    }
};
