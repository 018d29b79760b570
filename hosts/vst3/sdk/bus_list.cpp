#include "hosts/vst3/sdk/bus_list.h"

namespace Steinberg::Vst {

Bus& BusList::Add(std::unique_ptr<Bus> bus) {
    buses_.push_back(std::move(bus));
    return *buses_.back();
}

Bus* BusList::At(int32 index) const noexcept {
    if (index < 0 || index >= Count()) return nullptr;
    return buses_[static_cast<size_t>(index)].get();
}

bool BusList::GetInfo(int32 index, BusInfo& info) const {
    const Bus* bus = At(index);
    if (!bus) return false;
    info.mediaType = type_;
    info.direction = direction_;
    bus->GetInfo(info);
    return true;
}

}  // namespace Steinberg::Vst
