#pragma once
#include <string>

#include "hosts/vst3/interfaces/iunitinfo.h"

namespace Steinberg::Vst {

// A group of parameters as hosts show it; the root unit holds every parameter here.
class Unit {
public:
    Unit(UnitID id, UnitID parentId, std::u16string_view name, ProgramListID programListId = kNoProgramListId);

    const UnitInfo& GetInfo() const noexcept { return info_; }

private:
    UnitInfo info_{};
};

}  // namespace Steinberg::Vst
