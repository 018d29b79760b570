#include "plugin/midi/kiv_note_controller_slot.h"

#include <algorithm>

#include "base/xml/kiv_xml_item.h"
#include "plugin/midi/kiv_slot_attributes.h"
#include "plugin/midi/kiv_slot_channel.h"

namespace {

constexpr double kSwitchPoint = 0.5;
constexpr int64_t kDefaultNote = 60;

void Write(const KivNoteControllerSlot& slot, KivXMLItem& item) {
    using namespace KivSlotAttributes;
    WriteFlag(item, "Enabled", slot.enabled);
    WriteText(item, "ParameterName", slot.parameterName);
    WriteInteger(item, "Mode", slot.mode, -1);
    WriteNumber(item, "Value", slot.minValue);
    WriteNumber(item, "MaxValue", slot.maxValue);
    WriteInteger(item, "Channel", slot.channel, 0);
    WriteInteger(item, "Note", slot.note, -1);
}

void Read(KivNoteControllerSlot& slot, const KivXMLItem& item) {
    using namespace KivSlotAttributes;
    slot.enabled = ReadFlag(item, "Enabled");
    slot.parameterName = ReadText(item, "ParameterName");
    const int64_t mode = ReadInteger(item, "Mode", kKivNoteLinear);
    slot.mode = mode >= 0 && mode < KivNoteControllerModes::kCount ? static_cast<KivNoteControllerMode>(mode)
                                                                   : kKivNoteLinear;
    slot.minValue = ReadNumber(item, "Value");
    slot.maxValue = ReadNumber(item, "MaxValue");
    slot.channel = static_cast<uint32_t>(ReadInteger(item, "Channel", 0));
    slot.note = static_cast<uint32_t>(std::clamp<int64_t>(ReadInteger(item, "Note", kDefaultNote), 0, 127));
}

}  // namespace

bool KivNoteControllerSlot::Listens(int32_t midiChannel) const noexcept {
    return enabled && KivSlotListensToChannel(channel, midiChannel);
}

bool KivNoteControllerSlot::IsSlotNote(int32_t midiNote) const noexcept {
    if (KivNoteControllerModes::IgnoresOctave(mode)) return midiNote % 12 == static_cast<int32_t>(note % 12);
    return midiNote == static_cast<int32_t>(note);
}

double KivNoteControllerSlot::PitchValue(int32_t midiNote, double bend) const noexcept {
    const double frequency = KivNoteControllerModes::NoteFrequency(midiNote, bend);
    const double x = KivNoteControllerModes::PitchPosition(mode, frequency);
    return std::clamp(minValue + (maxValue - minValue) * x, 0.0, 1.0);
}

KivNoteControllerSlot::Action KivNoteControllerSlot::Evaluate(int32_t midiNote, bool on, double bend,
                                                              double current) const noexcept {
    switch (mode) {
    case kKivNoteLinear:
    case kKivNoteLogarithmic:
        if (on) return {true, PitchValue(midiNote, bend)};
        break;
    case kKivNoteOnOff:
    case kKivNoteOnOffAllOctaves:
        if (IsSlotNote(midiNote)) return {true, on ? maxValue : minValue};
        break;
    case kKivNoteSwitch:
    case kKivNoteSwitchAllOctaves:
        if (on && IsSlotNote(midiNote)) return {true, current < kSwitchPoint ? maxValue : minValue};
        break;
    }
    return {};
}

void KivNoteControllerSlot::Store(KivXMLItem& item, bool storing) {
    if (storing) Write(*this, item);
    else Read(*this, item);
}
