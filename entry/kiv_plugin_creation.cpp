#include "entry/kiv_plugin_creation.h"

#include "entry/kiv_effect_interface.h"
#include "entry/kiv_module_data_folder.h"
#include "entry/kiv_product.h"
#include "plugin/kiv_editor_snapshot.h"
#include "plugin/kiv_kestrune_audio_effect_plugin.h"

namespace KivPluginCreation {

std::unique_ptr<KivAudioPlugin> CreatePlugin() {
    const KivProduct& product = KivShippedProduct();
    KivAudioPlugin::SetEditorFactory(product.createEditor);
    KivEditorSnapshot::SetFactory(product.snapshotEditor);
    auto plugin = std::make_unique<KivKestruneAudioEffectPlugin>();
    plugin->SetDataFolderSource(&KivModuleDataFolder::Instance());
    plugin->Initialize(product.pluginName, product.vendor, &KivEffectInterface::Dispatch);
    plugin->SetFamilyName(product.familyName);
    // Initialize looked for defaults under the plug-in's own name; the family's file is the
    // one SetDefaultSettingsToCurrent writes, so that is where the defaults are.
    plugin->LoadDefaultSettings();
    return plugin;
}

}  // namespace KivPluginCreation
