#include "parameters/kiv_parameter_value_functions.h"

#include <cmath>

#include "base/kiv_number.h"
#include "parameters/values/kiv_display_text.h"

void KivPercentValueFunction(KivString& out, KivEffectParameter& record, const KivString& in) {
    double& value = record.values.asFloat.value;
    if (in.IsEmpty()) {
        out = KivFormatPercents(value);
        return;
    }
    value = KivNumber::TextToDouble(in) * 0.01;
    out.Clear();
}

void KivTimeValueFunction(KivString& out, KivEffectParameter& record, const KivString& in) {
    double& value = record.values.asFloat.value;
    if (in.IsEmpty()) {
        out = KivFormatTime(value);
        return;
    }
    value = KivNumber::TextToDouble(in) * 0.001;
    out.Clear();
}

void KivVolumeValueFunction(KivString& out, KivEffectParameter& record, const KivString& in) {
    double& value = record.values.asFloat.value;
    if (in.IsEmpty()) {
        out = KivFormatVolume(value * value);
        return;
    }
    // The display's word for zero amplitude reads back as zero.
    if (in.Trimmed().EqualsFolded(KivFormatVolume(0.0))) value = 0.0;
    else value = std::sqrt(std::pow(10.0, KivNumber::TextToDouble(in) * 0.05));
    out.Clear();
}
