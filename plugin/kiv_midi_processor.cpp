#include "plugin/kiv_midi_processor.h"

#include "base/kiv_boundary.h"
#include "plugin/midi/kiv_midi_decoding.h"
#include "plugin/midi/kiv_midi_program_change_hook.h"
#include "plugin/midi/kiv_midi_time_base.h"

namespace Decoding = KivMIDIDecoding;

// --- fan-out ------------------------------------------------------------------------------------

void KivMIDIProcessor::ProcessNote(int32_t sampleOffset, double timePosition, int32_t channel, int32_t note,
                                   double velocity, bool on) {
    listeners_.ForChannel(channel, [&](KivMIDIProcessor& listener) {
        listener.ProcessNote(sampleOffset, timePosition, channel, note, velocity, on);
    });
}

void KivMIDIProcessor::ProcessAllNotesOff(int32_t sampleOffset) {
    heldNotes_.ClearDeferred();
    const double timePosition = TimePosition(sampleOffset);
    heldNotes_.ReleaseAll([&](int32_t row, int32_t note) { ProcessNote(sampleOffset, timePosition, row, note, 0.0, false); });
}

void KivMIDIProcessor::ProcessChannelNotesOff(int32_t sampleOffset, double timePosition, int32_t channel) {
    listeners_.ForChannel(channel, [&](KivMIDIProcessor& listener) {
        listener.ProcessChannelNotesOff(sampleOffset, timePosition, channel);
    });
    ProcessAllNotesOff(sampleOffset);
}

void KivMIDIProcessor::ProcessAftertouch(int32_t sampleOffset, double timePosition, int32_t channel, double value,
                                         int32_t note) {
    listeners_.ForChannel(channel, [&](KivMIDIProcessor& listener) {
        listener.ProcessAftertouch(sampleOffset, timePosition, channel, value, note);
    });
}

void KivMIDIProcessor::ProcessProgramChange(int32_t sampleOffset, double timePosition, int32_t channel,
                                            int32_t program) {
    listeners_.ForChannel(channel, [&](KivMIDIProcessor& listener) {
        listener.ProcessProgramChange(sampleOffset, timePosition, channel, program);
    });
    if (programChangeHook_) programChangeHook_->OnMIDIProgramChange(channel, program);
}

void KivMIDIProcessor::ProcessFirstChannelValue(int32_t sampleOffset, double timePosition, int32_t channel,
                                                double value) {
    channelValues_[kFirstChannelValue] = value;
    listeners_.ForChannel(channel, [&](KivMIDIProcessor& listener) {
        listener.ProcessFirstChannelValue(sampleOffset, timePosition, channel, value);
    });
}

void KivMIDIProcessor::ProcessSecondChannelValue(int32_t sampleOffset, double timePosition, int32_t channel,
                                                 double value) {
    channelValues_[kSecondChannelValue] = value;
    listeners_.ForChannel(channel, [&](KivMIDIProcessor& listener) {
        listener.ProcessSecondChannelValue(sampleOffset, timePosition, channel, value);
    });
}

void KivMIDIProcessor::ProcessPitchBend(int32_t sampleOffset, double timePosition, int32_t channel, double value) {
    channelValues_[kPitchBendValue] = value;
    listeners_.ForChannel(channel, [&](KivMIDIProcessor& listener) {
        listener.ProcessPitchBend(sampleOffset, timePosition, channel, value);
    });
}

void KivMIDIProcessor::ProcessMIDIController(int32_t sampleOffset, double timePosition, int32_t channel,
                                             double value, int32_t controller) {
    listeners_.ForChannel(channel, [&](KivMIDIProcessor& listener) {
        listener.ProcessMIDIController(sampleOffset, timePosition, channel, value, controller);
    });
}

void KivMIDIProcessor::ReservedMIDIOperation1() {}
void KivMIDIProcessor::ReservedMIDIOperation2() {}

// --- decoding -----------------------------------------------------------------------------------

void KivMIDIProcessor::ProcessMIDIEvent(int32_t sampleOffset, const uint8_t* bytes) {
    KivGuard("KivMIDIProcessor::ProcessMIDIEvent", [&] { DecodeMIDIEvent(sampleOffset, bytes); });
}

void KivMIDIProcessor::DecodeMIDIEvent(int32_t sampleOffset, const uint8_t* bytes) {
    // Hosts count the first frame of a block as 1.
    if (sampleOffset > 0) --sampleOffset;
    const double time = TimePosition(sampleOffset);
    const int32_t channel = Decoding::Channel(bytes[0]);
    switch (Decoding::Kind(bytes[0])) {
    case Decoding::kNoteOff:
    case Decoding::kNoteOn: DecodeNote(sampleOffset, time, bytes); break;
    case Decoding::kPolyPressure:
        ProcessAftertouch(sampleOffset, time, channel, Decoding::Value(bytes[2]), bytes[1]);
        break;
    case Decoding::kControlChange:
        ProcessMIDIController(sampleOffset, time, channel, Decoding::Value(bytes[2]), bytes[1]);
        break;
    case Decoding::kProgramChange: ProcessProgramChange(sampleOffset, time, channel, bytes[1]); break;
    case Decoding::kChannelPressure:
        ProcessAftertouch(sampleOffset, time, channel, Decoding::Value(bytes[1]), Decoding::kChannelPressureNote);
        break;
    case Decoding::kPitchBend:
        ProcessPitchBend(sampleOffset, time, channel, Decoding::PitchBend(bytes[1], bytes[2]));
        break;
    default: break;  // system messages carry nothing for the processors
    }
}

void KivMIDIProcessor::DecodeNote(int32_t sampleOffset, double timePosition, const uint8_t* bytes) {
    ProcessNotePerform(sampleOffset, timePosition, Decoding::Channel(bytes[0]), bytes[1] & 127,
                       Decoding::Velocity(bytes[2]), Decoding::IsNoteOn(bytes[0], bytes[2]));
}

double KivMIDIProcessor::TimePosition(int32_t sampleOffset) const noexcept {
    if (!timeBase_ || timeBase_->GetSampleRate() <= 0) return 0.0;
    return sampleOffset * timeBase_->GetTempo() / (timeBase_->GetSampleRate() * 60.0) +
           timeBase_->GetBlockStartPosition();
}

// --- note bookkeeping ---------------------------------------------------------------------------

void KivMIDIProcessor::ProcessNotePerform(int32_t sampleOffset, double timePosition, int32_t channel, int32_t note,
                                          double velocity, bool on) {
    if (note < 0 || note >= KivHeldNotes::kNotes) return;
    const int32_t row = KivHeldNotes::Row(channel);
    if (on) {
        heldNotes_.Press(row, note);
        ProcessNote(sampleOffset, timePosition, channel, note, velocity, true);
    } else if (heldNotes_.IsHolding()) {
        heldNotes_.Defer(row, note);
    } else {
        heldNotes_.Release(row, note);
        ProcessNote(sampleOffset, timePosition, channel, note, velocity, false);
    }
}

void KivMIDIProcessor::SetNoteHold(int32_t sampleOffset, bool on) {
    const bool wasHolding = heldNotes_.IsHolding();
    heldNotes_.SetHolding(on);
    if (on || !wasHolding) return;
    const double timePosition = TimePosition(sampleOffset);
    heldNotes_.ReleaseDeferred(
        [&](int32_t row, int32_t note) { ProcessNote(sampleOffset, timePosition, row, note, 0.0, false); });
}

int32_t KivMIDIProcessor::GetHeldNoteCount(int32_t channel, int32_t note) const noexcept {
    if (note < 0 || note >= KivHeldNotes::kNotes) return 0;
    return heldNotes_.Count(KivHeldNotes::Row(channel), note);
}
