#include "plugin/state/kiv_preset_slot_items.h"

#include <algorithm>

#include "base/kiv_number.h"
#include "plugin/state/kiv_settings_item_copy.h"
#include "plugin/state/kiv_settings_values.h"

namespace {

const KivString kPresetIndex("PresetIndex");
const KivString kPresetPrefix("Preset");

KivString ChildName(int32_t slot) { return kPresetPrefix + KivNumber::IntegerToText(slot); }

bool IsSlot(int32_t slot) noexcept { return slot >= 0 && slot < KivPresetSlotItems::kSlotCount; }

}  // namespace

void KivPresetSlotItems::Select(int32_t slot) noexcept { selected_ = std::clamp(slot, 0, kSlotCount - 1); }

void KivPresetSlotItems::MakeSelectedCurrent() noexcept {
    previous_ = current_.load();
    current_ = selected_.load();
}

void KivPresetSlotItems::SetCurrentAndSelected(int32_t slot) noexcept {
    Select(slot);
    current_ = selected_.load();
}

void KivPresetSlotItems::Reset() {
    for (KivXMLItem& item : items_) item.Clear();
    current_ = 0;
    selected_ = 0;
    previous_ = kNoSlot;
}

void KivPresetSlotItems::Store(KivXMLItem& item, bool storing) {
    StoreIndex(item, storing);
    for (int32_t slot = 0; slot < kSlotCount; ++slot) {
        if (slot != current_) StoreOtherSlot(slot, item, storing);
    }
}

void KivPresetSlotItems::StoreIndex(KivXMLItem& item, bool storing) {
    int32_t index = current_;
    KivSettingsValues::StoreInteger(item, kPresetIndex, index, storing);
    if (storing) return;
    if (IsSlot(index)) current_ = index;
    selected_ = current_.load();
}

void KivPresetSlotItems::StoreOtherSlot(int32_t slot, KivXMLItem& item, bool storing) {
    const KivString name = ChildName(slot);
    if (storing) {
        KivCopySettingsItem(items_[slot], item.AddSubItem(name));
        return;
    }
    if (item.HasSubItem(name)) KivCopySettingsItem(item.GetSubItem(), items_[slot]);
}
