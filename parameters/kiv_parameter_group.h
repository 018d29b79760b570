#pragma once
#include "parameters/kiv_parameter_record_base.h"

// The on/off switch of a group of parameters (a band, a processor). The switch is a byte the
// group record points to; a group without one never becomes a parameter object.
template <typename ParameterBase>
class ParameterGroupT : public ParameterBase {
public:
    using ParameterBase::ParameterBase;

    void SetParameter(int32_t local, double value, bool silent) override;
    double GetParameter(int32_t local) const override;
    KivString GetParameterValueName(int32_t local) const override;
    KivString GetParameterValueNameFrom01(int32_t local, double value) const override;
    int32_t GetParameterType(int32_t) const override { return 4; }
    void UpdateEditor() override;

private:
    uint8_t* Switch() const noexcept { return this->record_->values.asGroup.enabled; }
};

extern template class ParameterGroupT<ParameterRecordBase>;
using KivParameterGroup = ParameterGroupT<ParameterRecordBase>;
