#pragma once
#include "base/kiv_string.h"

// The texts users see for quantities. Every number goes through the brace format engine,
// so the digits are the same on every platform.

// A fraction as percent: 0.005 is "0.50%", 0.5 is "50.0%".
KivString KivFormatPercents(double fraction);
// A linear amplitude in decibels; "silence" at zero.
KivString KivFormatVolume(double amplitude);
// Hertz, in kHz from 10000 Hz on.
KivString KivFormatFrequency(double hertz);
// -1 (left) .. 1 (right); "center" at zero.
KivString KivFormatPan(double position);
// A fraction of a full turn as degrees with its percentage.
KivString KivFormatDegrees(double fraction);
// Seconds shown in milliseconds, with more decimals the shorter the time.
KivString KivFormatTime(double seconds);
// The nearest note of a frequency with the deviation in cents: 440 Hz is "A4 (0 cents)".
KivString KivFormatPitch(double hertz);
// A MIDI note number: 60 is "C5", 69 is "A5".
KivString KivFormatMIDINote(int32_t note);
