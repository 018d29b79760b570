#include "plugin/midi/kiv_note_controller_mode.h"

#include <cmath>

namespace KivNoteControllerModes {

namespace {

const char* const kNames[kCount] = {"Linear", "Logarithmic", "On/Off", "On/Off (all octaves)", "Switch",
                                    "Switch (all octaves)"};
constexpr double kLowestFrequency = 20.0;
constexpr double kFrequencySpan = 19980.0;
constexpr double kDecades = 3.0;

}  // namespace

KivString Name(KivNoteControllerMode mode) { return mode < kCount ? KivString(kNames[mode]) : KivString(); }

bool FollowsPitch(KivNoteControllerMode mode) noexcept { return mode == kKivNoteLinear || mode == kKivNoteLogarithmic; }

bool IgnoresOctave(KivNoteControllerMode mode) noexcept {
    return mode == kKivNoteOnOffAllOctaves || mode == kKivNoteSwitchAllOctaves;
}

double NoteFrequency(double note, double bend) noexcept {
    const double middleC = 440.0 * std::pow(2.0, 0.25);
    return middleC * std::pow(2.0, (note + bend - 60.0) / 12.0);
}

double PitchPosition(KivNoteControllerMode mode, double frequency) noexcept {
    if (mode == kKivNoteLogarithmic) return (std::log10(frequency) - std::log10(kLowestFrequency)) / kDecades;
    return (frequency - kLowestFrequency) / kFrequencySpan;
}

}  // namespace KivNoteControllerModes
