#pragma once
#include "parameters/kiv_parameter_record_base.h"

// An integer record: 0..1 over minimum..maximum, truncated toward zero, so over 0..10 the
// host value 0.29 is 2 and 0.3 is 3.
template <typename ParameterBase>
class ParameterIntT : public ParameterBase {
public:
    using ParameterBase::ParameterBase;

    void SetParameter(int32_t local, double value, bool silent) override;
    double GetParameter(int32_t local) const override;
    KivString GetParameterValueName(int32_t local) const override;
    KivString GetParameterValueNameFrom01(int32_t local, double value) const override;
    double ParseParameterValueName(int32_t local, const KivString& text) const override;
    bool IsInterpolated(int32_t local) const override;
    void SetInterpolating(int32_t local, bool on) override;
    int32_t GetParameterType(int32_t) const override { return 2; }
    double GetParameterDefaultValue(int32_t local) const override;
    int32_t GetParameterStepCount(int32_t) const override {
        const auto& values = this->record_->values.asInteger;
        return values.maximum > values.minimum ? values.maximum - values.minimum : 0;
    }

private:
    static double ToNormalized(const KivEffectParameter::IntegerValues& values, int64_t value);
    static int32_t FromNormalized(const KivEffectParameter::IntegerValues& values, double value);
    static KivString ValueText(KivEffectParameter& record);
};

extern template class ParameterIntT<ParameterRecordBase>;
using KivParameterInt = ParameterIntT<ParameterRecordBase>;
