#pragma once
#include <cstdint>

#include "base/kiv_string.h"
#include "plugin/midi/kiv_note_controller_mode.h"

class KivXMLItem;

// One assignment of MIDI notes to a parameter. The target is stored by name.
struct KivNoteControllerSlot {
    static constexpr int32_t kNoParameter = -1;
    // What a note asks of the target.
    struct Action {
        bool set = false;
        double value = 0.0;
    };

    bool enabled = false;
    int32_t parameter = kNoParameter;
    KivString parameterName;
    KivNoteControllerMode mode = kKivNoteLinear;
    double minValue = 0.0;  // normalised
    double maxValue = 1.0;  // normalised
    uint32_t channel = 0;   // 0 any, else MIDI channel + 1
    uint32_t note = 60;     // the key of the on/off and switch modes

    bool Listens(int32_t midiChannel) const noexcept;
    // The target's new value for a note, if the note changes it; `current` is the target's
    // normalised value now, `bend` the pitch bend in semitones.
    Action Evaluate(int32_t midiNote, bool on, double bend, double current) const noexcept;
    // The pitch-following value for `midiNote` bent by `bend`, within 0..1.
    double PitchValue(int32_t midiNote, double bend) const noexcept;

    // Writes or reads the slot's attributes; the target's index is not touched.
    void Store(KivXMLItem& item, bool storing);

private:
    bool IsSlotNote(int32_t midiNote) const noexcept;
};
