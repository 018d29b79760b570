#pragma once
#include "parameters/compound/kiv_signal_generator_model.h"
#include "parameters/kiv_parameter_special_base.h"

// The host face of a signal generator: shape, custom morph, step sequencer and smoothness.
template <typename Base>
class ParameterSignalGeneratorT : public Base {
public:
    static constexpr uint32_t kHostCount = KivSignalGeneratorModel::kSettingCount;

    ParameterSignalGeneratorT(KivParameterCoreLink* core, KivParameterEffectLink* effect,
                              typename Base::ModelType& object, KivParameterEditorLink editorLink,
                              const KivString& prefix, const KivString& name, const KivString& qualifier)
        : Base(kHostCount, core, effect, object, editorLink, prefix, name, qualifier) {}

    void SetParameter(int32_t local, double value, bool silent) override;
    double GetParameter(int32_t local) const override;

protected:
    KivString LocalName(int32_t local) const override;

private:
    // Two spare values kept for the generator's editor; they start at 0.
    double spare_[2] = {0.0, 0.0};
};

extern template class ParameterSignalGeneratorT<ParameterSpecialBase<KivSignalGeneratorModel>>;
using KivParameterSignalGenerator = ParameterSignalGeneratorT<ParameterSpecialBase<KivSignalGeneratorModel>>;
