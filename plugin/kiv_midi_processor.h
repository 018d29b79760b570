#pragma once
#include <cstdint>

#include "base/kiv_object.h"

// Receiver of MIDI events, decoded or raw. Every operation does nothing here; the plug-in
// core and the effect adapter override what they react to.
class KivMIDIProcessor : public KivObject {
public:
    virtual void ProcessNote(int32_t sampleOffset, double timePosition, int32_t channel, int32_t note,
                             double velocity, bool on);
    virtual void ProcessAllNotesOff(int32_t sampleOffset);
    virtual void ProcessChannelNotesOff(int32_t sampleOffset, double timePosition, int32_t channel);
    // `note` is 255 for channel pressure.
    virtual void ProcessAftertouch(int32_t sampleOffset, double timePosition, int32_t channel, double value,
                                   int32_t note);
    virtual void ProcessProgramChange(int32_t sampleOffset, double timePosition, int32_t channel,
                                      int32_t program);
    virtual void ProcessFirstChannelValue(int32_t sampleOffset, double timePosition, int32_t channel,
                                          double value);
    virtual void ProcessSecondChannelValue(int32_t sampleOffset, double timePosition, int32_t channel,
                                           double value);
    // `value` in -1..1.
    virtual void ProcessPitchBend(int32_t sampleOffset, double timePosition, int32_t channel, double value);
    virtual void ProcessMIDIController(int32_t sampleOffset, double timePosition, int32_t channel, double value,
                                       int32_t controller);
    // `bytes`: status, data 1, data 2.
    virtual void ProcessMIDIEvent(int32_t sampleOffset, const uint8_t* bytes);
    virtual void ReservedMIDIOperation1();
    virtual void ReservedMIDIOperation2();
};
