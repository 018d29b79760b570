// The library's exported functions. Each only forwards to the entry code, which catches
// everything: no exception ever reaches a host.
#include <cstdint>

#include "entry/exports/kiv_export.h"
#include "entry/kiv_effect_interface.h"
#include "entry/kiv_library_initialization.h"
#include "entry/kiv_module_startup.h"
#include "entry/kiv_vst2_entry.h"
#include "entry/kiv_vst3_entry.h"

KIV_EXPORT AEffect* VSTPluginMain(audioMasterCallback host) { return KivVst2Entry::CreateInstance(host); }

// Hosts from before VSTPluginMain look for `main`. C++ keeps that name for a program's
// entry, so the function takes it from the assembler; the symbol is the same on ELF and PE.
KIV_EXPORT AEffect* KivVstPluginMainOldName(audioMasterCallback host) __asm__("main");
AEffect* KivVstPluginMainOldName(audioMasterCallback host) { return KivVst2Entry::CreateInstance(host); }

KIV_EXPORT Steinberg::IPluginFactory* GetPluginFactory() { return KivVst3Entry::GetFactory(); }

// A VST 3 host's module calls. The first instance creates the module; the exit destroys it
// here, on the host's thread, rather than under the loader lock of the unload.
KIV_EXPORT bool InitDll() { return true; }
KIV_EXPORT bool ExitDll() { return KivModuleStartup::ReleaseIfUnused(), true; }
#if !defined(_WIN32)
// The same calls under their Linux names; the library's handle is not needed.
KIV_EXPORT bool ModuleEntry(void* /*libraryHandle*/) { return true; }
KIV_EXPORT bool ModuleExit() { return KivModuleStartup::ReleaseIfUnused(), true; }
#endif

KIV_EXPORT KivModule* KivLibraryDLLInitialize(KivLibraryInitRecord* record) {
    return KivLibraryInitialization::InitializeFromParent(record);
}

KIV_EXPORT intptr_t TandrelAudioEffectPluginInterface(void* object, int32_t message, void* argument) {
    return KivEffectInterface::Dispatch(object, message, argument);
}
