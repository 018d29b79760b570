#pragma once
#include "parameters/kiv_parameter_record_base.h"

// A float record: the host's 0..1 runs through the record's curve over minimum..maximum.
// With curve 2 over 0..10, the value 0.625 sits at 0.5.
template <typename ParameterBase>
class ParameterFloatT : public ParameterBase {
public:
    using ParameterBase::ParameterBase;

    void SetParameter(int32_t local, double value, bool silent) override;
    double GetParameter(int32_t local) const override;
    KivString GetParameterValueName(int32_t local) const override;
    KivString GetParameterValueNameFrom01(int32_t local, double value) const override;
    double ParseParameterValueName(int32_t local, const KivString& text) const override;
    bool IsInterpolated(int32_t local) const override;
    void SetInterpolating(int32_t local, bool on) override;
    int32_t GetParameterType(int32_t) const override { return 1; }
    double GetParameterDefaultValue(int32_t local) const override;

private:
    // The display of `record`'s value: its value function, its format or a plain number.
    static KivString ValueText(KivEffectParameter& record);
};

extern template class ParameterFloatT<ParameterRecordBase>;
using KivParameterFloat = ParameterFloatT<ParameterRecordBase>;
