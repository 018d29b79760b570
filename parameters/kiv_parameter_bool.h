#pragma once
#include "parameters/kiv_parameter_record_base.h"

// An on/off record: on from host value 0.5 up, shown as "On" or "Off".
template <typename ParameterBase>
class ParameterBoolT : public ParameterBase {
public:
    using ParameterBase::ParameterBase;

    void SetParameter(int32_t local, double value, bool silent) override;
    double GetParameter(int32_t local) const override;
    KivString GetParameterValueName(int32_t local) const override;
    KivString GetParameterValueNameFrom01(int32_t local, double value) const override;
    double ParseParameterValueName(int32_t local, const KivString& text) const override;
    int32_t GetParameterType(int32_t) const override { return 4; }
    double GetParameterDefaultValue(int32_t) const override;
    int32_t GetParameterStepCount(int32_t) const override { return 1; }
};

extern template class ParameterBoolT<ParameterRecordBase>;
using KivParameterBool = ParameterBoolT<ParameterRecordBase>;

inline bool KivIsOnValue(double value) noexcept { return value >= 0.5; }
inline KivString KivOnOffText(bool on) { return on ? "On" : "Off"; }
// "On" and "Off" in any case, or a number: at least 0.5 is on; anything else is off.
double KivParseOnOffText(const KivString& text);
