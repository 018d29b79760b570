#pragma once
#include <cstdint>
#include <vector>

#include "plugin/kiv_midi_processor.h"

// A MIDI processor that notes every decoded call it receives, then passes it on to the base.
class MIDIRecorder : public KivMIDIProcessor {
public:
    struct Call {
        char kind;  // 'N' note, 'C' channel notes off, 'A' aftertouch, 'P' program, 'B' bend, 'K' controller
        int32_t offset;
        double time;
        int32_t channel;
        int32_t number;  // note, controller or program
        double value;    // velocity, pressure, bend or controller value
        bool on;
    };

    void ProcessNote(int32_t offset, double time, int32_t channel, int32_t note, double velocity, bool on) override {
        calls.push_back({'N', offset, time, channel, note, velocity, on});
        KivMIDIProcessor::ProcessNote(offset, time, channel, note, velocity, on);
    }
    void ProcessChannelNotesOff(int32_t offset, double time, int32_t channel) override {
        calls.push_back({'C', offset, time, channel, 0, 0.0, false});
        KivMIDIProcessor::ProcessChannelNotesOff(offset, time, channel);
    }
    void ProcessAftertouch(int32_t offset, double time, int32_t channel, double value, int32_t note) override {
        calls.push_back({'A', offset, time, channel, note, value, false});
        KivMIDIProcessor::ProcessAftertouch(offset, time, channel, value, note);
    }
    void ProcessProgramChange(int32_t offset, double time, int32_t channel, int32_t program) override {
        calls.push_back({'P', offset, time, channel, program, 0.0, false});
        KivMIDIProcessor::ProcessProgramChange(offset, time, channel, program);
    }
    void ProcessPitchBend(int32_t offset, double time, int32_t channel, double value) override {
        calls.push_back({'B', offset, time, channel, 0, value, false});
        KivMIDIProcessor::ProcessPitchBend(offset, time, channel, value);
    }
    void ProcessMIDIController(int32_t offset, double time, int32_t channel, double value,
                               int32_t controller) override {
        calls.push_back({'K', offset, time, channel, controller, value, false});
        KivMIDIProcessor::ProcessMIDIController(offset, time, channel, value, controller);
    }

    void Send(int32_t offset, uint8_t status, uint8_t data1, uint8_t data2 = 0) {
        const uint8_t bytes[3] = {status, data1, data2};
        ProcessMIDIEvent(offset, bytes);
    }
    const Call& Last() const { return calls.back(); }

    std::vector<Call> calls;
};
