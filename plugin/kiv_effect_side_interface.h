#pragma once
#include <cstdint>

class KivAudioEffectPlugin;
class KivAudioEffectPluginHost;
class KivXMLItem;

// The face the effect-to-plug-in adapter turns towards its effect and towards the house
// classes built on it: the steps of processing preparation, the effect's share of the
// settings and the operations that run on the effect under the state mutex.
class KivEffectSideInterface {
public:
    virtual ~KivEffectSideInterface() = default;
    virtual int32_t GetEffectSideVersion() { return 1; }
    // Runs with the state mutex and the processing mutex held.
    virtual void InitProcessing_LockedPart() = 0;
    // Runs after both mutexes were released.
    virtual void InitProcessing_UnLockedPart() = 0;
    // Brings an open editor up to date after InitProcessing.
    virtual void InitProcessingGUI() = 0;
    virtual void UpdateMaxBufferSize() = 0;
    // After each call of the effect's Process.
    virtual void OnEffectProcessed() = 0;
    // The effect's own settings and those of the classes built on the adapter.
    virtual void StoreEffectSettings(KivXMLItem& item, bool storing) = 0;
    virtual KivAudioEffectPlugin* GetEffect() const = 0;
    virtual KivAudioEffectPluginHost* GetEffectHost() const = 0;
    virtual uint32_t GetSettingsVersion() const = 0;
    virtual void OnEffectSideHook() {}
    virtual void ResetEffect() = 0;
    virtual void RandomizeEffect(double amount) = 0;
    virtual void OnEffectSideHook2() {}
    virtual void OnEffectSideHook3() {}
};
