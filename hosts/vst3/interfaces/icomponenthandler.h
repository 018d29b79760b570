#pragma once
#include "hosts/vst3/interfaces/funknown.h"
#include "hosts/vst3/interfaces/vst3_vst_types.h"

namespace Steinberg::Vst {

enum RestartFlags {
    kReloadComponent = 1 << 0,
    kIoChanged = 1 << 1,
    kParamValuesChanged = 1 << 2,
    kLatencyChanged = 1 << 3,
    kParamTitlesChanged = 1 << 4,
    kMidiCCAssignmentChanged = 1 << 5,
    kNoteExpressionChanged = 1 << 6,
    kIoTitlesChanged = 1 << 7,
    kPrefetchableSupportChanged = 1 << 8,
    kRoutingInfoChanged = 1 << 9,
    kKeyswitchChanged = 1 << 10
};

// The host's side of the controller: edits made inside the plug-in and restart requests.
class IComponentHandler : public FUnknown {
public:
    virtual tresult KIV_VST3_API beginEdit(ParamID id) = 0;
    virtual tresult KIV_VST3_API performEdit(ParamID id, ParamValue valueNormalized) = 0;
    virtual tresult KIV_VST3_API endEdit(ParamID id) = 0;
    virtual tresult KIV_VST3_API restartComponent(int32 flags) = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0x93A0BEA3, 0x0BD045DB, 0x8E890B0C, 0xC1E46AC6);

protected:
    ~IComponentHandler() = default;
};

}  // namespace Steinberg::Vst
