#include "hosts/vst3/sdk/parameter_container.h"

namespace Steinberg::Vst {

Parameter& ParameterContainer::Add(std::unique_ptr<Parameter> parameter) {
    indexById_[parameter->GetInfo().id] = parameters_.size();
    parameters_.push_back(std::move(parameter));
    return *parameters_.back();
}

void ParameterContainer::RemoveAll() noexcept {
    parameters_.clear();
    indexById_.clear();
}

Parameter* ParameterContainer::At(int32 index) const noexcept {
    if (index < 0 || index >= Count()) return nullptr;
    return parameters_[static_cast<size_t>(index)].get();
}

Parameter* ParameterContainer::Find(ParamID id) const noexcept {
    const auto found = indexById_.find(id);
    return found == indexById_.end() ? nullptr : parameters_[found->second].get();
}

}  // namespace Steinberg::Vst
