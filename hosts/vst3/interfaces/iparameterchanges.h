#pragma once
#include "hosts/vst3/interfaces/funknown.h"
#include "hosts/vst3/interfaces/vst3_vst_types.h"

namespace Steinberg::Vst {

// The points of one parameter within a block, in sample order.
class IParamValueQueue : public FUnknown {
public:
    virtual ParamID KIV_VST3_API getParameterId() = 0;
    virtual int32 KIV_VST3_API getPointCount() = 0;
    virtual tresult KIV_VST3_API getPoint(int32 index, int32& sampleOffset, ParamValue& value) = 0;
    virtual tresult KIV_VST3_API addPoint(int32 sampleOffset, ParamValue value, int32& index) = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0x01263A18, 0xED074F6F, 0x98C9D356, 0x4686F9BA);

protected:
    ~IParamValueQueue() = default;
};

// The queues of every parameter that changed within a block.
class IParameterChanges : public FUnknown {
public:
    virtual int32 KIV_VST3_API getParameterCount() = 0;
    virtual IParamValueQueue* KIV_VST3_API getParameterData(int32 index) = 0;
    virtual IParamValueQueue* KIV_VST3_API addParameterData(const ParamID& id, int32& index) = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0xA4779663, 0x0BB64A56, 0xB44384A8, 0x466FEB9D);

protected:
    ~IParameterChanges() = default;
};

}  // namespace Steinberg::Vst
