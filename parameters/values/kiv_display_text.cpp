#include "parameters/values/kiv_display_text.h"

#include <cmath>

#include "base/kiv_format.h"
#include "parameters/values/kiv_rounding.h"

namespace {

// Below this a quantity counts as exactly zero.
constexpr double kZero = 1e-50;

const char* const kNoteNames[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};

KivString FormatDouble(const char* format, double value) {
    return KivFormat(format).Argument(value).Result();
}

KivString FormatInteger(const char* format, int64_t value) {
    return KivFormat(format).Argument(value).Result();
}

// The magnitude `value` shows with `decimals` decimals. Displays pick their precision by the
// shown number, not the exact one: 0.996% shows as "1.0%", not "1.00%", so that the text
// typed back lands in the same precision band and shows the same again.
double ShownMagnitude(double value, int32_t decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::fabs(KivRoundHalfUp(value * scale) / scale);
}

}  // namespace

KivString KivFormatPercents(double fraction) {
    double percent = 100.0 * fraction;
    return FormatDouble(ShownMagnitude(percent, 2) < 1.0 ? "{0.2}%" : "{0.1}%", percent);
}

KivString KivFormatVolume(double amplitude) {
    if (std::fabs(amplitude) < kZero) return "silence";
    double decibels = 20.0 * std::log10(amplitude);
    return FormatDouble(ShownMagnitude(decibels, 2) < 10.0 ? "{0;.2} dB" : "{0;.1} dB", decibels);
}

KivString KivFormatFrequency(double hertz) {
    double magnitude = std::fabs(hertz);
    if (magnitude < 1e-5) return "0 Hz";
    if (magnitude < 1.0) return FormatDouble("{0;.4} Hz", hertz);
    if (magnitude < 10.0) return FormatDouble("{0;.2} Hz", hertz);
    if (magnitude < 100.0) return FormatDouble("{0;.1} Hz", hertz);
    if (magnitude < 10000.0) return FormatInteger("{0} Hz", KivRoundHalfUpToInteger(hertz));
    return FormatDouble("{0;.1} kHz", hertz * 0.001);
}

KivString KivFormatPan(double position) {
    if (std::fabs(position) < kZero) return "center";
    if (position < 0.0) return FormatInteger("{0}% left", static_cast<int64_t>(-100.0 * position));
    return FormatInteger("{0}% right", static_cast<int64_t>(100.0 * position));
}

KivString KivFormatDegrees(double fraction) {
    const KivString degreeSign(u"\u00B0");
    if (std::fabs(fraction) < kZero) return KivFormat("0{0} (0%)").Argument(degreeSign).Result();
    return KivFormat("{0}{1} ({2.1}%)")
        .Argument(KivRoundHalfUpToInteger(360.0 * fraction))
        .Argument(degreeSign)
        .Argument(100.0 * fraction)
        .Result();
}

KivString KivFormatTime(double seconds) {
    double milliseconds = 1000.0 * seconds;
    // A time too short to show a digit is shown, and read back, as the zero it rounds to.
    if (ShownMagnitude(milliseconds, 3) < kZero) return "0 ms";
    if (ShownMagnitude(milliseconds, 3) < 0.1) return FormatDouble("{0;.3} ms", milliseconds);
    if (ShownMagnitude(milliseconds, 2) < 1.0) return FormatDouble("{0;.2} ms", milliseconds);
    if (ShownMagnitude(milliseconds, 1) < 10.0) return FormatDouble("{0;.1} ms", milliseconds);
    return FormatInteger("{0} ms", KivRoundHalfUpToInteger(milliseconds));
}

KivString KivFormatPitch(double hertz) {
    // Notes are counted from C five octaves below the C a quarter octave above 440 Hz, and
    // shifted by 100 octaves so that the integer division below never meets a negative note.
    const double reference = 440.0 * std::pow(2.0, 0.25);
    double midiLike = 12.0 * std::log2(hertz / reference) + 60.0 + 1200.0;
    double nearest = KivRoundHalfUp(midiLike);
    if (!(nearest >= 0.0)) return KivString();
    auto note = static_cast<int64_t>(nearest);
    int64_t cents = KivRoundHalfUpToInteger(100.0 * (midiLike - nearest));
    return KivFormat("{0}{1} ({2+} cents)")
        .Argument(kNoteNames[note % 12])
        .Argument(note / 12 - 100)
        .Argument(cents)
        .Result();
}

KivString KivFormatMIDINote(int32_t note) {
    int32_t octave = note / 12;
    int32_t name = note - 12 * octave;
    // Notes below 0 have no name; MIDI never sends them.
    if (name < 0) return KivString();
    return KivFormat("{0}{1}").Argument(kNoteNames[name]).Argument(octave).Result();
}
