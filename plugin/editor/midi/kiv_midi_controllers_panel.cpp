#include "plugin/editor/midi/kiv_midi_controllers_panel.h"

#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_check_box.h"
#include "gui/controls/kiv_combo_edit.h"
#include "gui/controls/kiv_edit.h"
#include "plugin/editor/midi/kiv_midi_slot_controls.h"

namespace Controls = KivMIDISlotControls;

namespace {

std::vector<KivString> RangeModeItems() {
    std::vector<KivString> items;
    for (int32_t mode = 0; mode < KivRangeModes::kCount; ++mode)
        items.push_back(KivRangeModes::Name(static_cast<KivRangeMode>(mode)));
    return items;
}

}  // namespace

KivMIDIControllersPanel::KivMIDIControllersPanel(KivAudioPlugin& plugin, KivMIDIControllers& controllers)
    : KivMIDISlotPanel(controllers, {{"", 22},
                                     {"Enable", 50},
                                     {"Parameter", 180},
                                     {"", 58},
                                     {"Channel", 64},
                                     {"Controller", 104},
                                     {"Value", 72},
                                     {"MaxValue", 72},
                                     {"Depth", 72},
                                     {"Range mode", 112},
                                     {"Invert", 44}}) {
    for (int32_t slot = 0; slot < KivMIDIControllers::kSlots; ++slot) AddRow(plugin, slot);
    FinishRows();
    Reload();
}

KivMIDIControllersPanel::~KivMIDIControllersPanel() {
    for (int32_t slot = 0; slot < KivMIDIControllers::kSlots; ++slot) controllers_.SetControllerLearning(slot, false);
}

void KivMIDIControllersPanel::AddRow(KivAudioPlugin& plugin, int32_t slot) {
    BeginRow(slot);
    Row& row = rows_[slot];
    AddEnable(slot, row.enable = Controls::Check(*this));
    AddEdit(slot, row.parameter = Controls::Menu(*this, Controls::ParameterItems(plugin), GetColumnWidth(2)));
    AddLearn(slot, row.learn = Controls::LearnButton(*this));
    AddEdit(slot, row.channel = Controls::Menu(*this, Controls::ChannelItems(), GetColumnWidth(4)));
    AddEdit(slot, row.controller = Controls::Menu(*this, Controls::ControllerItems(), GetColumnWidth(5)));
    AddEdit(slot, row.value = Controls::PercentField(*this, GetColumnWidth(6)));
    AddEdit(slot, row.maxValue = Controls::PercentField(*this, GetColumnWidth(7)));
    AddEdit(slot, row.depth = Controls::PercentField(*this, GetColumnWidth(8)));
    AddEdit(slot, row.rangeMode = Controls::Menu(*this, RangeModeItems(), GetColumnWidth(9)));
    AddEdit(slot, row.invert = Controls::Check(*this));
}

void KivMIDIControllersPanel::GreyUnusedFields(int32_t slot) {
    const Row& row = rows_[slot];
    const bool interval = row.rangeMode->GetSelected() == kKivRangeInterval;
    row.maxValue->SetEnabled(interval);
    row.depth->SetEnabled(!interval);
}

void KivMIDIControllersPanel::ShowSlot(int32_t slot) {
    const KivControllerSlot settings = controllers_.GetControllerSlot(slot);
    Row& row = rows_[slot];
    row.enable->SetChecked(settings.enabled);
    row.parameter->Select(settings.parameter + 1);
    row.channel->Select(static_cast<int32_t>(settings.channel));
    row.controller->Select(static_cast<int32_t>(settings.controller));
    Controls::SetPercentField(*row.value, settings.value);
    Controls::SetPercentField(*row.maxValue, settings.maxValue);
    Controls::SetPercentField(*row.depth, settings.depth);
    row.rangeMode->Select(static_cast<int32_t>(settings.rangeMode));
    row.invert->SetChecked(settings.invert);
}

void KivMIDIControllersPanel::StoreSlot(int32_t slot) {
    const Row& row = rows_[slot];
    KivControllerSlot settings = controllers_.GetControllerSlot(slot);
    settings.enabled = row.enable->IsChecked();
    settings.parameterName = Controls::KeptParameterName(*row.parameter, settings.parameter, settings.parameterName);
    settings.channel = static_cast<uint32_t>(row.channel->GetSelected());
    settings.controller = static_cast<uint32_t>(row.controller->GetSelected());
    settings.value = Controls::GetPercentField(*row.value);
    settings.maxValue = Controls::GetPercentField(*row.maxValue);
    settings.depth = Controls::GetPercentField(*row.depth);
    settings.rangeMode = static_cast<KivRangeMode>(row.rangeMode->GetSelected());
    settings.invert = row.invert->IsChecked();
    controllers_.SetControllerSlot(slot, settings);
}
