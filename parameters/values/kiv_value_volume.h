#pragma once
#include <cmath>

#include "parameters/values/kiv_display_text.h"
#include "parameters/values/kiv_value_number.h"

// A linear amplitude, shown and typed in decibels. A typed word such as "silence" holds no
// number and reads as 0 dB.
class KivValueVolume : public KivValueDouble {
public:
    using KivValueDouble::KivValueDouble;

protected:
    KivString FormatNumber(double value) const override { return KivFormatVolume(value); }
    bool ParseNumber(const KivString& text, double& value) const override {
        value = std::pow(10.0, ReadLeadingNumber(text) * 0.05);
        return true;
    }
};
