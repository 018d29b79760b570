#pragma once
#include <vector>

#include "hosts/vst3/interfaces/ieditcontroller.h"
#include "hosts/vst3/interfaces/iunitinfo.h"
#include "hosts/vst3/sdk/parameter_container.h"
#include "hosts/vst3/sdk/program_list.h"
#include "hosts/vst3/sdk/unit.h"

namespace Steinberg::Vst {

// The controller side of a plug-in with what every controller answers the same way from its
// parameter list, units and program lists, and the way back to the host's component handler.
// The subclass supplies reference counting, initialise and terminate, and state.
class EditControllerEx1 : public IEditController, public IEditController2, public IUnitInfo {
public:
    // ---- IEditController -----------------------------------------------------------------
    tresult KIV_VST3_API setComponentState(IBStream* state) override;
    int32 KIV_VST3_API getParameterCount() override { return parameters_.Count(); }
    tresult KIV_VST3_API getParameterInfo(int32 paramIndex, ParameterInfo& info) override;
    tresult KIV_VST3_API getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string) override;
    tresult KIV_VST3_API getParamValueByString(ParamID id, TChar* string, ParamValue& valueNormalized) override;
    ParamValue KIV_VST3_API normalizedParamToPlain(ParamID id, ParamValue valueNormalized) override;
    ParamValue KIV_VST3_API plainParamToNormalized(ParamID id, ParamValue plainValue) override;
    ParamValue KIV_VST3_API getParamNormalized(ParamID id) override;
    tresult KIV_VST3_API setParamNormalized(ParamID id, ParamValue value) override;
    tresult KIV_VST3_API setComponentHandler(IComponentHandler* handler) override;
    IPlugView* KIV_VST3_API createView(FIDString name) override;

    // ---- IEditController2 ----------------------------------------------------------------
    tresult KIV_VST3_API setKnobMode(KnobMode mode) override;
    tresult KIV_VST3_API openHelp(TBool onlyCheck) override;
    tresult KIV_VST3_API openAboutBox(TBool onlyCheck) override;

    // ---- IUnitInfo -----------------------------------------------------------------------
    int32 KIV_VST3_API getUnitCount() override { return static_cast<int32>(units_.size()); }
    tresult KIV_VST3_API getUnitInfo(int32 unitIndex, UnitInfo& info) override;
    int32 KIV_VST3_API getProgramListCount() override { return static_cast<int32>(programLists_.size()); }
    tresult KIV_VST3_API getProgramListInfo(int32 listIndex, ProgramListInfo& info) override;
    tresult KIV_VST3_API getProgramName(ProgramListID listId, int32 programIndex, String128 name) override;
    tresult KIV_VST3_API getProgramInfo(ProgramListID listId, int32 programIndex, CString attributeId,
                                        String128 attributeValue) override;
    tresult KIV_VST3_API hasProgramPitchNames(ProgramListID listId, int32 programIndex) override;
    tresult KIV_VST3_API getProgramPitchName(ProgramListID listId, int32 programIndex, int16 midiPitch,
                                             String128 name) override;
    UnitID KIV_VST3_API getSelectedUnit() override { return selectedUnit_; }
    tresult KIV_VST3_API selectUnit(UnitID unitId) override;
    tresult KIV_VST3_API getUnitByBus(MediaType type, BusDirection direction, int32 busIndex, int32 channel,
                                      UnitID& unitId) override;
    tresult KIV_VST3_API setUnitProgramData(int32 listOrUnitId, int32 programIndex, IBStream* data) override;

protected:
    EditControllerEx1() = default;
    ~EditControllerEx1();

    ParameterContainer& GetParameters() noexcept { return parameters_; }
    void AddUnit(const Unit& unit) { units_.push_back(unit); }
    void AddProgramList(const ProgramList& list) { programLists_.push_back(list); }
    void RemoveAllUnits() noexcept;
    IComponentHandler* GetComponentHandler() const noexcept { return componentHandler_; }
    // The edit calls to the host's handler; kResultFalse when there is none.
    tresult BeginEdit(ParamID id);
    tresult PerformEdit(ParamID id, ParamValue valueNormalized);
    tresult EndEdit(ParamID id);
    tresult RestartComponent(int32 flags);

private:
    const ProgramList* FindProgramList(ProgramListID id) const noexcept;

    ParameterContainer parameters_;
    std::vector<Unit> units_;
    std::vector<ProgramList> programLists_;
    IComponentHandler* componentHandler_ = nullptr;
    UnitID selectedUnit_ = kRootUnitId;
    KnobMode knobMode_ = kCircularMode;
};

}  // namespace Steinberg::Vst
