#pragma once
#include <memory>
#include <unordered_map>
#include <vector>

#include "hosts/vst3/sdk/parameter.h"

namespace Steinberg::Vst {

// An edit controller's parameters in the host's index order, found by identifier too.
class ParameterContainer {
public:
    Parameter& Add(std::unique_ptr<Parameter> parameter);
    void RemoveAll() noexcept;
    int32 Count() const noexcept { return static_cast<int32>(parameters_.size()); }
    // Null for an index or identifier the container does not hold.
    Parameter* At(int32 index) const noexcept;
    Parameter* Find(ParamID id) const noexcept;

private:
    std::vector<std::unique_ptr<Parameter>> parameters_;
    std::unordered_map<ParamID, size_t> indexById_;
};

}  // namespace Steinberg::Vst
