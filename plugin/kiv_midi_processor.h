#pragma once
#include <cstdint>

#include "base/kiv_object.h"
#include "plugin/midi/kiv_held_notes.h"
#include "plugin/midi/kiv_midi_listeners.h"

class KivMIDIProgramChangeHook;
class KivMIDITimeBase;

// Receiver of MIDI events, raw or decoded. It decodes raw three-byte messages, keeps count of
// the notes that sound, and fans every event out, unchanged, to the listening processors
// whose channel mask contains the event's channel. The plug-in core and the effect adapter
// override what they react to and call these operations first.
//
// All of it runs on the audio thread: listeners are registered while preparing, and handling
// an event allocates nothing.
class KivMIDIProcessor : public KivObject {
public:
    // The channel values the processor last saw, by the operation that brought them.
    enum ChannelValue : int32_t { kFirstChannelValue = 0, kSecondChannelValue = 1, kPitchBendValue = 2 };

    virtual void ProcessNote(int32_t sampleOffset, double timePosition, int32_t channel, int32_t note,
                             double velocity, bool on);
    // Releases every held note, deferred ones included.
    virtual void ProcessAllNotesOff(int32_t sampleOffset);
    // A channel-wide "notes off": the listeners hear of it, then every note is released.
    virtual void ProcessChannelNotesOff(int32_t sampleOffset, double timePosition, int32_t channel);
    // `value` 0..1; `note` is 255 for channel pressure.
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
    // `value` 0..1.
    virtual void ProcessMIDIController(int32_t sampleOffset, double timePosition, int32_t channel, double value,
                                       int32_t controller);
    // `bytes`: status, data 1, data 2. Decodes and dispatches to the operations above.
    virtual void ProcessMIDIEvent(int32_t sampleOffset, const uint8_t* bytes);
    virtual void ReservedMIDIOperation1();
    virtual void ReservedMIDIOperation2();

    // Counts the note and passes it on to ProcessNote; while the hold is on, a release only
    // marks the note, and the release follows when the hold ends.
    void ProcessNotePerform(int32_t sampleOffset, double timePosition, int32_t channel, int32_t note,
                            double velocity, bool on);
    // Ending the hold releases the notes let go of while it was on.
    void SetNoteHold(int32_t sampleOffset, bool on);
    bool IsNoteHoldOn() const noexcept { return heldNotes_.IsHolding(); }
    int32_t GetHeldNoteCount(int32_t channel, int32_t note) const noexcept;

    void AddMIDIListener(KivMIDIProcessor& listener, uint32_t channelMask = KivMIDIListeners::kAllChannels) {
        listeners_.Add(listener, channelMask);
    }
    void RemoveMIDIListener(KivMIDIProcessor& listener) noexcept { listeners_.Remove(listener); }

    double GetChannelValue(ChannelValue which) const noexcept { return channelValues_[which]; }
    double GetPitchBend() const noexcept { return channelValues_[kPitchBendValue]; }

    // Without a time base every event sits at position 0.
    void SetMIDITimeBase(const KivMIDITimeBase* timeBase) noexcept { timeBase_ = timeBase; }
    // Told of program changes after the listeners; borrowed, null for none.
    void SetProgramChangeHook(KivMIDIProgramChangeHook* hook) noexcept { programChangeHook_ = hook; }

protected:
    // The position in beats of a sample offset of the current block.
    double TimePosition(int32_t sampleOffset) const noexcept;

private:
    void DecodeMIDIEvent(int32_t sampleOffset, const uint8_t* bytes);
    void DecodeNote(int32_t sampleOffset, double timePosition, const uint8_t* bytes);

    KivMIDIListeners listeners_;
    KivHeldNotes heldNotes_;
    double channelValues_[3] = {};
    const KivMIDITimeBase* timeBase_ = nullptr;
    KivMIDIProgramChangeHook* programChangeHook_ = nullptr;
};
