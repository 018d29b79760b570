#include "plugin/kiv_plugin_system.h"

#include "plugin/kiv_audio_effect_plugin_host.h"

int32_t KivPluginSystem::CreateEffect(const KivString&, KivAudioEffectPluginInterfaceFunction function,
                                      KivAudioEffectPluginHost*& host) {
    host = nullptr;
    auto* created = new KivAudioEffectPluginHost(function);
    if (!created->Connect()) {
        delete created;
        return kConnectFailed;
    }
    try {
        created->InitializeEffect();
    } catch (...) {
        delete created;
        throw;
    }
    host = created;
    return kCreated;
}
