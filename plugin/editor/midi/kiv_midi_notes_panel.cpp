#include "plugin/editor/midi/kiv_midi_notes_panel.h"

#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_check_box.h"
#include "gui/controls/kiv_combo_edit.h"
#include "gui/controls/kiv_edit.h"
#include "plugin/editor/midi/kiv_midi_slot_controls.h"

namespace Controls = KivMIDISlotControls;

namespace {

std::vector<KivString> ModeItems() {
    std::vector<KivString> items;
    for (int32_t mode = 0; mode < KivNoteControllerModes::kCount; ++mode)
        items.push_back(KivNoteControllerModes::Name(static_cast<KivNoteControllerMode>(mode)));
    return items;
}

}  // namespace

KivMIDINotesPanel::KivMIDINotesPanel(KivAudioPlugin& plugin, KivMIDIControllers& controllers)
    : KivMIDISlotPanel(controllers, {{"", 22},
                                     {"Enable", 50},
                                     {"Parameter", 180},
                                     {"Note", 70},
                                     {"", 58},
                                     {"Mode", 150},
                                     {"Value", 72},
                                     {"MaxValue", 72},
                                     {"Channel", 64}}) {
    for (int32_t slot = 0; slot < KivMIDIControllers::kSlots; ++slot) AddRow(plugin, slot);
    FinishRows();
    Reload();
}

KivMIDINotesPanel::~KivMIDINotesPanel() {
    for (int32_t slot = 0; slot < KivMIDIControllers::kSlots; ++slot) controllers_.SetNoteLearning(slot, false);
}

void KivMIDINotesPanel::AddRow(KivAudioPlugin& plugin, int32_t slot) {
    BeginRow(slot);
    Row& row = rows_[slot];
    AddEnable(slot, row.enable = Controls::Check(*this));
    AddEdit(slot, row.parameter = Controls::Menu(*this, Controls::ParameterItems(plugin), GetColumnWidth(2)));
    AddEdit(slot, row.note = Controls::Menu(*this, Controls::NoteItems(), GetColumnWidth(3)));
    AddLearn(slot, row.learn = Controls::LearnButton(*this));
    AddEdit(slot, row.mode = Controls::Menu(*this, ModeItems(), GetColumnWidth(5)));
    AddEdit(slot, row.minValue = Controls::PercentField(*this, GetColumnWidth(6)));
    AddEdit(slot, row.maxValue = Controls::PercentField(*this, GetColumnWidth(7)));
    AddEdit(slot, row.channel = Controls::Menu(*this, Controls::ChannelItems(), GetColumnWidth(8)));
}

void KivMIDINotesPanel::ShowSlot(int32_t slot) {
    const KivNoteControllerSlot settings = controllers_.GetNoteControllerSlot(slot);
    Row& row = rows_[slot];
    row.enable->SetChecked(settings.enabled);
    row.parameter->Select(settings.parameter + 1);
    row.note->Select(static_cast<int32_t>(settings.note));
    row.mode->Select(static_cast<int32_t>(settings.mode));
    Controls::SetPercentField(*row.minValue, settings.minValue);
    Controls::SetPercentField(*row.maxValue, settings.maxValue);
    row.channel->Select(static_cast<int32_t>(settings.channel));
}

void KivMIDINotesPanel::StoreSlot(int32_t slot) {
    const Row& row = rows_[slot];
    KivNoteControllerSlot settings = controllers_.GetNoteControllerSlot(slot);
    settings.enabled = row.enable->IsChecked();
    settings.parameterName = Controls::KeptParameterName(*row.parameter, settings.parameter, settings.parameterName);
    settings.note = static_cast<uint32_t>(row.note->GetSelected());
    settings.mode = static_cast<KivNoteControllerMode>(row.mode->GetSelected());
    settings.minValue = Controls::GetPercentField(*row.minValue);
    settings.maxValue = Controls::GetPercentField(*row.maxValue);
    settings.channel = static_cast<uint32_t>(row.channel->GetSelected());
    controllers_.SetNoteControllerSlot(slot, settings);
}
