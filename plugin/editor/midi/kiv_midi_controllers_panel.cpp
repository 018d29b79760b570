#include "plugin/editor/midi/kiv_midi_controllers_panel.h"

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

constexpr int32_t kColumns = 11;

std::vector<KivString> RangeModeItems() {
    std::vector<KivString> items;
    for (int32_t mode = 0; mode < KivRangeModes::kCount; ++mode) items.push_back(KivRangeModes::Name(static_cast<KivRangeMode>(mode)));
    return items;
}

}  // namespace

KivMIDIControllersPanel::KivMIDIControllersPanel(KivAudioPlugin& plugin, KivMIDIControllers& controllers)
    : controllers_(controllers) {
    auto* grid = new KivLayoutGrid(this);
    grid->SetSize(kColumns, KivMIDIControllers::kSlots + 1);
    AddHeadings();
    for (int32_t slot = 0; slot < KivMIDIControllers::kSlots; ++slot) AddRow(plugin, slot);
    for (int32_t index = 0; index < GetChildCount(); ++index) grid->Add(*GetChild(index));
    Reload();
}

KivMIDIControllersPanel::~KivMIDIControllersPanel() {
    // A slot must not go on learning for a panel that is gone.
    for (int32_t slot = 0; slot < KivMIDIControllers::kSlots; ++slot) controllers_.SetControllerLearning(slot, false);
}

void KivMIDIControllersPanel::AddHeadings() {
    const char* const texts[kColumns] = {"",      "Enable",   "Parameter", "",      "Channel",   "Controller",
                                         "Value", "MaxValue", "Depth",     "Range mode", "Invert"};
    const int32_t widths[kColumns] = {22, 50, 180, 58, 64, 104, 72, 72, 72, 112, 44};
    for (int32_t column = 0; column < kColumns; ++column) Controls::Heading(*this, texts[column], widths[column]);
}

void KivMIDIControllersPanel::AddRow(KivAudioPlugin& plugin, int32_t slot) {
    Controls::Heading(*this, "", 22)->SetText(KivString::FromUTF8(std::to_string(slot + 1)));
    Row& row = rows_[slot];
    row.enable = Controls::Check(*this);
    row.parameter = Controls::Menu(*this, Controls::ParameterItems(plugin), 180);
    row.learn = Controls::LearnButton(*this);
    row.channel = Controls::Menu(*this, Controls::ChannelItems(), 64);
    row.controller = Controls::Menu(*this, Controls::ControllerItems(), 104);
    row.value = Controls::PercentField(*this, 72);
    row.maxValue = Controls::PercentField(*this, 72);
    row.depth = Controls::PercentField(*this, 72);
    row.rangeMode = Controls::Menu(*this, RangeModeItems(), 112);
    row.invert = Controls::Check(*this);
    row.enable->OnClick.AddHandler(this, &KivMIDIControllersPanel::OnClicked);
    row.invert->OnClick.AddHandler(this, &KivMIDIControllersPanel::OnClicked);
    row.learn->OnClick.AddHandler(this, &KivMIDIControllersPanel::OnClicked);
    for (KivControlValue* edited : {static_cast<KivControlValue*>(row.parameter), static_cast<KivControlValue*>(row.channel),
                                    static_cast<KivControlValue*>(row.controller), static_cast<KivControlValue*>(row.value),
                                    static_cast<KivControlValue*>(row.maxValue), static_cast<KivControlValue*>(row.depth),
                                    static_cast<KivControlValue*>(row.rangeMode)})
        edited->OnChange.AddHandler(this, &KivMIDIControllersPanel::OnEdited);
}

void KivMIDIControllersPanel::Reload() {
    for (int32_t slot = 0; slot < KivMIDIControllers::kSlots; ++slot) ShowSlot(slot);
}

void KivMIDIControllersPanel::ShowSlot(int32_t slot) {
    const KivControllerSlot settings = controllers_.GetControllerSlot(slot);
    Row& row = rows_[slot];
    row.enable->SetChecked(settings.enabled);
    row.parameter->Select(settings.parameter + 1);
    row.learn->SetChecked(controllers_.IsControllerLearning(slot));
    row.channel->Select(static_cast<int32_t>(settings.channel));
    row.controller->Select(static_cast<int32_t>(settings.controller));
    Controls::SetPercentField(*row.value, settings.value);
    Controls::SetPercentField(*row.maxValue, settings.maxValue);
    Controls::SetPercentField(*row.depth, settings.depth);
    row.rangeMode->Select(static_cast<int32_t>(settings.rangeMode));
    row.invert->SetChecked(settings.invert);
    EnableRow(slot, settings.enabled);
}

// Starts from the slot as held, so that a source learned meanwhile is kept.
void KivMIDIControllersPanel::StoreSlot(int32_t slot) {
    const Row& row = rows_[slot];
    KivControllerSlot settings = controllers_.GetControllerSlot(slot);
    settings.enabled = row.enable->IsChecked();
    const int32_t parameter = row.parameter->GetSelected() - 1;
    settings.parameterName = parameter >= 0 ? row.parameter->GetItem(parameter + 1) : KivString();
    settings.channel = static_cast<uint32_t>(row.channel->GetSelected());
    settings.controller = static_cast<uint32_t>(row.controller->GetSelected());
    settings.value = Controls::GetPercentField(*row.value);
    settings.maxValue = Controls::GetPercentField(*row.maxValue);
    settings.depth = Controls::GetPercentField(*row.depth);
    settings.rangeMode = static_cast<KivRangeMode>(row.rangeMode->GetSelected());
    settings.invert = row.invert->IsChecked();
    controllers_.SetControllerSlot(slot, settings);
    EnableRow(slot, settings.enabled);
}

void KivMIDIControllersPanel::EnableRow(int32_t slot, bool on) {
    Row& row = rows_[slot];
    for (KivControl* control : {static_cast<KivControl*>(row.parameter), static_cast<KivControl*>(row.learn),
                                static_cast<KivControl*>(row.channel), static_cast<KivControl*>(row.controller),
                                static_cast<KivControl*>(row.value), static_cast<KivControl*>(row.maxValue),
                                static_cast<KivControl*>(row.depth), static_cast<KivControl*>(row.rangeMode),
                                static_cast<KivControl*>(row.invert)})
        control->SetEnabled(on);
}

int32_t KivMIDIControllersPanel::SlotOf(const KivObject* control) const {
    for (int32_t slot = 0; slot < KivMIDIControllers::kSlots; ++slot) {
        const Row& row = rows_[slot];
        const KivObject* controls[] = {row.enable, row.parameter, row.learn, row.channel, row.controller,
                                       row.value, row.maxValue, row.depth, row.rangeMode, row.invert};
        for (const KivObject* candidate : controls)
            if (candidate == control) return slot;
    }
    return -1;
}

void KivMIDIControllersPanel::OnEdited(KivOnNotifyParams& params) {
    const int32_t slot = SlotOf(params.sender);
    if (slot >= 0) StoreSlot(slot);
}

void KivMIDIControllersPanel::OnClicked(KivOnClickParams& params) {
    const int32_t slot = SlotOf(params.sender);
    if (slot < 0) return;
    if (params.sender == rows_[slot].learn) {
        controllers_.SetControllerLearning(slot, rows_[slot].learn->IsChecked());
        return;
    }
    StoreSlot(slot);
}

void KivMIDIControllersPanel::OnTimer() {
    for (int32_t slot = 0; slot < KivMIDIControllers::kSlots; ++slot) {
        if (rows_[slot].learn->IsChecked() && !controllers_.IsControllerLearning(slot)) ShowSlot(slot);
    }
}

void KivMIDIControllersPanel::OnWindowChanged(KivWindow* window) {
    KivPanel::OnWindowChanged(window);
    if (KivWindowSystem* system = KivWindows::System()) system->SetTimer(*this, window != nullptr ? kLearnPoll : 0);
}

void KivMIDIControllersPanel::Arrange() { KivLayouts::Arrange(*this); }
