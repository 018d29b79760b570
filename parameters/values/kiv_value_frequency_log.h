#pragma once
#include <cmath>

#include "parameters/values/kiv_display_text.h"
#include "parameters/values/kiv_value_number.h"

// A variable holding log10 of a frequency; users see and type hertz. A typed frequency of 0
// or below has no logarithm and is refused.
class KivValueFrequencyLog : public KivValueDouble {
public:
    using KivValueDouble::KivValueDouble;

protected:
    KivString FormatNumber(double value) const override { return KivFormatFrequency(std::pow(10.0, value)); }
    bool ParseNumber(const KivString& text, double& value) const override {
        double hertz = ReadLeadingNumber(text);
        if (hertz <= 0.0) return false;
        value = std::log10(hertz);
        return true;
    }
};
