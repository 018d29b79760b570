#include "entry/kiv_vst2_entry.h"

#include <memory>
#include <new>

#include "base/kiv_boundary.h"
#include "base/kiv_trace.h"
#include "entry/kiv_factory_program_list.h"
#include "entry/kiv_plugin_creation.h"
#include "entry/kiv_product.h"
#include "hosts/vst2/kiv_audio_plugin_vst_adapter.h"
#include "plugin/kiv_kestrune_audio_effect_plugin.h"

namespace {

AEffect* Create(audioMasterCallback host) {
    if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    // Storage first, so that a failed allocation costs no plug-in construction.
    // Aligned as the type asks: its MIDI queue keeps its two positions on separate cache lines,
    // and the adapter's own delete frees it with the aligned operator.
    constexpr std::align_val_t kAlignment{alignof(KivAudioPluginVSTAdapter)};
    void* storage = ::operator new(sizeof(KivAudioPluginVSTAdapter), kAlignment, std::nothrow);
    if (!storage) {
        KivTrace::Write("Error creating Vst plugin object.");
        return nullptr;
    }
    try {
        std::unique_ptr<KivAudioPlugin> plugin = KivPluginCreation::CreateHostedPlugin();
        // CreateHostedPlugin makes the house plug-in, whose live settings a program replaces.
        auto& house = static_cast<KivKestruneAudioEffectPlugin&>(*plugin);
        const KivProduct& product = KivShippedProduct();
        auto* adapter = new (storage) KivAudioPluginVSTAdapter(host, std::move(plugin));
        adapter->SetProgramList(
            KivFactoryProgramList::Create(product.factoryPresets ? product.factoryPresets() : nullptr, house));
        return adapter->getAeffect();
    } catch (...) {
        ::operator delete(storage, kAlignment);
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
