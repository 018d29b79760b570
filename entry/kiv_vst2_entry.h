#pragma once
#include "hosts/vst2/vst2_abi.h"

// The VST 2.4 entry (`VSTPluginMain`, also `main`): a host that answers the version question
// gets a new instance on the process's module; every failure gives null.
namespace KivVst2Entry {

AEffect* CreateInstance(audioMasterCallback host) noexcept;

}  // namespace KivVst2Entry
