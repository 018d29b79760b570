#pragma once
#include "parameters/compound/kiv_adsr_model.h"
#include "parameters/kiv_parameter_special_base.h"

// The host face of an ADSR: 11 host parameters. Times run 0..10 s under a fourth-power
// curve, so that the short times musicians mostly use get most of the travel; shapes -1..1
// sit at (shape + 1) / 2; the last parameter is a spare the host may move freely.
template <typename Base>
class ParameterADSRT : public Base {
public:
    static constexpr uint32_t kHostCount = 11;

    ParameterADSRT(KivParameterCoreLink* core, KivParameterEffectLink* effect, typename Base::ModelType& object,
                   KivParameterEditorLink editorLink, const KivString& prefix, const KivString& name,
                   const KivString& qualifier)
        : Base(kHostCount, core, effect, object, editorLink, prefix, name, qualifier) {}

    void SetParameter(int32_t local, double value, bool silent) override;
    double GetParameter(int32_t local) const override;

protected:
    KivString LocalName(int32_t local) const override;

private:
    double spare_ = 0.5;
};

extern template class ParameterADSRT<ParameterSpecialBase<KivADSRModel>>;
using KivParameterADSR = ParameterADSRT<ParameterSpecialBase<KivADSRModel>>;
