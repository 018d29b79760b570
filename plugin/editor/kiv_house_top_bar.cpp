#include "plugin/editor/kiv_house_top_bar.h"

#include "base/kiv_exception.h"
#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_combo_edit.h"
#include "gui/controls/kiv_message_window.h"
#include "gui/controls/kiv_static.h"
#include "plugin/editor/kiv_house_editor.h"
#include "plugin/editor/midi/kiv_midi_window.h"
#include "plugin/kiv_kestrune_audio_effect_plugin.h"
#include "plugin/state/kiv_default_settings_commands.h"
#include "presets/slots/kiv_preset_slot_commands.h"
#include "presets/slots/kiv_settings_clipboard.h"

namespace {

void OpenMidiWindow(KivWindow& parent, KivKestruneAudioEffectPlugin& plugin) { KivMIDIWindow::Run(&parent, plugin); }

// The oversampling menu's items and their factors.
constexpr int32_t kOversamplingFactors[] = {1, 2, 4, 8};

int32_t OversamplingItem(int32_t factor) {
    for (int32_t item = 0; item < 4; ++item) {
        if (kOversamplingFactors[item] == factor) return item;
    }
    return 0;
}

void Enable(KivControl* control, bool enabled) {
    if (!control || control->IsEnabled() == enabled) return;
    control->SetEnabled(enabled);
    control->Invalidate();
}

}  // namespace

KivHouseEditorWindows& KivHouseEditorWindows::Registered() {
    static KivHouseEditorWindows windows{nullptr, nullptr, &OpenMidiWindow};
    return windows;
}

KivHouseTopBar::KivHouseTopBar(KivHouseEditor& editor)
    : editor_(editor), plugin_(dynamic_cast<KivKestruneAudioEffectPlugin*>(&editor.GetPlugin())) {
    slots_ = editor_.Find<KivComboEdit>(KivString("presets"));
    if (slots_) {
        slots_->SetItems({KivString("A"), KivString("B"), KivString("C"), KivString("D"), KivString("E"),
                          KivString("F"), KivString("G"), KivString("H")},
                         plugin_ ? plugin_->GetPresetSlots().GetCurrent() : 0);
        slots_->OnChange.AddHandler(this, &KivHouseTopBar::OnSlotChosen);
        slots_->SetEnabled(plugin_ != nullptr);
    }
    Bind("ab", &KivHouseTopBar::OnCompare);
    Bind("copy", &KivHouseTopBar::OnCopy);
    Bind("paste", &KivHouseTopBar::OnPaste);
    Bind("morph", &KivHouseTopBar::OnMorph);
    Bind("library", &KivHouseTopBar::OnLibrary);
    Bind("midi", &KivHouseTopBar::OnMidi);
    Bind("savedefault", &KivHouseTopBar::OnSaveDefault);
    Bind("factoryreset", &KivHouseTopBar::OnFactoryReset);
    Bind("help", &KivHouseTopBar::OnHelp);
    Bind("bypass", &KivHouseTopBar::OnBypass);
    Bind("undo", &KivHouseTopBar::OnUndo);
    Bind("redo", &KivHouseTopBar::OnRedo);
    bypass_ = editor_.Find<KivButton>(KivString("bypass"));
    undo_ = editor_.Find<KivButton>(KivString("undo"));
    redo_ = editor_.Find<KivButton>(KivString("redo"));
    oversampling_ = editor_.Find<KivComboEdit>(KivString("oversampling"));
    if (oversampling_) {
        oversampling_->SetItems({KivString("Off"), KivString("2x"), KivString("4x"), KivString("8x")},
                                plugin_ ? OversamplingItem(plugin_->GetOversampling()) : 0);
        oversampling_->OnChange.AddHandler(this, &KivHouseTopBar::OnOversampling);
        oversampling_->SetEnabled(plugin_ != nullptr);
    }
    Enable(bypass_, plugin_ != nullptr);
    help_ = editor_.Find<KivButton>(KivString("help"));
    helpLine_ = editor_.Find<KivStatic>(KivString("helpline"));
    if (helpLine_) helpLine_->SetVisible(false);
    const KivHouseEditorWindows& windows = KivHouseEditorWindows::Registered();
    const std::pair<const char*, KivHouseEditorWindows::Opener> openers[] = {
        {"morph", windows.morph}, {"library", windows.presetLibrary}, {"midi", windows.midiControllers}};
    for (const auto& [identifier, opener] : openers) {
        if (KivControl* button = editor_.FindControl(KivString(identifier))) button->SetEnabled(opener && plugin_);
    }
    for (const char* identifier : {"ab", "copy", "paste", "savedefault", "factoryreset"}) {
        if (KivControl* button = editor_.FindControl(KivString(identifier))) button->SetEnabled(plugin_ != nullptr);
    }
    ShowHistory();
}

void KivHouseTopBar::Bind(const char* identifier, void (KivHouseTopBar::*handler)(KivOnClickParams&)) {
    if (auto* button = editor_.Find<KivButton>(KivString(identifier))) button->OnClick.AddHandler(this, handler);
}

// The bar follows what the host and the history change too: bypass, oversampling (a loaded
// state), whether there is anything to undo.
void KivHouseTopBar::Refresh() {
    if (slots_ && plugin_ && !slots_->IsOpen()) {
        const int32_t live = plugin_->GetPresetSlots().GetCurrent();
        if (slots_->GetSelected() != live) slots_->Select(live);
    }
    if (bypass_ && plugin_ && bypass_->IsChecked() != plugin_->IsBypassed()) {
        bypass_->SetChecked(plugin_->IsBypassed());
        bypass_->Invalidate();
    }
    if (oversampling_ && plugin_ && !oversampling_->IsOpen()) {
        const int32_t item = OversamplingItem(plugin_->GetOversampling());
        if (oversampling_->GetSelected() != item) oversampling_->Select(item);
    }
    ShowHistory();
    if (!helpLine_ || !help_ || !help_->IsChecked()) return;
    const KivControl* source = HelpSource();
    if (source == helpShown_) return;
    helpShown_ = source;
    helpLine_->SetText(source ? HelpText(*source) : KivString());
    helpLine_->Invalidate();
}

// The control under the mouse, or the nearest enclosing one, that has a help text.
const KivControl* KivHouseTopBar::HelpSource() const {
    for (const KivControl* control = editor_.GetWindow().GetHover(); control; control = control->GetParent()) {
        if (!HelpText(*control).IsEmpty()) return control;
    }
    return nullptr;
}

// The description's help, else the help of the parameter the control shows, as one line:
// the markup of the rich help goes, a paragraph break becomes a space.
KivString KivHouseTopBar::HelpText(const KivControl& control) const {
    const KivString markup = !control.GetHelp().IsEmpty() ? control.GetHelp() : editor_.GetParameterControls().HelpOf(control);
    KivString line;
    int32_t tagStart = -1;
    for (int32_t i = 0; i < markup.Length(); ++i) {
        const char16_t character = markup[i];
        if (character == u'<') {
            tagStart = i + 1;
        } else if (character == u'>' && tagStart >= 0) {
            const bool paragraph = i - tagStart == 1 && markup[tagStart] == u'p';
            if (paragraph && line.Length() > 0 && line[line.Length() - 1] != u' ') line += u' ';
            tagStart = -1;
        } else if (tagStart < 0) {
            line += character;
        }
    }
    return line;
}

void KivHouseTopBar::OnSlotChosen(KivOnNotifyParams&) {
    if (plugin_) KivPresetSlotCommands::Select(*plugin_, slots_->GetSelected());
}

void KivHouseTopBar::OnCompare(KivOnClickParams&) {
    if (plugin_) KivPresetSlotCommands::CompareAB(*plugin_);
}

void KivHouseTopBar::OnCopy(KivOnClickParams&) {
    if (plugin_) KivSettingsClipboard::Copy(*plugin_);
}

void KivHouseTopBar::OnPaste(KivOnClickParams&) {
    if (!plugin_) return;
    KivEditHistory::SettingsChange step(plugin_->GetEditHistory());
    KivSettingsClipboard::Paste(*plugin_);
}

void KivHouseTopBar::OnMorph(KivOnClickParams&) { Open(KivHouseEditorWindows::Registered().morph); }

void KivHouseTopBar::OnLibrary(KivOnClickParams&) { Open(KivHouseEditorWindows::Registered().presetLibrary); }

void KivHouseTopBar::OnMidi(KivOnClickParams&) { Open(KivHouseEditorWindows::Registered().midiControllers); }

// A save that fails (a full disk, a folder without rights) says so: the user would otherwise
// believe the next instance starts with these settings.
void KivHouseTopBar::OnSaveDefault(KivOnClickParams&) {
    if (!plugin_) return;
    try {
        KivDefaultSettingsCommands::SaveAsDefault(*plugin_);
    } catch (const KivException& error) {
        KivMessageWindow::Ask(&editor_.GetWindow(), KivString("Save as default"),
                              KivString("The default settings could not be saved: ") + error.GetMessage(),
                              KivMessageButtons::kOk);
    }
}

// The host hears of the whole change from the plug-in's notification path, as after a
// preset load.
void KivHouseTopBar::OnFactoryReset(KivOnClickParams&) {
    if (!plugin_) return;
    {
        // A reset by mistake is undone like any other change of the whole settings.
        KivEditHistory::SettingsChange step(plugin_->GetEditHistory());
        KivDefaultSettingsCommands::ResetToFactorySettings(*plugin_);
    }
    ShowHistory();
}

// Whatever the window changes (a preset loaded from the library, a morph kept) is one step.
void KivHouseTopBar::Open(KivHouseEditorWindows::Opener opener) {
    if (!opener || !plugin_) return;
    KivEditHistory::SettingsChange step(plugin_->GetEditHistory());
    opener(editor_.GetWindow(), *plugin_);
}

void KivHouseTopBar::OnBypass(KivOnClickParams&) {
    if (plugin_ && bypass_) plugin_->ChangeBypassByUser(bypass_->IsChecked());
    ShowHistory();
}

void KivHouseTopBar::OnOversampling(KivOnNotifyParams&) {
    if (!plugin_ || !oversampling_) return;
    const int32_t item = oversampling_->GetSelected();
    if (item < 0 || item >= 4) return;
    {
        KivEditHistory::SettingsChange step(plugin_->GetEditHistory());
        plugin_->ChangeOversampling(kOversamplingFactors[item]);
    }
    ShowHistory();
}

void KivHouseTopBar::OnUndo(KivOnClickParams&) {
    if (plugin_) plugin_->GetEditHistory().Undo();
    editor_.Refresh();
}

void KivHouseTopBar::OnRedo(KivOnClickParams&) {
    if (plugin_) plugin_->GetEditHistory().Redo();
    editor_.Refresh();
}

bool KivHouseTopBar::OnShortcut(uint32_t key, uint8_t state) {
    if (key != 'Z' || !(state & KivInputState::kControl) || (state & KivInputState::kAlt)) return false;
    KivOnClickParams params;
    if (state & KivInputState::kShift) OnRedo(params);
    else OnUndo(params);
    return true;
}

void KivHouseTopBar::ShowHistory() {
    if (!plugin_) {
        Enable(undo_, false);
        Enable(redo_, false);
        return;
    }
    const KivEditHistory& history = plugin_->GetEditHistory();
    if (history.GetRevision() == shownRevision_) return;
    shownRevision_ = history.GetRevision();
    Enable(undo_, history.CanUndo());
    Enable(redo_, history.CanRedo());
}

void KivHouseTopBar::OnHelp(KivOnClickParams&) {
    if (!helpLine_ || !help_) return;
    helpShown_ = nullptr;
    helpLine_->SetText(KivString());
    helpLine_->SetVisible(help_->IsChecked());
    helpLine_->Invalidate();
}
