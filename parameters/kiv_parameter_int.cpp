#include "parameters/kiv_parameter_int.h"

#include "parameters/kiv_record_value.h"

#include "base/kiv_format.h"
#include "base/kiv_number.h"

template <typename ParameterBase>
double ParameterIntT<ParameterBase>::ToNormalized(const KivEffectParameter::IntegerValues& values, int64_t value) {
    double range = static_cast<double>(values.maximum) - values.minimum;
    if (range == 0.0) return 0.0;
    return (static_cast<double>(value) - values.minimum) / range;
}

template <typename ParameterBase>
int32_t ParameterIntT<ParameterBase>::FromNormalized(const KivEffectParameter::IntegerValues& values, double value) {
    double range = static_cast<double>(values.maximum) - values.minimum;
    return static_cast<int32_t>(values.minimum + range * value);
}

template <typename ParameterBase>
void ParameterIntT<ParameterBase>::SetParameter(int32_t, double value, bool silent) {
    auto& values = this->record_->values.asInteger;
    int32_t whole = FromNormalized(values, value);
    if (this->record_->HasFlag(KivEffectParameter::kTargetMode)) KivStoreRecordValue(values.target, whole);
    else KivStoreRecordValue(values.value, whole);
    this->ReportChange(silent);
}

template <typename ParameterBase>
double ParameterIntT<ParameterBase>::GetParameter(int32_t) const {
    const auto& values = this->record_->values.asInteger;
    return ToNormalized(values, values.value);
}

template <typename ParameterBase>
double ParameterIntT<ParameterBase>::GetParameterDefaultValue(int32_t) const {
    const auto& values = this->record_->values.asInteger;
    return ToNormalized(values, values.defaultValue);
}

template <typename ParameterBase>
KivString ParameterIntT<ParameterBase>::ValueText(KivEffectParameter& record) {
    if (record.valueFunction) return ParameterBase::ValueFunctionText(record);
    int64_t value = record.values.asInteger.value;
    if (!record.format.IsEmpty()) return KivFormat(record.format).Argument(value).Result();
    return KivNumber::IntegerToText(value);
}

template <typename ParameterBase>
KivString ParameterIntT<ParameterBase>::GetParameterValueName(int32_t) const {
    return ValueText(*this->record_);
}

template <typename ParameterBase>
KivString ParameterIntT<ParameterBase>::GetParameterValueNameFrom01(int32_t, double value) const {
    KivEffectParameter other = *this->record_;
    other.values.asInteger.value = FromNormalized(other.values.asInteger, value);
    return ValueText(other);
}

template <typename ParameterBase>
double ParameterIntT<ParameterBase>::ParseParameterValueName(int32_t, const KivString& text) const {
    const auto& values = this->record_->values.asInteger;
    if (!this->record_->valueFunction) return ToNormalized(values, KivNumber::TextToInteger(text.Trimmed()));
    KivEffectParameter parsed = *this->record_;
    KivString ignored;
    parsed.valueFunction(ignored, parsed, text);
    return ToNormalized(values, parsed.values.asInteger.value);
}

template <typename ParameterBase>
bool ParameterIntT<ParameterBase>::IsInterpolated(int32_t) const {
    return this->record_->HasFlag(KivEffectParameter::kInterpolated);
}

template <typename ParameterBase>
void ParameterIntT<ParameterBase>::SetInterpolating(int32_t, bool on) {
    auto& values = this->record_->values.asInteger;
    values.target = values.value;
    this->record_->SetFlag(KivEffectParameter::kTargetMode, on);
}

template class ParameterIntT<ParameterRecordBase>;
