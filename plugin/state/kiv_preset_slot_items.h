#pragma once
#include <atomic>
#include <cstdint>

#include "base/xml/kiv_xml_item.h"

// The eight preset slots A..H of one plug-in instance: one settings item per slot and which
// slot is live. The live slot's settings are the plug-in's own; its item is brought up to date
// only when the plug-in leaves it. The other slots travel in the state document as children
// "Preset0".."Preset7" beside "PresetIndex".
class KivPresetSlotItems {
public:
    static constexpr int32_t kSlotCount = 8;
    static constexpr int32_t kNoSlot = -1;

    KivXMLItem& Item(int32_t slot) noexcept { return items_[slot]; }
    int32_t GetCurrent() const noexcept { return current_.load(std::memory_order_relaxed); }
    int32_t GetSelected() const noexcept { return selected_.load(std::memory_order_relaxed); }
    int32_t GetPrevious() const noexcept { return previous_.load(std::memory_order_relaxed); }
    // What the slot selector writes; kept in 0..7 (above 7 counts as 7, below 0 as 0).
    void Select(int32_t slot) noexcept;
    // The selected slot becomes live; the one that was live is remembered as the previous.
    void MakeSelectedCurrent() noexcept;
    // Makes `slot` live and selected at once, without remembering a previous slot.
    void SetCurrentAndSelected(int32_t slot) noexcept;
    // A fresh instance: A live and selected, no previous slot, every item empty.
    void Reset();

    // "PresetIndex" and the children of the slots that are not live. Reading a document makes
    // its slot live and selected and replaces the items it holds children for; an index
    // outside 0..7 is not taken over.
    void Store(KivXMLItem& item, bool storing);

    // The letter of a slot: A for 0 up to H for 7.
    static char16_t Letter(int32_t slot) noexcept { return static_cast<char16_t>(u'A' + slot); }

private:
    void StoreIndex(KivXMLItem& item, bool storing);
    void StoreOtherSlot(int32_t slot, KivXMLItem& item, bool storing);

    KivXMLItem items_[kSlotCount];
    // Switches run on the automation update thread while the editor and tests read the
    // indices; the slots' settings themselves are guarded by the plug-in's state mutex.
    std::atomic<int32_t> current_{0};
    std::atomic<int32_t> selected_{0};
    std::atomic<int32_t> previous_{kNoSlot};
};
