#include "parameters/kiv_parameter_record_base.h"

#include "parameters/kiv_parameter_core_link.h"
#include "parameters/kiv_parameter_effect_link.h"
#include "parameters/kiv_parameter_randomizer.h"
#include "parameters/kiv_text_join.h"

ParameterRecordBase::ParameterRecordBase(KivParameterCoreLink* core, KivParameterEffectLink* effect,
                                         KivEffectParameter& record, KivParameterEditorLink editorLink,
                                         uint32_t recordIndex, const KivString& prefix, const KivString& section)
    : ParameterMainBase(core, prefix, record.name, KivJoinNonEmpty(record.qualifier1, record.qualifier2, " - "),
                        section),
      effect_(effect),
      record_(&record),
      editorLink_(editorLink),
      recordIndex_(recordIndex) {
    identifier_ = record.identifier;
    tag_ = record.tag;
}

void ParameterRecordBase::ReportChange(bool silent) {
    if (silent) return;
    if (effect_) {
        effect_->OnParameterChanged(static_cast<int32_t>(recordIndex_));
        if (record_->HasFlag(KivEffectParameter::kReprepares)) effect_->MarkForReprepare();
    }
    if (editorLink_ && core_) core_->NeedUpdateEditor(*this);
}

KivString ParameterRecordBase::ValueFunctionText(KivEffectParameter& record) {
    KivString text;
    record.valueFunction(text, record, KivString());
    return text;
}

void ParameterRecordBase::Randomize(double amount) {
    double before = GetParameter(0);
    KivParameterRandomizer::Randomize(*record_, amount);
    if (GetParameter(0) != before) ReportChange(false);
}

KivString ParameterRecordBase::GetParameterHostName(int32_t) const {
    return record_->hostName ? KivString(record_->hostName) : name_;
}

KivString ParameterRecordBase::GetParameterShortLabel(int32_t) const {
    return record_->shortLabel ? KivString(record_->shortLabel) : KivString();
}

KivString ParameterRecordBase::GetParameterUnit(int32_t) const {
    return record_->units ? KivString(record_->units) : KivString();
}
