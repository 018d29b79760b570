#pragma once
#include <cstdint>

#include "base/kiv_string.h"

// What a VST 2.4 host lists as the plug-in's programs, beyond program 0. Program 0 stands for
// the settings as they are: hosts select program 0 when they create an instance or before they
// restore a project, and that must never replace anything. Programs 1 to Count() load the
// product's presets (Load(0) is program 1). Called on the host's main thread.
class KivVstProgramList {
public:
    virtual ~KivVstProgramList() = default;
    virtual int32_t Count() const = 0;
    virtual KivString Name(int32_t index) const = 0;
    virtual void Load(int32_t index) = 0;
};
