#pragma once
#include "hosts/vst3/interfaces/ipluginfactory.h"

// The VST 3 entry (`GetPluginFactory`): the process's one factory, offering the plug-in as
// one class "TandrelMini" whose objects are processor and controller at once.
namespace KivVst3Entry {

// The class identifier as four 32-bit words ("KestruneKAe@KAe@").
constexpr Steinberg::uint32 kClassWords[4] = {0x4B657374, 0x72756E65, 0x4B416540, 0x4B416540};

// Built on the first call; later calls add a reference. Null only when building fails.
Steinberg::IPluginFactory* GetFactory() noexcept;

}  // namespace KivVst3Entry
