// The effect-to-plug-in adapter's share of the settings traversal: the shared settings around
// the effect's own, the effect reached through its settings messages, the standard settings
// and the re-initialisation after a load.
#include "base/kiv_exception.h"
#include "plugin/kiv_audio_effect_plugin.h"
#include "plugin/kiv_audio_effect_plugin_host.h"
#include "plugin/kiv_audio_effect_plugin_to_audio_plugin_adapter.h"
#include "threads/kiv_synchronizer_guard.h"

void KivAudioEffectPluginToAudioPluginAdapter::StoreSettings(KivXMLItem& item, bool storing) {
    StoreAdapterSettings(item, storing, true);
}

void KivAudioEffectPluginToAudioPluginAdapter::StoreAdapterSettings(KivXMLItem& item, bool storing, bool loadsBypass) {
    settings_.channelMode = GetChannelMode();
    settings_.bypass = IsBypassed();
    settings_.maxLFOBlockSize = GetPendingInterpolationThreshold();
    settings_.oversampling = GetOversampling();
    settings_.StoreVersion(item, storing);
    StoreEffectSettings(item, storing);
    settings_.StoreModeAndFlags(item, storing, GetChannelsPerGroup());
    if (storing) return;
    if (loadsBypass && !IsBypassOwnedByHost()) SetBypass(settings_.bypass);
    SetMaxLFOBlockSize(settings_.maxLFOBlockSize);
    SetChannelMode(settings_.channelMode);
    ChangeOversampling(settings_.oversampling);
}

void KivAudioEffectPluginToAudioPluginAdapter::StoreEffectSettings(KivXMLItem& item, bool storing) {
    {
        KivSynchronizerGuard state(stateMutex_);
        KivSynchronizerGuard settings(GetSettingsLock());
        ExchangeEffectSettings(item, storing);
        StoreStandardSettings(item, storing);
        // The next block must run with what was loaded. An effect that hands over setups
        // prepares one (the audio thread takes it at the next block boundary, the channels
        // starting from silence); any other is initialised again under the processing lock
        // (both locks are taken again by this thread inside).
        if (!storing) {
            if (effect_ && effect_->HandsOverPreparedSetups()) effect_->ReprepareAfterLoading();
            else InitProcessing();
        }
    }
    if (!storing) ActualiseAfterLoading();
}

// Nothing needs preparing before the effect reads: it finds its attributes by name.
void KivAudioEffectPluginToAudioPluginAdapter::ExchangeEffectSettings(KivXMLItem& item, bool storing) {
    if (!effectHost_) return;
    KivEffectMessageRecord record;
    record.SetPointer(1, &item);
    const intptr_t answer = effectHost_->Send(storing ? kKivEffectStoreSettings : kKivEffectLoadSettings, &record);
    if (answer != 1) {
        throw KivException(KivString(storing ? "The effect could not store its settings."
                                             : "The effect could not load its settings."),
                           KivException::kInputOutput);
    }
}

void KivAudioEffectPluginToAudioPluginAdapter::StoreStandardSettings(KivXMLItem& item, bool storing) {
    StoreControllers(item, storing);
    StorePresetStoreIndex(item, storing);
}

// No preset store is attached at this level.
void KivAudioEffectPluginToAudioPluginAdapter::StorePresetStoreIndex(KivXMLItem&, bool) {}

// Processing was re-initialised under the mutexes; the editor, when one exists, catches up
// through InitProcessing's own refresh.
void KivAudioEffectPluginToAudioPluginAdapter::ActualiseAfterLoading() {}
