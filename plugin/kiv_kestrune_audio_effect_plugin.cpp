#include "plugin/kiv_kestrune_audio_effect_plugin.h"

#include "base/kiv_exception.h"
#include "base/kiv_trace.h"

void KivKestruneAudioEffectPlugin::Initialize(const KivString& pluginName, const KivString& vendor,
                                              KivAudioEffectPluginInterfaceFunction function) {
    try {
        KivAudioEffectPluginToAudioPluginAdapter::Initialize(pluginName, vendor, function);
        InitializePresetSlots();
    } catch (const KivException&) {
        throw;
    } catch (...) {
        KivTrace::SystemException("KivKestruneAudioEffectPlugin::Initialize");
        throw;
    }
}
