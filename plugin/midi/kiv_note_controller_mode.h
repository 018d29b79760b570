#pragma once
#include <cstdint>

#include "base/kiv_string.h"

// How a note-controller slot turns MIDI notes into a parameter value.
enum KivNoteControllerMode : uint32_t {
    kKivNoteLinear = 0,
    kKivNoteLogarithmic = 1,
    kKivNoteOnOff = 2,
    kKivNoteOnOffAllOctaves = 3,
    kKivNoteSwitch = 4,
    kKivNoteSwitchAllOctaves = 5,
};

namespace KivNoteControllerModes {

constexpr int32_t kCount = 6;

// The name shown in the "Mode" menu.
KivString Name(KivNoteControllerMode mode);

// Modes whose value follows the note's pitch (and so the pitch bend).
bool FollowsPitch(KivNoteControllerMode mode) noexcept;
// Modes that compare notes without their octave.
bool IgnoresOctave(KivNoteControllerMode mode) noexcept;

// The frequency in hertz of note `note` bent by `bend` semitones; note 60 sounds at
// 440 * 2^0.25 Hz.
double NoteFrequency(double note, double bend) noexcept;
// Where a pitch lies in 20 Hz..20 kHz, 0..1 for the Linear and Logarithmic modes (it may fall
// outside for notes beyond that range).
double PitchPosition(KivNoteControllerMode mode, double frequency) noexcept;

}  // namespace KivNoteControllerModes
