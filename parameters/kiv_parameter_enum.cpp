#include "parameters/kiv_parameter_enum.h"

#include "parameters/kiv_record_value.h"

#include <algorithm>
#include <cmath>

template <typename ParameterBase>
double ParameterEnumT<ParameterBase>::ToNormalized(const KivEffectParameter::EnumerationValues& values,
                                                   int32_t index) {
    return values.count > 1 ? static_cast<double>(index) / (values.count - 1) : 0.0;
}

template <typename ParameterBase>
int32_t ParameterEnumT<ParameterBase>::FromNormalized(const KivEffectParameter::EnumerationValues& values,
                                                      double value) {
    // Each item owns an equal share of 0..1 centred on its own host value.
    double share = values.count * value - 0.5;
    double whole = std::floor(share);
    auto index = static_cast<int64_t>(whole) + (share - whole >= 0.5 ? 1 : 0);
    return static_cast<int32_t>(std::clamp<int64_t>(index, 0, std::max(values.count - 1, 0)));
}

template <typename ParameterBase>
void ParameterEnumT<ParameterBase>::SetParameter(int32_t, double value, bool silent) {
    auto& values = this->record_->values.asEnumeration;
    KivStoreRecordValue(values.index, FromNormalized(values, value));
    this->ReportChange(silent);
}

template <typename ParameterBase>
double ParameterEnumT<ParameterBase>::GetParameter(int32_t) const {
    const auto& values = this->record_->values.asEnumeration;
    return ToNormalized(values, KivLoadRecordValue(values.index));
}

template <typename ParameterBase>
double ParameterEnumT<ParameterBase>::GetParameterDefaultValue(int32_t) const {
    const auto& values = this->record_->values.asEnumeration;
    return ToNormalized(values, values.defaultIndex);
}

template <typename ParameterBase>
KivString ParameterEnumT<ParameterBase>::ValueText(KivEffectParameter& record) {
    if (record.valueFunction) return ParameterBase::ValueFunctionText(record);
    const auto& values = record.values.asEnumeration;
    if (!values.items || values.index < 0 || values.index >= values.count) return KivString();
    return values.items[values.index];
}

template <typename ParameterBase>
KivString ParameterEnumT<ParameterBase>::GetParameterValueName(int32_t) const {
    return ValueText(*this->record_);
}

template <typename ParameterBase>
KivString ParameterEnumT<ParameterBase>::GetParameterValueNameFrom01(int32_t, double value) const {
    KivEffectParameter other = *this->record_;
    other.values.asEnumeration.index = FromNormalized(other.values.asEnumeration, value);
    return ValueText(other);
}

template <typename ParameterBase>
int32_t ParameterEnumT<ParameterBase>::FindItem(const KivEffectParameter::EnumerationValues& values,
                                                const KivString& text) {
    if (!values.items) return 0;
    for (int32_t index = 0; index < values.count; ++index)
        if (KivString(values.items[index]).EqualsFolded(text)) return index;
    return 0;
}

template <typename ParameterBase>
double ParameterEnumT<ParameterBase>::ParseParameterValueName(int32_t, const KivString& text) const {
    const auto& values = this->record_->values.asEnumeration;
    if (!this->record_->valueFunction) return ToNormalized(values, FindItem(values, text));
    KivEffectParameter parsed = *this->record_;
    KivString ignored;
    parsed.valueFunction(ignored, parsed, text);
    return ToNormalized(values, parsed.values.asEnumeration.index);
}

template class ParameterEnumT<ParameterRecordBase>;
