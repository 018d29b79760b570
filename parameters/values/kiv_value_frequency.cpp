#include "parameters/values/kiv_value_frequency.h"

#include <algorithm>
#include <cmath>

#include "parameters/values/kiv_display_text.h"

KivValueFrequency::KivValueFrequency(double& variable) : Base(variable) { OnRangeChanged(); }

KivValueFrequency::KivValueFrequency(double& variable, double minimum, double maximum, double defaultValue)
    : Base(variable, minimum, maximum, defaultValue) {
    OnRangeChanged();
}

void KivValueFrequency::OnRangeChanged() {
    logMinimum_ = std::log10(minimum_);
    logMaximum_ = std::log10(maximum_);
}

double KivValueFrequency::Get01() const {
    // A single-frequency range sits at the top, unlike the linear values.
    if (maximum_ == minimum_) return 1.0;
    double position = (std::log10(GetValue()) - logMinimum_) / (logMaximum_ - logMinimum_);
    return std::clamp(position, 0.0, 1.0);
}

double KivValueFrequency::FrequencyAt(double position) const {
    return std::pow(10.0, logMinimum_ + (logMaximum_ - logMinimum_) * position);
}

void KivValueFrequency::Set01(double position) { Write(FrequencyAt(position)); }

KivString KivValueFrequency::GetDisplayTextFrom01(double position) const {
    return FormatNumber(FrequencyAt(position));
}

KivString KivValueFrequency::FormatNumber(double value) const { return KivFormatFrequency(value); }

bool KivValueFrequency::ParseNumber(const KivString& text, double& value) const {
    value = ReadLeadingNumber(text);
    return true;
}
