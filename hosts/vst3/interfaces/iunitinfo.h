#pragma once
#include "hosts/vst3/interfaces/ibstream.h"
#include "hosts/vst3/interfaces/vst3_vst_types.h"

namespace Steinberg::Vst {

struct UnitInfo {
    UnitID id;
    UnitID parentUnitId;
    String128 name;
    ProgramListID programListId;
};

struct ProgramListInfo {
    ProgramListID id;
    String128 name;
    int32 programCount;
};

// The plug-in's parameter groups (units) and their program lists.
class IUnitInfo : public FUnknown {
public:
    virtual int32 KIV_VST3_API getUnitCount() = 0;
    virtual tresult KIV_VST3_API getUnitInfo(int32 unitIndex, UnitInfo& info) = 0;
    virtual int32 KIV_VST3_API getProgramListCount() = 0;
    virtual tresult KIV_VST3_API getProgramListInfo(int32 listIndex, ProgramListInfo& info) = 0;
    virtual tresult KIV_VST3_API getProgramName(ProgramListID listId, int32 programIndex, String128 name) = 0;
    virtual tresult KIV_VST3_API getProgramInfo(ProgramListID listId, int32 programIndex, CString attributeId,
                                                String128 attributeValue) = 0;
    virtual tresult KIV_VST3_API hasProgramPitchNames(ProgramListID listId, int32 programIndex) = 0;
    virtual tresult KIV_VST3_API getProgramPitchName(ProgramListID listId, int32 programIndex, int16 midiPitch,
                                                     String128 name) = 0;
    virtual UnitID KIV_VST3_API getSelectedUnit() = 0;
    virtual tresult KIV_VST3_API selectUnit(UnitID unitId) = 0;
    virtual tresult KIV_VST3_API getUnitByBus(MediaType type, BusDirection direction, int32 busIndex, int32 channel,
                                              UnitID& unitId) = 0;
    virtual tresult KIV_VST3_API setUnitProgramData(int32 listOrUnitId, int32 programIndex, IBStream* data) = 0;

    static constexpr InterfaceId iid = MakeInterfaceId(0x3D4BD6B5, 0x913A4FD2, 0xA886E768, 0xA5EB92C1);

protected:
    ~IUnitInfo() = default;
};

}  // namespace Steinberg::Vst
