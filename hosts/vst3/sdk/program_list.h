#pragma once
#include <string>
#include <vector>

#include "hosts/vst3/interfaces/iunitinfo.h"

namespace Steinberg::Vst {

// A named list of programs a unit can switch between.
class ProgramList {
public:
    ProgramList(ProgramListID id, std::u16string_view name) : id_(id), name_(name) {}

    void AddProgram(std::u16string_view name) { programs_.emplace_back(name); }
    void GetInfo(ProgramListInfo& info) const;
    ProgramListID GetId() const noexcept { return id_; }
    // False for an index out of range.
    bool GetProgramName(int32 index, String128 name) const;

private:
    ProgramListID id_;
    std::u16string name_;
    std::vector<std::u16string> programs_;
};

}  // namespace Steinberg::Vst
