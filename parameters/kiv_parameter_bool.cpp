#include "base/kiv_number.h"
#include "parameters/kiv_parameter_bool.h"

#include "parameters/kiv_record_value.h"

template <typename ParameterBase>
void ParameterBoolT<ParameterBase>::SetParameter(int32_t, double value, bool silent) {
    KivStoreRecordValue(this->record_->values.asBool.value, static_cast<uint8_t>(KivIsOnValue(value) ? 1 : 0));
    this->ReportChange(silent);
}

template <typename ParameterBase>
double ParameterBoolT<ParameterBase>::GetParameter(int32_t) const {
    return KivLoadRecordValue(this->record_->values.asBool.value) ? 1.0 : 0.0;
}

template <typename ParameterBase>
KivString ParameterBoolT<ParameterBase>::GetParameterValueName(int32_t) const {
    return KivOnOffText(this->record_->values.asBool.value != 0);
}

template <typename ParameterBase>
KivString ParameterBoolT<ParameterBase>::GetParameterValueNameFrom01(int32_t, double value) const {
    return KivOnOffText(KivIsOnValue(value));
}

template <typename ParameterBase>
double ParameterBoolT<ParameterBase>::ParseParameterValueName(int32_t, const KivString& text) const {
    return KivParseOnOffText(text);
}

template <typename ParameterBase>
double ParameterBoolT<ParameterBase>::GetParameterDefaultValue(int32_t) const {
    return this->record_->values.asBool.defaultValue ? 1.0 : 0.0;
}

double KivParseOnOffText(const KivString& text) {
    const KivString trimmed = text.Trimmed();
    if (trimmed.EqualsFolded(KivOnOffText(true))) return 1.0;
    if (trimmed.EqualsFolded(KivOnOffText(false))) return 0.0;
    return KivIsOnValue(KivNumber::TextToDouble(trimmed)) ? 1.0 : 0.0;
}

template class ParameterBoolT<ParameterRecordBase>;
