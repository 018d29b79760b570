#pragma once
#include <cstdint>
#include <vector>

#include "hosts/vst2/vst2_abi.h"

// One MIDI message of up to three bytes, `deltaFrames` samples into the block.
struct KivVst2MidiMessage {
    int32_t deltaFrames = 0;
    uint8_t bytes[3] = {0, 0, 0};
};

// A VstEvents record with room for any number of MIDI events, as a host hands it to
// effProcessEvents. The storage is kept between uses, so refilling it with no more events
// than before allocates nothing.
class KivVst2EventBlock {
public:
    void Assign(const std::vector<KivVst2MidiMessage>& messages);
    VstEvents* Events();
    int32_t Count() const { return static_cast<int32_t>(midiEvents_.size()); }

    // The MIDI messages in a VstEvents record from a plug-in; other event types are skipped.
    static std::vector<KivVst2MidiMessage> MidiMessagesOf(const VstEvents& events);

private:
    std::vector<VstMidiEvent> midiEvents_;
    // VstEvents ends in a pointer array of variable length: kept in 8-byte words so that
    // the record's alignment holds.
    std::vector<uint64_t> header_;
};
