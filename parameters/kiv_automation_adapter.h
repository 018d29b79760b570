#pragma once
#include <cstdint>

#include "base/kiv_object.h"
#include "base/kiv_string.h"

class KivParameterCoreLink;

// A parameter object as the host sees it: it covers `GetCount()` consecutive host parameter
// indices starting at its first host index, and every operation takes a local index that runs
// from 0 within the object. Host values are doubles in 0..1.
//
// The plug-in core exposes this class as KivAudioPlugin::AutomationAdapter (a type alias in
// the core); it lives here so that parameter objects need nothing of the core.
//
// The virtual operations keep their order: host adapters and the core call them by slot.
class KivAutomationAdapter : public KivObject {
public:
    KivAutomationAdapter(uint32_t count, KivParameterCoreLink* core, const KivString& prefix);
    ~KivAutomationAdapter() override = default;

    // Reserved accessor; no parameter class answers anything.
    virtual void* GetExtension() const { return nullptr; }
    // Reserved notification; no parameter class reacts.
    virtual void OnNotify() {}
    virtual void SetParameter(int32_t local, double value, bool silent);
    virtual void SetParameterIfChanged(int32_t local, double value, bool silent);
    virtual double GetParameter(int32_t local) const;
    virtual KivString GetParameterName(int32_t local) const;
    virtual KivString GetParameterNameWithoutSection(int32_t local) const;
    virtual KivString GetParameterSection(int32_t local) const;
    virtual KivString GetParameterID(int32_t local) const;
    virtual KivString GetParameterValueName(int32_t local) const;
    virtual KivString GetParameterValueNameFrom01(int32_t local, double value) const;
    virtual double ParseParameterValueName(int32_t local, const KivString& text) const;
    virtual KivString GetParameterUnitsName(int32_t local) const;
    virtual bool IsInterpolated(int32_t local) const;
    virtual void SetInterpolating(int32_t local, bool on);
    // 1 float, 2 integer, 3 enumeration, 4 on/off.
    virtual int32_t GetParameterType(int32_t local) const;
    virtual double GetParameterDefaultValue(int32_t local) const;
    virtual void Subscribe() {}
    virtual void UpdateEditor() {}
    virtual bool CanRandomize(int32_t local) const;
    virtual void Randomize(double amount);
    // What hosts show beside the full name: a name unique across the plug-in and short
    // enough for a VST 2.4 host (the plain name unless the object knows better), a label of
    // at most 7 characters (or none), and the group hosts file the parameter under.
    virtual KivString GetParameterHostName(int32_t local) const;
    virtual KivString GetParameterShortLabel(int32_t local) const;
    virtual KivString GetParameterCategory(int32_t local) const;
    // Steps between the lowest and the highest value for parameters with a fixed set of
    // values (1 for a switch, items - 1 for a choice), 0 for continuous ones.
    virtual int32_t GetParameterStepCount(int32_t local) const;
    // The unit every display of the parameter already carries ("dB"), for hosts that list
    // units apart; empty when the displays carry none or several. Unlike the units name it
    // is never appended to a display.
    virtual KivString GetParameterUnit(int32_t local) const;

    uint32_t GetCount() const noexcept { return count_; }
    uint32_t GetFirstIndex() const noexcept { return firstIndex_; }
    void SetFirstIndex(uint32_t index) noexcept { firstIndex_ = index; }
    bool IsActive() const noexcept { return active_ != 0; }
    void SetActive(bool active) noexcept { active_ = active ? 1 : 0; }
    bool IsHidden() const noexcept { return hidden_ != 0; }
    void SetHidden(bool hidden) noexcept { hidden_ = hidden ? 1 : 0; }
    KivParameterCoreLink* GetCore() const noexcept { return core_; }
    const KivString& GetPrefix() const noexcept { return prefix_; }
    const KivString& GetIdentifier() const noexcept { return identifier_; }
    uint32_t GetTag() const noexcept { return tag_; }

protected:
    uint32_t count_;
    uint32_t firstIndex_ = 0;
    uint8_t active_ = 1;
    uint8_t hidden_ = 0;
    KivParameterCoreLink* core_;
    KivString prefix_;
    KivString identifier_;
    uint32_t tag_ = 0;
};
