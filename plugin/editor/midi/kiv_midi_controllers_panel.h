#pragma once
#include <cstdint>

#include "gui/core/kiv_event.h"
#include "gui/core/kiv_panel.h"
#include "plugin/midi/kiv_midi_controllers.h"

class KivAudioPlugin;
class KivButton;
class KivCheckBox;
class KivComboEdit;
class KivEdit;

// The controllers panel: one row per controller slot with "Enable", "Parameter", "Learn",
// "Channel", "Controller", "Value", "MaxValue", "Depth", "Range mode" and "Invert". Every
// edit goes straight to the slot; a slot that is off keeps its settings but greys them out.
// While "Learn" is engaged the slot takes the channel and number of the next controller
// message; the panel notices on its timer and shows them.
class KivMIDIControllersPanel : public KivPanel {
public:
    static constexpr const char* kHelp = "<name>Controllers panel</name> contains settings of MIDI controllers.";
    // How often a learning slot is checked for its message, in ms.
    static constexpr int32_t kLearnPoll = 100;

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
    ~KivMIDIControllersPanel() override;

    Row& GetRow(int32_t slot) { return rows_[slot]; }
    // Shows every slot as the MIDI processor holds it.
    void Reload();

    void Arrange() override;
    void OnTimer() override;
    void OnWindowChanged(KivWindow* window) override;

private:
    void AddHeadings();
    void AddRow(KivAudioPlugin& plugin, int32_t slot);
    void ShowSlot(int32_t slot);
    void StoreSlot(int32_t slot);
    void EnableRow(int32_t slot, bool on);
    int32_t SlotOf(const KivObject* control) const;
    void OnEdited(KivOnNotifyParams& params);
    void OnClicked(KivOnClickParams& params);

    KivMIDIControllers& controllers_;
    Row rows_[KivMIDIControllers::kSlots] = {};
};
