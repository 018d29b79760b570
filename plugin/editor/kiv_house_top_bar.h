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
// settings of a new instance before any defaults), "bypass" (the host's bypass switch),
// "oversampling" (Off, 2x, 4x, 8x), "undo" and "redo", and "help" with the help line
// "helpline" that shows the help text of the control under the mouse. The channel mode is a
// host parameter: the description places it as one.
//
// Undo and redo work on the plug-in's edit history: parameter gestures record themselves;
// the bar makes one settings step of each paste, of each window it opens (a preset loaded in
// the library, a morph), of each reset to factory settings and of each oversampling change.
class KivHouseTopBar : public KivEventTarget {
public:
    explicit KivHouseTopBar(KivHouseEditor& editor);

    // Shows the live slot and, with help on, the help of the control under the mouse.
    void Refresh();
    // Ctrl+Z undoes, Ctrl+Shift+Z redoes; true when the key was one of them.
    bool OnShortcut(uint32_t key, uint8_t state);

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
    void OnBypass(KivOnClickParams& params);
    void OnUndo(KivOnClickParams& params);
    void OnRedo(KivOnClickParams& params);
    void OnOversampling(KivOnNotifyParams& params);
    void ShowHistory();
    void Open(KivHouseEditorWindows::Opener opener);
    const KivControl* HelpSource() const;
    KivString HelpText(const KivControl& control) const;

    KivHouseEditor& editor_;
    KivKestruneAudioEffectPlugin* plugin_;
    KivComboEdit* slots_ = nullptr;
    KivButton* help_ = nullptr;
    KivStatic* helpLine_ = nullptr;
    KivButton* bypass_ = nullptr;
    KivButton* undo_ = nullptr;
    KivButton* redo_ = nullptr;
    KivComboEdit* oversampling_ = nullptr;
    uint64_t shownRevision_ = ~uint64_t{0};
    const KivControl* helpShown_ = nullptr;
};
