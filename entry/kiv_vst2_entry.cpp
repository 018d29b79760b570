#include "entry/kiv_vst2_entry.h"

#include <memory>
#include <new>

#include "base/kiv_boundary.h"
#include "base/kiv_trace.h"
#include "entry/kiv_module_startup.h"
#include "entry/kiv_plugin_creation.h"
#include "hosts/vst2/kiv_audio_plugin_vst_adapter.h"

namespace {

AEffect* Create(audioMasterCallback host) {
    if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    KivModuleStartup::EnsureModule();
    // Storage first, so that a failed allocation costs no plug-in construction.
    void* storage = ::operator new(sizeof(KivAudioPluginVSTAdapter), std::nothrow);
    if (!storage) {
        KivTrace::Write("Error creating Vst plugin object.");
        return nullptr;
    }
    try {
        auto* adapter = new (storage) KivAudioPluginVSTAdapter(host, KivPluginCreation::CreatePlugin());
        return adapter->getAeffect();
    } catch (...) {
        ::operator delete(storage);
        throw;
    }
}

}  // namespace

namespace KivVst2Entry {

AEffect* CreateInstance(audioMasterCallback host) noexcept {
    if (!host) return nullptr;
    return KivGuard("VST Plugin main", static_cast<AEffect*>(nullptr), [&] { return Create(host); });
}

}  // namespace KivVst2Entry
