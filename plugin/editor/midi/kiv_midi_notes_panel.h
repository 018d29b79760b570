#pragma once
#include "plugin/editor/midi/kiv_midi_slot_panel.h"

class KivAudioPlugin;
class KivComboEdit;
class KivEdit;

// The notes panel: one row per note-controller slot with "Enable", "Parameter", "Note" with
// its own "Learn", "Mode", "Value" (the minimum), "MaxValue" and "Channel". While "Learn" is
// engaged the next note-on gives the slot its note.
class KivMIDINotesPanel : public KivMIDISlotPanel {
public:
    static constexpr const char* kHelp =
        "<name>Notes panel</name> contains settings of MIDI note controllers, thus if you want to control "
        "parameters using MIDI keys.";

    struct Row {
        KivCheckBox* enable;
        KivComboEdit* parameter;
        KivComboEdit* note;
        KivButton* learn;
        KivComboEdit* mode;
        KivEdit* minValue;
        KivEdit* maxValue;
        KivComboEdit* channel;
    };

    KivMIDINotesPanel(KivAudioPlugin& plugin, KivMIDIControllers& controllers);
    ~KivMIDINotesPanel() override;

    Row& GetRow(int32_t slot) { return rows_[slot]; }

protected:
    void ShowSlot(int32_t slot) override;
    // Starts from the slot as held, so that a note learned meanwhile is kept.
    void StoreSlot(int32_t slot) override;
    bool IsLearning(int32_t slot) const override { return controllers_.IsNoteLearning(slot); }
    void SetLearning(int32_t slot, bool on) override { controllers_.SetNoteLearning(slot, on); }

private:
    void AddRow(KivAudioPlugin& plugin, int32_t slot);

    Row rows_[KivMIDIControllers::kSlots] = {};
};
