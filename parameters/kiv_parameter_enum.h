#pragma once
#include <algorithm>

#include "parameters/kiv_parameter_record_base.h"

// An enumeration record of n items at host values index / (n - 1); a host value picks the
// nearest item. Typed text selects the first item equal to it ignoring case, item 0 if none.
template <typename ParameterBase>
class ParameterEnumT : public ParameterBase {
public:
    using ParameterBase::ParameterBase;

    void SetParameter(int32_t local, double value, bool silent) override;
    double GetParameter(int32_t local) const override;
    KivString GetParameterValueName(int32_t local) const override;
    KivString GetParameterValueNameFrom01(int32_t local, double value) const override;
    double ParseParameterValueName(int32_t local, const KivString& text) const override;
    int32_t GetParameterType(int32_t) const override { return 3; }
    double GetParameterDefaultValue(int32_t local) const override;
    int32_t GetParameterStepCount(int32_t) const override {
        return std::max(this->record_->values.asEnumeration.count - 1, 0);
    }

private:
    static double ToNormalized(const KivEffectParameter::EnumerationValues& values, int32_t index);
    static int32_t FromNormalized(const KivEffectParameter::EnumerationValues& values, double value);
    static KivString ValueText(KivEffectParameter& record);
    static int32_t FindItem(const KivEffectParameter::EnumerationValues& values, const KivString& text);
};

extern template class ParameterEnumT<ParameterRecordBase>;
using KivParameterEnum = ParameterEnumT<ParameterRecordBase>;
