#pragma once
#include "parameters/values/kiv_value_number.h"

// Hertz placed logarithmically: over 20..20000 Hz the middle position is 632.46 Hz.
class KivValueFrequency : public KivValueNumber<double, double, 0, 1> {
public:
    using Base = KivValueNumber<double, double, 0, 1>;
    explicit KivValueFrequency(double& variable);
    KivValueFrequency(double& variable, double minimum, double maximum, double defaultValue);

    double Get01() const override;
    void Set01(double position) override;
    // Step texts and knob tooltips must name the frequency that Set01 would choose.
    KivString GetDisplayTextFrom01(double position) const override;

protected:
    KivString FormatNumber(double value) const override;
    bool ParseNumber(const KivString& text, double& value) const override;
    void OnRangeChanged() override;

private:
    double FrequencyAt(double position) const;

    double logMinimum_ = 0.0;
    double logMaximum_ = 0.0;
};
