#pragma once
#include "hosts/vst3/interfaces/funknown.h"

namespace Steinberg {

// First and last call of every plug-in object: the host hands in its context on initialise.
class IPluginBase : public FUnknown {
public:
    virtual tresult KIV_VST3_API initialize(FUnknown* context) = 0;
    virtual tresult KIV_VST3_API terminate() = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625);

protected:
    ~IPluginBase() = default;
};

}  // namespace Steinberg
