#pragma once
#include "hosts/vst3/interfaces/funknown.h"
#include "hosts/vst3/interfaces/vst3_vst_types.h"

namespace Steinberg::Vst {

using NoteExpressionTypeID = uint32;
using NoteExpressionValue = double;

struct NoteOnEvent {
    int16 channel;
    int16 pitch;
    float tuning;
    float velocity;
    int32 length;
    int32 noteId;
};

struct NoteOffEvent {
    int16 channel;
    int16 pitch;
    float velocity;
    int32 noteId;
    float tuning;
};

struct DataEvent {
    enum DataTypes { kMidiSysEx = 0 };

    uint32 size;
    uint32 type;
    const uint8* bytes;
};

struct PolyPressureEvent {
    int16 channel;
    int16 pitch;
    float pressure;
    int32 noteId;
};

struct NoteExpressionValueEvent {
    NoteExpressionTypeID typeId;
    int32 noteId;
    NoteExpressionValue value;
};

struct NoteExpressionTextEvent {
    NoteExpressionTypeID typeId;
    int32 noteId;
    uint32 textLen;
    const TChar* text;
};

struct ChordEvent {
    int16 root;
    int16 bassNote;
    int16 mask;
    uint16 textLen;
    const TChar* text;
};

struct ScaleEvent {
    int16 root;
    int16 mask;
    uint16 textLen;
    const TChar* text;
};

// One timed event on an event bus.
struct Event {
    enum EventFlags { kIsLive = 1 << 0, kUserReserved1 = 1 << 14, kUserReserved2 = 1 << 15 };
    enum EventTypes {
        kNoteOnEvent = 0,
        kNoteOffEvent,
        kDataEvent,
        kPolyPressureEvent,
        kNoteExpressionValueEvent,
        kNoteExpressionTextEvent,
        kChordEvent,
        kScaleEvent
    };

    int32 busIndex;
    int32 sampleOffset;
    TQuarterNotes ppqPosition;
    uint16 flags;
    uint16 type;
    union {
        NoteOnEvent noteOn;
        NoteOffEvent noteOff;
        DataEvent data;
        PolyPressureEvent polyPressure;
        NoteExpressionValueEvent noteExpressionValue;
        NoteExpressionTextEvent noteExpressionText;
        ChordEvent chord;
        ScaleEvent scale;
    };
};

class IEventList : public FUnknown {
public:
    virtual int32 KIV_VST3_API getEventCount() = 0;
    virtual tresult KIV_VST3_API getEvent(int32 index, Event& event) = 0;
    virtual tresult KIV_VST3_API addEvent(Event& event) = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0x3A2C4214, 0x346349FE, 0xB2C4F397, 0xB9695A44);

protected:
    ~IEventList() = default;
};

}  // namespace Steinberg::Vst
