#pragma once
#include "plugin/editor/midi/kiv_midi_slot_panel.h"

class KivAudioPlugin;
class KivComboEdit;
class KivEdit;

// The controllers panel: one row per controller slot with "Enable", "Parameter", "Learn",
// "Channel", "Controller", "Value", "MaxValue", "Depth", "Range mode" and "Invert". While
// "Learn" is engaged the slot takes the channel and number of the next controller message.
class KivMIDIControllersPanel : public KivMIDISlotPanel {
public:
    static constexpr const char* kHelp = "<name>Controllers panel</name> contains settings of MIDI controllers.";

    struct Row {
        KivCheckBox* enable;
        KivComboEdit* parameter;
        KivButton* learn;
        KivComboEdit* channel;
        KivComboEdit* controller;
        KivEdit* value;
        KivEdit* maxValue;
        KivEdit* depth;
        KivComboEdit* rangeMode;
        KivCheckBox* invert;
    };

    KivMIDIControllersPanel(KivAudioPlugin& plugin, KivMIDIControllers& controllers);
    // A slot must not go on learning for a panel that is gone.
    ~KivMIDIControllersPanel() override;

    Row& GetRow(int32_t slot) { return rows_[slot]; }

protected:
    // The end value counts only in the "Interval" mode, the depth in every other.
    void GreyUnusedFields(int32_t slot) override;
    void ShowSlot(int32_t slot) override;
    // Starts from the slot as held, so that a source learned meanwhile is kept.
    void StoreSlot(int32_t slot) override;
    bool IsLearning(int32_t slot) const override { return controllers_.IsControllerLearning(slot); }
    void SetLearning(int32_t slot, bool on) override { controllers_.SetControllerLearning(slot, on); }

private:
    void AddRow(KivAudioPlugin& plugin, int32_t slot);

    Row rows_[KivMIDIControllers::kSlots] = {};
};
