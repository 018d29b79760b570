#include "gui/controls/kiv_control_value.h"

#include <algorithm>

KivControlValue::KivControlValue() : OnChange(this) {}

void KivControlValue::BindValue(std::unique_ptr<KivValue> value) {
    KivLoadedValueControl::BindValue(std::move(value));
    Invalidate();
}

double KivControlValue::GetPosition() const { return GetValue() != nullptr ? std::clamp(GetValue()->Get01(), 0.0, 1.0) : 0.0; }

KivString KivControlValue::GetValueText() const { return GetValue() != nullptr ? GetValue()->GetDisplayText() : KivString(); }

void KivControlValue::SetPosition(double position) {
    KivValue* value = GetValue();
    if (value == nullptr) return;
    const double before = value->Get01();
    value->Set01(std::clamp(position, 0.0, 1.0));
    if (value->Get01() != before) NoteUserChange();
}

void KivControlValue::StepValue(int32_t count) {
    KivValue* value = GetValue();
    if (value == nullptr) return;
    const KivString before = value->GetDisplayText();
    const double position = value->Get01();
    value->Step(count);
    if (value->Get01() != position || value->GetDisplayText() != before) NoteUserChange();
}

void KivControlValue::ResetValue() {
    if (GetValue() != nullptr && GetValue()->Reset()) NoteUserChange();
}

void KivControlValue::NoteUserChange() {
    Invalidate();
    OnChange.Raise(KivOnNotifyParams{this});
}
