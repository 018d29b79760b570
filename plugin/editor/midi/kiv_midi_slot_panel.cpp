#include "plugin/editor/midi/kiv_midi_slot_panel.h"

#include <algorithm>
#include <string>

#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_check_box.h"
#include "gui/controls/kiv_control_value.h"
#include "gui/controls/kiv_static.h"
#include "gui/core/kiv_windows.h"
#include "gui/layout/kiv_layout_grid.h"
#include "gui/layout/kiv_layouts.h"
#include "plugin/editor/midi/kiv_midi_slot_controls.h"

KivMIDISlotPanel::KivMIDISlotPanel(KivMIDIControllers& controllers, const std::vector<Column>& columns)
    : controllers_(controllers), columns_(columns) {
    for (const Column& column : columns_) KivMIDISlotControls::Heading(*this, column.heading, column.width);
}

void KivMIDISlotPanel::BeginRow(int32_t slot) {
    KivMIDISlotControls::Heading(*this, "", GetColumnWidth(0))->SetText(KivString::FromUTF8(std::to_string(slot + 1)));
}

void KivMIDISlotPanel::AddEnable(int32_t slot, KivCheckBox* enable) {
    enable_[slot] = enable;
    enable->OnClick.AddHandler(this, &KivMIDISlotPanel::OnClicked);
}

void KivMIDISlotPanel::AddEdit(int32_t slot, KivControlValue* control) {
    greyable_[slot].push_back(control);
    control->OnChange.AddHandler(this, &KivMIDISlotPanel::OnEdited);
}

void KivMIDISlotPanel::AddEdit(int32_t slot, KivCheckBox* control) {
    greyable_[slot].push_back(control);
    control->OnClick.AddHandler(this, &KivMIDISlotPanel::OnClicked);
}

void KivMIDISlotPanel::AddLearn(int32_t slot, KivButton* learn) {
    greyable_[slot].push_back(learn);
    learn_[slot] = learn;
    learn->OnClick.AddHandler(this, &KivMIDISlotPanel::OnClicked);
}

void KivMIDISlotPanel::FinishRows() {
    auto* grid = new KivLayoutGrid(this);
    grid->SetSize(static_cast<int32_t>(columns_.size()), KivMIDIControllers::kSlots + 1);
    for (int32_t index = 0; index < GetChildCount(); ++index) grid->Add(*GetChild(index));
}

void KivMIDISlotPanel::Reload() {
    for (int32_t slot = 0; slot < KivMIDIControllers::kSlots; ++slot) {
        ShowSlot(slot);
        learn_[slot]->SetChecked(IsLearning(slot));
        EnableRow(slot, enable_[slot]->IsChecked());
    }
}

void KivMIDISlotPanel::EnableRow(int32_t slot, bool on) {
    for (KivControl* control : greyable_[slot]) control->SetEnabled(on);
    if (on) GreyUnusedFields(slot);
}

int32_t KivMIDISlotPanel::SlotOf(const KivObject* control) const {
    for (int32_t slot = 0; slot < KivMIDIControllers::kSlots; ++slot) {
        if (control == enable_[slot]) return slot;
        if (std::find(greyable_[slot].begin(), greyable_[slot].end(), control) != greyable_[slot].end()) return slot;
    }
    return -1;
}

void KivMIDISlotPanel::OnEdited(KivOnNotifyParams& params) {
    const int32_t slot = SlotOf(params.sender);
    if (slot < 0) return;
    StoreSlot(slot);
    EnableRow(slot, enable_[slot]->IsChecked());
}

void KivMIDISlotPanel::OnClicked(KivOnClickParams& params) {
    const int32_t slot = SlotOf(params.sender);
    if (slot < 0) return;
    if (params.sender == learn_[slot]) return SetLearning(slot, learn_[slot]->IsChecked());
    StoreSlot(slot);
    EnableRow(slot, enable_[slot]->IsChecked());
}

// The MIDI processor ends learning by itself when the message arrives.
void KivMIDISlotPanel::OnTimer() {
    for (int32_t slot = 0; slot < KivMIDIControllers::kSlots; ++slot) {
        if (!learn_[slot]->IsChecked() || IsLearning(slot)) continue;
        learn_[slot]->SetChecked(false);
        ShowSlot(slot);
        EnableRow(slot, enable_[slot]->IsChecked());
    }
}

void KivMIDISlotPanel::OnWindowChanged(KivWindow* window) {
    KivPanel::OnWindowChanged(window);
    if (KivWindowSystem* system = KivWindows::System()) system->SetTimer(*this, window != nullptr ? kLearnPoll : 0);
}

void KivMIDISlotPanel::Arrange() { KivLayouts::Arrange(*this); }
