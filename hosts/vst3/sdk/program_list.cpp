#include "hosts/vst3/sdk/program_list.h"

#include "hosts/vst3/sdk/vst3_text.h"

namespace Steinberg::Vst {

void ProgramList::GetInfo(ProgramListInfo& info) const {
    info.id = id_;
    Text::CopyToString128(info.name, name_);
    info.programCount = static_cast<int32>(programs_.size());
}

bool ProgramList::GetProgramName(int32 index, String128 name) const {
    if (index < 0 || index >= static_cast<int32>(programs_.size())) return false;
    Text::CopyToString128(name, programs_[static_cast<size_t>(index)]);
    return true;
}

}  // namespace Steinberg::Vst
