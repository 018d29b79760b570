#pragma once
#include <cstdint>

#include "parameters/compound/kiv_compound_change_handler.h"
#include "parameters/kiv_automation_adapter.h"
#include "parameters/kiv_parameter_view.h"

class KivCompoundModel;
class KivParameterEffectLink;

// The host face of a compound object: a run of host parameters over one object. Its section
// is its identifier text, so that a host lists "Envelope Point 1 X" and the like. Edits made
// in the object's own editor reach the host through Subscribe.
class ParameterSpecialMainBase : public KivAutomationAdapter {
public:
    ParameterSpecialMainBase(uint32_t count, KivParameterCoreLink* core, KivParameterEffectLink* effect,
                             KivCompoundModel& object, KivParameterEditorLink editorLink, const KivString& prefix,
                             const KivString& name, const KivString& qualifier);
    ~ParameterSpecialMainBase() override;

    KivString GetParameterName(int32_t local) const override;
    KivString GetParameterNameWithoutSection(int32_t local) const override;
    KivString GetParameterSection(int32_t local) const override;
    // Hosts file the covered parameters under the section, or under the object's name.
    KivString GetParameterCategory(int32_t local) const override;
    void Subscribe() override;
    void UpdateEditor() override;

    const KivString& GetName() const noexcept { return name_; }

protected:
    // The name of one covered parameter, e.g. "Amp attack".
    virtual KivString LocalName(int32_t local) const = 0;
    // A change written from outside: the linked editor view is refreshed.
    void ReportChange(bool silent);

    KivString name_;
    KivParameterEffectLink* effect_;
    KivCompoundModel* object_;
    KivParameterEditorLink editorLink_;

private:
    // Forwards the object's change events without making the face a second kind of object.
    class ChangeForwarder : public KivCompoundChangeHandler {
    public:
        explicit ChangeForwarder(ParameterSpecialMainBase& owner) : owner_(owner) {}
        void OnCompoundChanged() override;

    private:
        ParameterSpecialMainBase& owner_;
    };

    ChangeForwarder forwarder_;
    bool subscribed_ = false;
};
