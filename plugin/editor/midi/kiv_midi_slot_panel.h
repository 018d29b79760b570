#pragma once
#include <cstdint>
#include <vector>

#include "gui/core/kiv_event.h"
#include "gui/core/kiv_panel.h"
#include "plugin/midi/kiv_midi_controllers.h"

class KivButton;
class KivCheckBox;
class KivControlValue;

// Common ground of the controllers and notes panels: a grid with a heading row and one row
// per slot, edits of a row stored into its slot at once, the row greyed out while its slot
// is off, and a "Learn" button per row whose slot is watched on a timer until the MIDI
// processor has learned its source.
class KivMIDISlotPanel : public KivPanel {
public:
    // How often learning slots are checked for their message, in ms.
    static constexpr int32_t kLearnPoll = 100;

    // Shows every slot as the MIDI processor holds it.
    void Reload();

    void Arrange() override;
    void OnTimer() override;
    void OnWindowChanged(KivWindow* window) override;

protected:
    struct Column {
        const char* heading;
        int32_t width;
    };

    KivMIDISlotPanel(KivMIDIControllers& controllers, const std::vector<Column>& columns);

    // Starts the row of `slot` with its number; the row's controls follow in column order.
    void BeginRow(int32_t slot);
    // The slot's switch: it never greys out.
    void AddEnable(int32_t slot, KivCheckBox* enable);
    // Controls greyed out while the slot is off; their edits are stored into the slot.
    void AddEdit(int32_t slot, KivControlValue* control);
    void AddEdit(int32_t slot, KivCheckBox* control);
    void AddLearn(int32_t slot, KivButton* learn);
    // Puts every control made so far into the grid.
    void FinishRows();
    void EnableRow(int32_t slot, bool on);
    int32_t GetColumnWidth(int32_t column) const { return columns_[static_cast<size_t>(column)].width; }

    // Greys out the fields of an enabled row that its settings do not use.
    virtual void GreyUnusedFields(int32_t /*slot*/) {}
    virtual void ShowSlot(int32_t slot) = 0;
    virtual void StoreSlot(int32_t slot) = 0;
    virtual bool IsLearning(int32_t slot) const = 0;
    virtual void SetLearning(int32_t slot, bool on) = 0;

    KivMIDIControllers& controllers_;

private:
    int32_t SlotOf(const KivObject* control) const;
    void OnEdited(KivOnNotifyParams& params);
    void OnClicked(KivOnClickParams& params);

    std::vector<Column> columns_;
    std::vector<KivControl*> greyable_[KivMIDIControllers::kSlots];
    KivCheckBox* enable_[KivMIDIControllers::kSlots] = {};
    KivButton* learn_[KivMIDIControllers::kSlots] = {};
};
