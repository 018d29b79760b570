#include "hosts/vst3/sdk/bus.h"

#include <bitset>

#include "hosts/vst3/sdk/vst3_text.h"

namespace Steinberg::Vst {

void Bus::GetInfo(BusInfo& info) const {
    info.channelCount = ChannelCount();
    Text::CopyToString128(info.name, name_);
    info.busType = busType_;
    info.flags = static_cast<uint32>(flags_);
}

// An arrangement has one bit per speaker.
int32 AudioBus::ChannelCount() const { return static_cast<int32>(std::bitset<64>(arrangement_).count()); }

}  // namespace Steinberg::Vst
