#include "entry/kiv_plugin_creation.h"

#include "entry/kiv_effect_interface.h"
#include "entry/kiv_module_data_folder.h"
#include "entry/kiv_module_startup.h"
#include "entry/kiv_product.h"
#include "plugin/kiv_editor_snapshot.h"
#include "plugin/kiv_kestrune_audio_effect_plugin.h"

namespace {

// Holds the module for the instance. As the first base it is constructed before the plug-in
// and destroyed after all of it, so the plug-in never runs without its module.
class ModuleUse {
public:
    ModuleUse() { KivModuleStartup::AcquireForInstance(); }
    ~ModuleUse() { KivModuleStartup::ReleaseForInstance(); }
    ModuleUse(const ModuleUse&) = delete;
    ModuleUse& operator=(const ModuleUse&) = delete;
};

class HostedPlugin final : private ModuleUse, public KivKestruneAudioEffectPlugin {};

template <typename Plugin>
std::unique_ptr<KivAudioPlugin> Create() {
    const KivProduct& product = KivShippedProduct();
    KivAudioPlugin::SetEditorFactory(product.createEditor);
    KivEditorSnapshot::SetFactory(product.snapshotEditor);
    auto plugin = std::make_unique<Plugin>();
    plugin->SetDataFolderSource(&KivModuleDataFolder::Instance());
    // Named before Initialize, which loads the defaults from the family's file (the one
    // SetDefaultSettingsToCurrent writes): one read, not one under the plug-in's own name
    // and another under the family's.
    plugin->SetFamilyName(product.familyName);
    plugin->Initialize(product.pluginName, product.vendor, &KivEffectInterface::Dispatch);
    return plugin;
}

}  // namespace

namespace KivPluginCreation {

std::unique_ptr<KivAudioPlugin> CreatePlugin() { return Create<KivKestruneAudioEffectPlugin>(); }

std::unique_ptr<KivAudioPlugin> CreateHostedPlugin() { return Create<HostedPlugin>(); }

}  // namespace KivPluginCreation
