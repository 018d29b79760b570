#pragma once
#include <memory>
#include <vector>

#include "hosts/vst3/sdk/bus.h"

namespace Steinberg::Vst {

// The buses of one media type and direction, in the order the host numbers them.
class BusList {
public:
    BusList(MediaType type, BusDirection direction) : type_(type), direction_(direction) {}

    Bus& Add(std::unique_ptr<Bus> bus);
    void Clear() noexcept { buses_.clear(); }
    int32 Count() const noexcept { return static_cast<int32>(buses_.size()); }
    // Null for an index out of range.
    Bus* At(int32 index) const noexcept;
    bool GetInfo(int32 index, BusInfo& info) const;

private:
    MediaType type_;
    BusDirection direction_;
    std::vector<std::unique_ptr<Bus>> buses_;
};

}  // namespace Steinberg::Vst
