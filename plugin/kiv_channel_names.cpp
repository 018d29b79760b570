#include "plugin/kiv_channel_names.h"

#include "base/kiv_number.h"

namespace {

constexpr int32_t kSurroundChannels = 8;

KivString Side(int32_t channel) { return KivString(channel == 0 ? "L" : "R"); }

KivString Numbered(const char* prefix, int32_t number) {
    return KivString(prefix) + KivNumber::IntegerToText(number);
}

}  // namespace

namespace KivChannelNames {

KivString Input(int32_t index, int32_t inputBuses, int32_t channelsPerGroup) {
    const bool surround = channelsPerGroup >= kSurroundChannels;
    const int32_t width = surround ? kSurroundChannels : 2;
    const int32_t bus = index / width;
    const int32_t channel = index % width;
    if (bus == 0) return surround ? Numbered("In ", channel) : KivString("In ") + Side(channel);
    if (surround) return Numbered("Sidechain ", bus) + Numbered(" ", channel);
    KivString name = KivString("Sidechain ") + Side(channel);
    // One side-chain needs no number; several are told apart by theirs.
    if (inputBuses > 2) name += Numbered(" ", bus);
    return name;
}

KivString Output(int32_t index, int32_t channelsPerGroup) {
    if (channelsPerGroup >= kSurroundChannels) return Numbered("Out ", index);
    return KivString("Out ") + Side(index % 2);
}

}  // namespace KivChannelNames
