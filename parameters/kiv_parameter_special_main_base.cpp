#include "parameters/kiv_parameter_special_main_base.h"

#include "parameters/compound/kiv_compound_model.h"
#include "parameters/kiv_parameter_core_link.h"
#include "parameters/kiv_parameter_effect_link.h"

ParameterSpecialMainBase::ParameterSpecialMainBase(uint32_t count, KivParameterCoreLink* core,
                                                   KivParameterEffectLink* effect, KivCompoundModel& object,
                                                   KivParameterEditorLink editorLink, const KivString& prefix,
                                                   const KivString& name, const KivString& qualifier)
    : KivAutomationAdapter(count, core, prefix),
      name_(name),
      effect_(effect),
      object_(&object),
      editorLink_(editorLink),
      forwarder_(*this) {
    // A compound declaration has no identifier of its own: its qualifier names it.
    identifier_ = qualifier;
}

ParameterSpecialMainBase::~ParameterSpecialMainBase() {
    if (subscribed_) object_->RemoveChangeHandler(forwarder_);
}

KivString ParameterSpecialMainBase::GetParameterName(int32_t local) const { return LocalName(local); }

KivString ParameterSpecialMainBase::GetParameterNameWithoutSection(int32_t local) const { return LocalName(local); }

KivString ParameterSpecialMainBase::GetParameterSection(int32_t) const { return identifier_; }

KivString ParameterSpecialMainBase::GetParameterCategory(int32_t) const {
    return identifier_.IsEmpty() ? name_ : identifier_;
}

void ParameterSpecialMainBase::Subscribe() {
    if (subscribed_) return;
    object_->AddChangeHandler(forwarder_);
    subscribed_ = true;
}

void ParameterSpecialMainBase::UpdateEditor() {
    if (KivParameterView* view = KivCurrentView(editorLink_)) view->RefreshParameterView(*this);
}

// The effect plays its compound objects from prepared state, like any parameter that
// reprepares: a host's write is heard once the effect has prepared again.
void ParameterSpecialMainBase::ReportChange(bool silent) {
    if (silent) return;
    if (effect_) effect_->MarkForReprepare();
    if (editorLink_ && core_) core_->NeedUpdateEditor(*this);
}

void ParameterSpecialMainBase::ChangeForwarder::OnCompoundChanged() {
    if (owner_.core_) owner_.core_->SendAllAutomation(owner_);
}
