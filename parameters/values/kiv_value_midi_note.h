#pragma once
#include "parameters/values/kiv_display_text.h"
#include "parameters/values/kiv_value_number.h"

// A MIDI note number shown by name ("C5" for 60).
class KivValueMIDINote : public KivValueInt {
public:
    using KivValueInt::KivValueInt;

protected:
    KivString FormatNumber(int value) const override { return KivFormatMIDINote(value); }
};
