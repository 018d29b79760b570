#include "parameters/values/kiv_value.h"

KivString KivValue::GetDisplayText() const { return customText_ ? customText_(*this) : FormatValue(); }

KivString KivValue::GetDisplayTextItem() const { return GetDisplayText(); }

bool KivValue::SetDisplayText(const KivString& text) {
    bool changed = customParse_ ? customParse_(*this, text) : ParseDisplayText(text);
    Validate();
    return changed;
}

double KivValue::StepPosition(int32_t step) const {
    int32_t count = GetStepCount();
    return count > 1 ? static_cast<double>(step) / (count - 1) : 0.0;
}

KivString KivValue::GetStepText(int32_t step) const { return GetDisplayTextFrom01(StepPosition(step)); }

void KivValue::SetStep(int32_t step) { Set01(StepPosition(step)); }
