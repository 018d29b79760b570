#include "entry/kiv_plugin_creation.h"

#include "entry/kiv_effect_interface.h"
#include "plugin/kiv_kestrune_audio_effect_plugin.h"

namespace KivPluginCreation {

std::unique_ptr<KivAudioPlugin> CreatePlugin() {
    auto plugin = std::make_unique<KivKestruneAudioEffectPlugin>();
    plugin->Initialize(kPluginName, kVendor, &KivEffectInterface::Dispatch);
    plugin->SetFamilyName(kFamilyName);
    return plugin;
}

}  // namespace KivPluginCreation
