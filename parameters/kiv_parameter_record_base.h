#pragma once
#include <cstdint>

#include "parameters/kiv_effect_parameter.h"
#include "parameters/kiv_parameter_main_base.h"
#include "parameters/kiv_parameter_view.h"

class KivParameterEffectLink;

// A parameter object over one declaration record of the effect. It reads and writes the
// record in place, so the effect sees every change at once; changes made from outside the
// processing are reported back to the effect, and to the core when an editor is linked.
class ParameterRecordBase : public ParameterMainBase {
public:
    ParameterRecordBase(KivParameterCoreLink* core, KivParameterEffectLink* effect, KivEffectParameter& record,
                        KivParameterEditorLink editorLink, uint32_t recordIndex, const KivString& prefix,
                        const KivString& section);

    void Randomize(double amount) override;
    KivString GetParameterHostName(int32_t local) const override;
    KivString GetParameterShortLabel(int32_t local) const override;
    KivString GetParameterUnit(int32_t local) const override;

    KivEffectParameter& GetRecord() const noexcept { return *record_; }
    uint32_t GetRecordIndex() const noexcept { return recordIndex_; }
    KivParameterEffectLink* GetEffect() const noexcept { return effect_; }
    KivParameterEditorLink GetEditorLink() const noexcept { return editorLink_; }

protected:
    // The callbacks of a change: the effect hears of it (and re-prepares when the record asks
    // for it), the editor view is marked for refresh. Silent changes (smoothing inside a
    // block) report nothing.
    void ReportChange(bool silent);
    // The value function's display of `record` (the record itself or a copy holding another
    // value).
    static KivString ValueFunctionText(KivEffectParameter& record);

    KivParameterEffectLink* effect_;
    KivEffectParameter* record_;
    KivParameterEditorLink editorLink_;
    uint32_t recordIndex_;
};
