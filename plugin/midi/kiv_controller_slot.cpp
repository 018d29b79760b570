#include "plugin/midi/kiv_controller_slot.h"

#include "base/xml/kiv_xml_item.h"
#include "plugin/midi/kiv_slot_attributes.h"
#include "plugin/midi/kiv_slot_channel.h"

namespace {

constexpr uint32_t kDefaultController = 1;

void Write(const KivControllerSlot& slot, KivXMLItem& item) {
    using namespace KivSlotAttributes;
    WriteFlag(item, "Enabled", slot.enabled);
    WriteText(item, "ParameterName", slot.parameterName);
    WriteNumber(item, "Value", slot.value);
    WriteNumber(item, "MaxValue", slot.maxValue);
    WriteNumber(item, "Range", slot.depth);
    WriteInteger(item, "FullRange", slot.rangeMode, -1);
    WriteFlag(item, "Invert", slot.invert);
    WriteInteger(item, "Channel", slot.channel, 0);
    WriteInteger(item, "Controller", slot.controller, kDefaultController);
}

void Read(KivControllerSlot& slot, const KivXMLItem& item) {
    using namespace KivSlotAttributes;
    slot.enabled = ReadFlag(item, "Enabled");
    slot.parameterName = ReadText(item, "ParameterName");
    slot.value = ReadNumber(item, "Value");
    slot.maxValue = ReadNumber(item, "MaxValue");
    slot.depth = ReadNumber(item, "Range");
    const int64_t mode = ReadInteger(item, "FullRange", kKivRangeUpOnly);
    slot.rangeMode = mode >= 0 && mode < KivRangeModes::kCount ? static_cast<KivRangeMode>(mode) : kKivRangeUpOnly;
    slot.invert = ReadFlag(item, "Invert");
    slot.channel = static_cast<uint32_t>(ReadInteger(item, "Channel", 0));
    slot.controller = static_cast<uint32_t>(ReadInteger(item, "Controller", kDefaultController));
}

}  // namespace

bool KivControllerSlot::Listens(int32_t midiChannel, uint32_t source) const noexcept {
    return enabled && controller == source && KivSlotListensToChannel(channel, midiChannel);
}

double KivControllerSlot::Evaluate(double v) const noexcept {
    const double x = (invert ? -1.0 : 1.0) * (2 * v - 1);
    return KivRangeModes::Apply(rangeMode, x, value, maxValue, depth);
}

void KivControllerSlot::Store(KivXMLItem& item, bool storing) {
    if (storing) Write(*this, item);
    else Read(*this, item);
}
