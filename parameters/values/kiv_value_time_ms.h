#pragma once
#include "parameters/values/kiv_display_text.h"
#include "parameters/values/kiv_value_number.h"

// Seconds, shown and typed in milliseconds.
class KivValueTimeMS : public KivValueDouble {
public:
    using KivValueDouble::KivValueDouble;

protected:
    KivString FormatNumber(double value) const override { return KivFormatTime(value); }
    bool ParseNumber(const KivString& text, double& value) const override {
        value = ReadLeadingNumber(text) * 0.001;
        return true;
    }
};
