#pragma once
#include <cstdint>

#include "base/kiv_string.h"
#include "gui/core/kiv_event.h"

class KivButton;
class KivComboEdit;
class KivControl;
class KivHouseEditor;
class KivKestruneAudioEffectPlugin;
class KivStatic;
class KivWindow;

// The windows the top bar's buttons open over the editor, modally. The MIDI window is the
// house editor's own; the morph and preset library windows live in the preset editors above
// it, which the product's editor registers. A button without a window stays disabled.
struct KivHouseEditorWindows {
    using Opener = void (*)(KivWindow& parent, KivKestruneAudioEffectPlugin& plugin);
    Opener morph = nullptr;
    Opener presetLibrary = nullptr;
    Opener midiControllers = nullptr;

    static KivHouseEditorWindows& Registered();
};

// The house top bar, bound to the controls of the editor's description by identifier:
// "presets" (slots A to H), "ab", "copy", "paste", "morph", "library", "midi", "savedefault"
// (the live settings become the defaults of new instances), "factoryreset" (back to the
// settings of a new instance before any defaults), and "help" with the help line "helpline"
// that shows the help text of the control under the mouse.
class KivHouseTopBar : public KivEventTarget {
public:
    explicit KivHouseTopBar(KivHouseEditor& editor);

    // Shows the live slot and, with help on, the help of the control under the mouse.
    void Refresh();

private:
    void Bind(const char* identifier, void (KivHouseTopBar::*handler)(KivOnClickParams&));
    void OnSlotChosen(KivOnNotifyParams& params);
    void OnCompare(KivOnClickParams& params);
    void OnCopy(KivOnClickParams& params);
    void OnPaste(KivOnClickParams& params);
    void OnMorph(KivOnClickParams& params);
    void OnLibrary(KivOnClickParams& params);
    void OnMidi(KivOnClickParams& params);
    void OnSaveDefault(KivOnClickParams& params);
    void OnFactoryReset(KivOnClickParams& params);
    void OnHelp(KivOnClickParams& params);
    void Open(KivHouseEditorWindows::Opener opener);
    const KivControl* HelpSource() const;
    KivString HelpText(const KivControl& control) const;

    KivHouseEditor& editor_;
    KivKestruneAudioEffectPlugin* plugin_;
    KivComboEdit* slots_ = nullptr;
    KivButton* help_ = nullptr;
    KivStatic* helpLine_ = nullptr;
    const KivControl* helpShown_ = nullptr;
};
