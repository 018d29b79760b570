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

// The notes panel: one row per note-controller slot with "Enable", "Parameter", "Note" with
// its own "Learn", "Mode", "Value" (the minimum), "MaxValue" and "Channel". Edits go straight
// to the slot; while "Learn" is engaged the next note-on gives the slot its note.
class KivMIDINotesPanel : public KivPanel {
public:
    static constexpr const char* kHelp =
        "<name>Notes panel</name> contains settings of MIDI note controllers, thus if you want to control "
        "parameters using MIDI keys.";
    static constexpr int32_t kLearnPoll = 100;

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
