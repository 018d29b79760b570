#include "parameters/kiv_parameter_float.h"

#include "base/kiv_format.h"
#include "base/kiv_number.h"
#include "parameters/kiv_float_mapping.h"
#include "parameters/kiv_record_value.h"

namespace {

constexpr int32_t kPlainDecimals = 6;

}  // namespace

template <typename ParameterBase>
void ParameterFloatT<ParameterBase>::SetParameter(int32_t, double value, bool silent) {
    auto& values = this->record_->values.asFloat;
    double real = KivFloatFromNormalized(values, value);
    // While the core smooths the parameter, new values are targets, not the value itself.
    if (this->record_->HasFlag(KivEffectParameter::kTargetMode)) KivStoreRecordValue(values.target, real);
    else KivStoreRecordValue(values.value, real);
    this->ReportChange(silent);
}

template <typename ParameterBase>
double ParameterFloatT<ParameterBase>::GetParameter(int32_t) const {
    const auto& values = this->record_->values.asFloat;
    return KivFloatToNormalized(values, KivLoadRecordValue(values.value));
}

template <typename ParameterBase>
double ParameterFloatT<ParameterBase>::GetParameterDefaultValue(int32_t) const {
    const auto& values = this->record_->values.asFloat;
    return KivFloatToNormalized(values, values.defaultValue);
}

template <typename ParameterBase>
KivString ParameterFloatT<ParameterBase>::ValueText(KivEffectParameter& record) {
    if (record.valueFunction) return ParameterBase::ValueFunctionText(record);
    double value = record.values.asFloat.value;
    if (!record.format.IsEmpty()) return KivFormat(record.format).Argument(value).Result();
    return KivNumber::DoubleToText(value, kPlainDecimals);
}

template <typename ParameterBase>
KivString ParameterFloatT<ParameterBase>::GetParameterValueName(int32_t) const {
    return ValueText(*this->record_);
}

template <typename ParameterBase>
KivString ParameterFloatT<ParameterBase>::GetParameterValueNameFrom01(int32_t, double value) const {
    KivEffectParameter other = *this->record_;
    other.values.asFloat.value = KivFloatFromNormalized(other.values.asFloat, value);
    return ValueText(other);
}

template <typename ParameterBase>
double ParameterFloatT<ParameterBase>::ParseParameterValueName(int32_t, const KivString& text) const {
    const auto& values = this->record_->values.asFloat;
    if (!this->record_->valueFunction) return KivFloatToNormalized(values, KivNumber::TextToDouble(text));
    KivEffectParameter parsed = *this->record_;
    KivString ignored;
    parsed.valueFunction(ignored, parsed, text);
    return KivFloatToNormalized(values, parsed.values.asFloat.value);
}

template <typename ParameterBase>
bool ParameterFloatT<ParameterBase>::IsInterpolated(int32_t) const {
    return this->record_->HasFlag(KivEffectParameter::kInterpolated);
}

template <typename ParameterBase>
void ParameterFloatT<ParameterBase>::SetInterpolating(int32_t, bool on) {
    auto& values = this->record_->values.asFloat;
    values.target = values.value;
    this->record_->SetFlag(KivEffectParameter::kTargetMode, on);
}

template class ParameterFloatT<ParameterRecordBase>;
