#include "plugin/editor/midi/kiv_midi_notes_panel.h"

#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_check_box.h"
#include "gui/controls/kiv_combo_edit.h"
#include "gui/controls/kiv_edit.h"
#include "gui/controls/kiv_static.h"
#include "gui/core/kiv_windows.h"
#include "gui/layout/kiv_layout_grid.h"
#include "gui/layout/kiv_layouts.h"
#include "plugin/editor/midi/kiv_midi_slot_controls.h"
#include "plugin/kiv_audio_plugin.h"

namespace Controls = KivMIDISlotControls;

namespace {

constexpr int32_t kColumns = 9;

std::vector<KivString> ModeItems() {
    std::vector<KivString> items;
    for (int32_t mode = 0; mode < KivNoteControllerModes::kCount; ++mode)
        items.push_back(KivNoteControllerModes::Name(static_cast<KivNoteControllerMode>(mode)));
    return items;
}

}  // namespace

KivMIDINotesPanel::KivMIDINotesPanel(KivAudioPlugin& plugin, KivMIDIControllers& controllers) : controllers_(controllers) {
    auto* grid = new KivLayoutGrid(this);
    grid->SetSize(kColumns, KivMIDIControllers::kSlots + 1);
    AddHeadings();
    for (int32_t slot = 0; slot < KivMIDIControllers::kSlots; ++slot) AddRow(plugin, slot);
    for (int32_t index = 0; index < GetChildCount(); ++index) grid->Add(*GetChild(index));
    Reload();
}

KivMIDINotesPanel::~KivMIDINotesPanel() {
    for (int32_t slot = 0; slot < KivMIDIControllers::kSlots; ++slot) controllers_.SetNoteLearning(slot, false);
}

void KivMIDINotesPanel::AddHeadings() {
    const char* const texts[kColumns] = {"", "Enable", "Parameter", "Note", "", "Mode", "Value", "MaxValue", "Channel"};
    const int32_t widths[kColumns] = {22, 50, 180, 70, 58, 150, 72, 72, 64};
    for (int32_t column = 0; column < kColumns; ++column) Controls::Heading(*this, texts[column], widths[column]);
}

void KivMIDINotesPanel::AddRow(KivAudioPlugin& plugin, int32_t slot) {
    Controls::Heading(*this, "", 22)->SetText(KivString::FromUTF8(std::to_string(slot + 1)));
    Row& row = rows_[slot];
    row.enable = Controls::Check(*this);
    row.parameter = Controls::Menu(*this, Controls::ParameterItems(plugin), 180);
    row.note = Controls::Menu(*this, Controls::NoteItems(), 70);
    row.learn = Controls::LearnButton(*this);
    row.mode = Controls::Menu(*this, ModeItems(), 150);
    row.minValue = Controls::PercentField(*this, 72);
    row.maxValue = Controls::PercentField(*this, 72);
    row.channel = Controls::Menu(*this, Controls::ChannelItems(), 64);
    row.enable->OnClick.AddHandler(this, &KivMIDINotesPanel::OnClicked);
    row.learn->OnClick.AddHandler(this, &KivMIDINotesPanel::OnClicked);
    for (KivControlValue* edited : {static_cast<KivControlValue*>(row.parameter), static_cast<KivControlValue*>(row.note),
                                    static_cast<KivControlValue*>(row.mode), static_cast<KivControlValue*>(row.minValue),
                                    static_cast<KivControlValue*>(row.maxValue), static_cast<KivControlValue*>(row.channel)})
        edited->OnChange.AddHandler(this, &KivMIDINotesPanel::OnEdited);
}

void KivMIDINotesPanel::Reload() {
    for (int32_t slot = 0; slot < KivMIDIControllers::kSlots; ++slot) ShowSlot(slot);
}

void KivMIDINotesPanel::ShowSlot(int32_t slot) {
    const KivNoteControllerSlot settings = controllers_.GetNoteControllerSlot(slot);
    Row& row = rows_[slot];
    row.enable->SetChecked(settings.enabled);
    row.parameter->Select(settings.parameter + 1);
    row.note->Select(static_cast<int32_t>(settings.note));
    row.learn->SetChecked(controllers_.IsNoteLearning(slot));
    row.mode->Select(static_cast<int32_t>(settings.mode));
    Controls::SetPercentField(*row.minValue, settings.minValue);
    Controls::SetPercentField(*row.maxValue, settings.maxValue);
    row.channel->Select(static_cast<int32_t>(settings.channel));
    EnableRow(slot, settings.enabled);
}

// Starts from the slot as held, so that a note learned meanwhile is kept.
void KivMIDINotesPanel::StoreSlot(int32_t slot) {
    const Row& row = rows_[slot];
    KivNoteControllerSlot settings = controllers_.GetNoteControllerSlot(slot);
    settings.enabled = row.enable->IsChecked();
    const int32_t parameter = row.parameter->GetSelected() - 1;
    settings.parameterName = parameter >= 0 ? row.parameter->GetItem(parameter + 1) : KivString();
    settings.note = static_cast<uint32_t>(row.note->GetSelected());
    settings.mode = static_cast<KivNoteControllerMode>(row.mode->GetSelected());
    settings.minValue = Controls::GetPercentField(*row.minValue);
    settings.maxValue = Controls::GetPercentField(*row.maxValue);
    settings.channel = static_cast<uint32_t>(row.channel->GetSelected());
    controllers_.SetNoteControllerSlot(slot, settings);
    EnableRow(slot, settings.enabled);
}

void KivMIDINotesPanel::EnableRow(int32_t slot, bool on) {
    Row& row = rows_[slot];
    for (KivControl* control : {static_cast<KivControl*>(row.parameter), static_cast<KivControl*>(row.note),
                                static_cast<KivControl*>(row.learn), static_cast<KivControl*>(row.mode),
                                static_cast<KivControl*>(row.minValue), static_cast<KivControl*>(row.maxValue),
                                static_cast<KivControl*>(row.channel)})
        control->SetEnabled(on);
}

int32_t KivMIDINotesPanel::SlotOf(const KivObject* control) const {
    for (int32_t slot = 0; slot < KivMIDIControllers::kSlots; ++slot) {
        const Row& row = rows_[slot];
        const KivObject* controls[] = {row.enable, row.parameter, row.note, row.learn,
                                       row.mode,   row.minValue,  row.maxValue, row.channel};
        for (const KivObject* candidate : controls)
            if (candidate == control) return slot;
    }
    return -1;
}

void KivMIDINotesPanel::OnEdited(KivOnNotifyParams& params) {
    const int32_t slot = SlotOf(params.sender);
    if (slot >= 0) StoreSlot(slot);
}

void KivMIDINotesPanel::OnClicked(KivOnClickParams& params) {
    const int32_t slot = SlotOf(params.sender);
    if (slot < 0) return;
    if (params.sender == rows_[slot].learn) {
        controllers_.SetNoteLearning(slot, rows_[slot].learn->IsChecked());
        return;
    }
    StoreSlot(slot);
}

void KivMIDINotesPanel::OnTimer() {
    for (int32_t slot = 0; slot < KivMIDIControllers::kSlots; ++slot) {
        if (rows_[slot].learn->IsChecked() && !controllers_.IsNoteLearning(slot)) ShowSlot(slot);
    }
}

void KivMIDINotesPanel::OnWindowChanged(KivWindow* window) {
    KivPanel::OnWindowChanged(window);
    if (KivWindowSystem* system = KivWindows::System()) system->SetTimer(*this, window != nullptr ? kLearnPoll : 0);
}

void KivMIDINotesPanel::Arrange() { KivLayouts::Arrange(*this); }
