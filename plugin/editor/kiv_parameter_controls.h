#pragma once
#include <cstdint>
#include <vector>

#include "gui/core/kiv_control.h"

class KivAudioPlugin;
class KivCheckBox;
class KivControlValue;
struct KivEffectParameter;

// The standard controls of a plug-in's host parameters: a knob for a continuous value, a
// check box for a switch, a drop-down list of the display texts for an enumeration. The
// "parameter" element of an editor's description places one ("name" is the parameter's
// identifier; the caption defaults to its name). Refresh shows what automation changed and
// repaints nothing else.
class KivParameterControls {
public:
    explicit KivParameterControls(KivAudioPlugin& plugin) : plugin_(plugin) {}

    // Registers the "parameter" element with `loader`; the controls it builds are kept here.
    void Register(KivControl::KivXmlLoader& loader);
    // The standard control of host parameter `index`, made a child of `parent`.
    KivControl& Create(int32_t index, KivControl& parent);
    // The host index of the parameter with identifier `identifier`; -1 when there is none.
    int32_t FindIndex(const KivString& identifier) const;
    // Brings every control up to its parameter; the number of controls that changed.
    int32_t Refresh();
    // The help text of the parameter a control was made for; empty for other controls.
    KivString HelpOf(const KivControl& control) const;
    // The control made for parameter `index`, or null.
    KivControl* Find(int32_t index) const;

private:
    // The declaration record behind parameter `index`, or null.
    const KivEffectParameter* RecordOf(int32_t index) const;

    struct Entry {
        int32_t index;
        KivControl* control;
        double shown;
    };

    KivAudioPlugin& plugin_;
    std::vector<Entry> entries_;
};
