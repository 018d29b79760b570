#pragma once
#include "hosts/vst3/interfaces/ibstream.h"
#include "hosts/vst3/interfaces/icomponenthandler.h"
#include "hosts/vst3/interfaces/ipluginbase.h"
#include "hosts/vst3/interfaces/iplugview.h"
#include "hosts/vst3/interfaces/vst3_vst_types.h"

namespace Steinberg::Vst {

// One parameter as the host lists it.
struct ParameterInfo {
    enum ParameterFlags {
        kNoFlags = 0,
        kCanAutomate = 1 << 0,
        kIsReadOnly = 1 << 1,
        kIsWrapAround = 1 << 2,
        kIsList = 1 << 3,
        kIsHidden = 1 << 4,
        kIsProgramChange = 1 << 15,
        kIsBypass = 1 << 16
    };

    ParamID id;
    String128 title;
    String128 shortTitle;
    String128 units;
    int32 stepCount;
    ParamValue defaultNormalizedValue;
    UnitID unitId;
    int32 flags;
};

// The parameter and editor side of a plug-in.
class IEditController : public IPluginBase {
public:
    virtual tresult KIV_VST3_API setComponentState(IBStream* state) = 0;
    virtual tresult KIV_VST3_API setState(IBStream* state) = 0;
    virtual tresult KIV_VST3_API getState(IBStream* state) = 0;
    virtual int32 KIV_VST3_API getParameterCount() = 0;
    virtual tresult KIV_VST3_API getParameterInfo(int32 paramIndex, ParameterInfo& info) = 0;
    virtual tresult KIV_VST3_API getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string) = 0;
    virtual tresult KIV_VST3_API getParamValueByString(ParamID id, TChar* string, ParamValue& valueNormalized) = 0;
    virtual ParamValue KIV_VST3_API normalizedParamToPlain(ParamID id, ParamValue valueNormalized) = 0;
    virtual ParamValue KIV_VST3_API plainParamToNormalized(ParamID id, ParamValue plainValue) = 0;
    virtual ParamValue KIV_VST3_API getParamNormalized(ParamID id) = 0;
    virtual tresult KIV_VST3_API setParamNormalized(ParamID id, ParamValue value) = 0;
    virtual tresult KIV_VST3_API setComponentHandler(IComponentHandler* handler) = 0;
    virtual IPlugView* KIV_VST3_API createView(FIDString name) = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E);

protected:
    ~IEditController() = default;
};

enum KnobModes { kCircularMode = 0, kRelativCircularMode, kLinearMode };

class IEditController2 : public FUnknown {
public:
    virtual tresult KIV_VST3_API setKnobMode(KnobMode mode) = 0;
    virtual tresult KIV_VST3_API openHelp(TBool onlyCheck) = 0;
    virtual tresult KIV_VST3_API openAboutBox(TBool onlyCheck) = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0x7F4EFE59, 0xF3204967, 0xAC27A3AE, 0xAFB63038);

protected:
    ~IEditController2() = default;
};

}  // namespace Steinberg::Vst
