#pragma once
#include "hosts/vst3/interfaces/ibstream.h"
#include "hosts/vst3/interfaces/ipluginbase.h"
#include "hosts/vst3/interfaces/vst3_vst_types.h"

namespace Steinberg::Vst {

// One bus of a component as the host lists it.
struct BusInfo {
    enum BusFlags { kDefaultActive = 1 << 0 };

    MediaType mediaType;
    BusDirection direction;
    int32 channelCount;
    String128 name;
    BusType busType;
    uint32 flags;
};

struct RoutingInfo {
    MediaType mediaType;
    int32 busIndex;
    int32 channel;
};

// The processing side of a plug-in: buses, activation and state.
class IComponent : public IPluginBase {
public:
    virtual tresult KIV_VST3_API getControllerClassId(TUID classId) = 0;
    virtual tresult KIV_VST3_API setIoMode(IoMode mode) = 0;
    virtual int32 KIV_VST3_API getBusCount(MediaType type, BusDirection direction) = 0;
    virtual tresult KIV_VST3_API getBusInfo(MediaType type, BusDirection direction, int32 index, BusInfo& bus) = 0;
    virtual tresult KIV_VST3_API getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) = 0;
    virtual tresult KIV_VST3_API activateBus(MediaType type, BusDirection direction, int32 index, TBool state) = 0;
    virtual tresult KIV_VST3_API setActive(TBool state) = 0;
    virtual tresult KIV_VST3_API setState(IBStream* state) = 0;
    virtual tresult KIV_VST3_API getState(IBStream* state) = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802);

protected:
    ~IComponent() = default;
};

}  // namespace Steinberg::Vst
