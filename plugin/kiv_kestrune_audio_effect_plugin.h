#pragma once
#include "plugin/kiv_audio_effect_plugin_to_audio_plugin_adapter.h"

// The maker's house base for its effects. Its processing and parameter behaviour is the
// adapter's; menus, preset handling and the editor frame come with the window system.
class KivKestruneAudioEffectPlugin : public KivAudioEffectPluginToAudioPluginAdapter {
public:
    void Initialize(const KivString& pluginName, const KivString& vendor,
                    KivAudioEffectPluginInterfaceFunction function) override;
};
