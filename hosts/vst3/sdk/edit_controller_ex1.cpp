#include "hosts/vst3/sdk/edit_controller_ex1.h"

#include "base/kiv_boundary.h"
#include "hosts/vst3/sdk/vst3_text.h"

namespace Steinberg::Vst {

EditControllerEx1::~EditControllerEx1() {
    if (componentHandler_) componentHandler_->release();
}

// Component and controller are the same object here: the component state is already
// where the controller reads it.
tresult EditControllerEx1::setComponentState(IBStream* state) { return state ? kResultOk : kInvalidArgument; }

tresult EditControllerEx1::getParameterInfo(int32 paramIndex, ParameterInfo& info) {
    const Parameter* parameter = parameters_.At(paramIndex);
    if (!parameter) return kInvalidArgument;
    info = parameter->GetInfo();
    return kResultOk;
}

tresult EditControllerEx1::getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string) {
    return KivGuard("Steinberg::Vst::EditControllerEx1::getParamStringByValue", kResultFalse, [&] {
        const Parameter* parameter = parameters_.Find(id);
        if (!parameter || !string) return kResultFalse;
        Text::CopyToString128(string, parameter->ToString(valueNormalized));
        return kResultOk;
    });
}

tresult EditControllerEx1::getParamValueByString(ParamID id, TChar* string, ParamValue& valueNormalized) {
    return KivGuard("Steinberg::Vst::EditControllerEx1::getParamValueByString", kResultFalse, [&] {
        const Parameter* parameter = parameters_.Find(id);
        if (!parameter || !string) return kResultFalse;
        return parameter->FromString(Text::View(string), valueNormalized) ? kResultOk : kResultFalse;
    });
}

ParamValue EditControllerEx1::normalizedParamToPlain(ParamID id, ParamValue valueNormalized) {
    const Parameter* parameter = parameters_.Find(id);
    return parameter ? parameter->ToPlain(valueNormalized) : valueNormalized;
}

ParamValue EditControllerEx1::plainParamToNormalized(ParamID id, ParamValue plainValue) {
    const Parameter* parameter = parameters_.Find(id);
    return parameter ? parameter->ToNormalized(plainValue) : plainValue;
}

ParamValue EditControllerEx1::getParamNormalized(ParamID id) {
    const Parameter* parameter = parameters_.Find(id);
    return parameter ? parameter->GetNormalized() : 0.0;
}

tresult EditControllerEx1::setParamNormalized(ParamID id, ParamValue value) {
    Parameter* parameter = parameters_.Find(id);
    if (!parameter) return kResultFalse;
    parameter->SetNormalized(value);
    return kResultOk;
}

tresult EditControllerEx1::setComponentHandler(IComponentHandler* handler) {
    if (handler == componentHandler_) return kResultTrue;
    if (componentHandler_) componentHandler_->release();
    componentHandler_ = handler;
    if (componentHandler_) componentHandler_->addRef();
    return kResultTrue;
}

IPlugView* EditControllerEx1::createView(FIDString /*name*/) { return nullptr; }

tresult EditControllerEx1::setKnobMode(KnobMode mode) {
    if (mode < kCircularMode || mode > kLinearMode) return kResultFalse;
    knobMode_ = mode;
    return kResultTrue;
}

tresult EditControllerEx1::openHelp(TBool /*onlyCheck*/) { return kResultFalse; }

tresult EditControllerEx1::openAboutBox(TBool /*onlyCheck*/) { return kResultFalse; }

tresult EditControllerEx1::getUnitInfo(int32 unitIndex, UnitInfo& info) {
    if (unitIndex < 0 || unitIndex >= getUnitCount()) return kResultFalse;
    info = units_[static_cast<size_t>(unitIndex)].GetInfo();
    return kResultTrue;
}

tresult EditControllerEx1::getProgramListInfo(int32 listIndex, ProgramListInfo& info) {
    if (listIndex < 0 || listIndex >= getProgramListCount()) return kResultFalse;
    programLists_[static_cast<size_t>(listIndex)].GetInfo(info);
    return kResultTrue;
}

tresult EditControllerEx1::getProgramName(ProgramListID listId, int32 programIndex, String128 name) {
    const ProgramList* list = FindProgramList(listId);
    return list && list->GetProgramName(programIndex, name) ? kResultTrue : kResultFalse;
}

tresult EditControllerEx1::getProgramInfo(ProgramListID, int32, CString, String128) { return kResultFalse; }

tresult EditControllerEx1::hasProgramPitchNames(ProgramListID, int32) { return kResultFalse; }

tresult EditControllerEx1::getProgramPitchName(ProgramListID, int32, int16, String128) { return kResultFalse; }

tresult EditControllerEx1::selectUnit(UnitID unitId) {
    selectedUnit_ = unitId;
    return kResultTrue;
}

tresult EditControllerEx1::getUnitByBus(MediaType, BusDirection, int32, int32, UnitID&) { return kResultFalse; }

tresult EditControllerEx1::setUnitProgramData(int32, int32, IBStream*) { return kResultFalse; }

void EditControllerEx1::RemoveAllUnits() noexcept {
    units_.clear();
    programLists_.clear();
}

tresult EditControllerEx1::BeginEdit(ParamID id) {
    return componentHandler_ ? componentHandler_->beginEdit(id) : kResultFalse;
}

tresult EditControllerEx1::PerformEdit(ParamID id, ParamValue valueNormalized) {
    return componentHandler_ ? componentHandler_->performEdit(id, valueNormalized) : kResultFalse;
}

tresult EditControllerEx1::EndEdit(ParamID id) { return componentHandler_ ? componentHandler_->endEdit(id) : kResultFalse; }

tresult EditControllerEx1::RestartComponent(int32 flags) {
    return componentHandler_ ? componentHandler_->restartComponent(flags) : kResultFalse;
}

const ProgramList* EditControllerEx1::FindProgramList(ProgramListID id) const noexcept {
    for (const ProgramList& list : programLists_)
        if (list.GetId() == id) return &list;
    return nullptr;
}

}  // namespace Steinberg::Vst
