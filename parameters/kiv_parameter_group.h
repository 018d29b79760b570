#pragma once
#include <utility>

#include "parameters/kiv_parameter_record_base.h"

// The on/off switch of a group of parameters (a band, a processor). The switch is a byte the
// group record points to; a group without one never becomes a parameter object.
template <typename ParameterBase>
class ParameterGroupT : public ParameterBase {
public:
    // The switch's position when the object is made is the factory setting: a group record
    // declares no default of its own.
    template <typename... Arguments>
    explicit ParameterGroupT(Arguments&&... arguments)
        : ParameterBase(std::forward<Arguments>(arguments)...), onByDefault_(Switch() && *Switch()) {}

    void SetParameter(int32_t local, double value, bool silent) override;
    double GetParameter(int32_t local) const override;
    KivString GetParameterValueName(int32_t local) const override;
    KivString GetParameterValueNameFrom01(int32_t local, double value) const override;
    double ParseParameterValueName(int32_t local, const KivString& text) const override;
    int32_t GetParameterType(int32_t) const override { return 4; }
    double GetParameterDefaultValue(int32_t) const override { return onByDefault_ ? 1.0 : 0.0; }
    int32_t GetParameterStepCount(int32_t) const override { return 1; }
    void UpdateEditor() override;

private:
    uint8_t* Switch() const noexcept { return this->record_->values.asGroup.enabled; }

    bool onByDefault_;
};

extern template class ParameterGroupT<ParameterRecordBase>;
using KivParameterGroup = ParameterGroupT<ParameterRecordBase>;
