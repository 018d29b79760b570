#pragma once
#include <cstdint>

#include "base/kiv_string.h"
#include "plugin/midi/kiv_range_mode.h"

class KivXMLItem;

// One assignment of a MIDI control change, channel aftertouch or pitch bend to a parameter.
// The target is stored by name; its host index is found again whenever the name is set.
struct KivControllerSlot {
    static constexpr uint32_t kAftertouch = 128;
    static constexpr uint32_t kPitchBend = 129;
    static constexpr int32_t kNoParameter = -1;

    bool enabled = false;
    int32_t parameter = kNoParameter;
    KivString parameterName;
    double value = 0.0;     // centre or start of the modulation, normalised
    double maxValue = 0.0;  // end of the "Interval" mode, normalised
    double depth = 1.0;     // size of the modulation range
    KivRangeMode rangeMode = kKivRangeUpOnly;
    bool invert = false;
    uint32_t channel = 0;  // 0 any, else MIDI channel + 1
    uint32_t controller = 1;  // 0..127 control change, 128 aftertouch, 129 pitch bend

    bool Listens(int32_t midiChannel, uint32_t source) const noexcept;
    // The target's normalised value for controller value `v` (0..1).
    double Evaluate(double v) const noexcept;

    // Writes or reads the slot's attributes; the target's index is not touched.
    void Store(KivXMLItem& item, bool storing);
};
