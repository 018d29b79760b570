#include "hosts/vst3/sdk/unit.h"

#include "hosts/vst3/sdk/vst3_text.h"

namespace Steinberg::Vst {

Unit::Unit(UnitID id, UnitID parentId, std::u16string_view name, ProgramListID programListId) {
    info_.id = id;
    info_.parentUnitId = parentId;
    Text::CopyToString128(info_.name, name);
    info_.programListId = programListId;
}

}  // namespace Steinberg::Vst
