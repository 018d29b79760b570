#pragma once
#include <cstdint>

#include "base/kiv_string.h"
#include "parameters/kiv_parameter_buckets.h"
#include "parameters/kiv_parameter_effect_link.h"
#include "plugin/kiv_audio_plugin.h"
#include "plugin/kiv_channel_mode_parameter.h"
#include "plugin/kiv_effect_message.h"
#include "plugin/kiv_effect_side_interface.h"
#include "plugin/kiv_processing_context.h"
#include "plugin/kiv_shared_settings.h"
#include "plugin/midi/kiv_midi_controllers.h"
#include "plugin/midi/kiv_plugin_midi_time_base.h"
#include "threads/kiv_mutex.h"

// Turns an effect algorithm (KivAudioEffectPlugin) into a complete plug-in: it creates the
// effect through its interface function, registers its parameters, names the host channels,
// keeps the settings every effect shares and forwards processing to the effect.
//
// Lock order: the state mutex, then the effect's mutex, then the core's processing lock.
//
// An effect that hands over prepared setups (KivAudioEffectPlugin::HandsOverPreparedSetups)
// never has its settings read on the audio thread: parameter changes are prepared by the
// thread that makes them (by the automation update thread when they arrive inside a block),
// and settings traversals hold the effect's mutex instead of the processing lock. Other
// effects keep the processing lock around both.
class KivAudioEffectPluginToAudioPluginAdapter : public KivEffectSideInterface,
                                                 public KivAudioPlugin,
                                                 public KivParameterEffectLink {
public:
    KivAudioEffectPluginToAudioPluginAdapter();
    ~KivAudioEffectPluginToAudioPluginAdapter() override;

    // Creates and connects the effect and loads the family's default settings (the family
    // set before, or else the plug-in's name); raises "Error creating plugin." when it cannot.
    virtual void Initialize(const KivString& pluginName, const KivString& vendor,
                            KivAudioEffectPluginInterfaceFunction function);

    const KivString& GetPluginName() const noexcept { return pluginName_; }
    const KivString& GetVendorName() const noexcept { return vendor_; }
    const KivString& GetFamilyName() const noexcept { return familyName_; }
    void SetFamilyName(const KivString& name) { familyName_ = name; }
    KivString GetInputChannelName(int32_t index);
    KivString GetOutputChannelName(int32_t index);

    // The stored "MaxLFOBlockSize": blocks longer than this smooth parameter changes.
    void SetMaxLFOBlockSize(int32_t samples) noexcept { SetPendingInterpolationThreshold(samples); }
    void SetChannelMode(int32_t mode) override;
    // The effect processes fewer channels on request: SetChannelMode is an atomic store that
    // any thread may make, and the audio thread takes the mode at a block boundary.
    bool TakesChannelModesInProcess() const noexcept;
    // A channel mode set on the audio thread for any other effect waits for the automation
    // update thread, as it re-initialises processing.
    void RequestChannelModeUpdate() { RequestAutomationUpdate(true); }
    // The channel mode's host index (after the effect's parameters).
    int32_t GetChannelModeParameterIndex() const noexcept {
        return static_cast<int32_t>(channelModeParameter_.GetFirstIndex());
    }
    // Oversampling factor 1 (off), 2, 4 or 8: the resamplers and the effect are prepared for
    // it on the calling thread, under the locks, so that no block runs half-changed; the
    // host hears of the new latency. Other factors count as off.
    void ChangeOversampling(int32_t factor);

    // --- MIDI: controller and note slots drive parameters (after the listeners had the event) ---
    void ProcessNote(int32_t sampleOffset, double timePosition, int32_t channel, int32_t note, double velocity,
                     bool on) override;
    void ProcessAftertouch(int32_t sampleOffset, double timePosition, int32_t channel, double value,
                           int32_t note) override;
    void ProcessPitchBend(int32_t sampleOffset, double timePosition, int32_t channel, double value) override;
    void ProcessMIDIController(int32_t sampleOffset, double timePosition, int32_t channel, double value,
                               int32_t controller) override;
    KivMIDIControllers& GetMIDIControllers() noexcept { return midiControllers_; }

    // --- KivAudioPlugin -----------------------------------------------------------------------
    void InitProcessing() override;
    void Process(float** inputs, float** outputs, int32_t count) override;
    void ProcessUpdate() override;
    void PreProcessing(int32_t count) override;
    // Also prepares the parameter changes that arrived on the audio thread.
    void CarryOutAutomationUpdates(int32_t requests) override;
    int32_t GetEffectLatency() override;
    int32_t GetPlayingEffectLatency() override;
    int32_t GetEffectLatencyLimit(int32_t sampleRate) override;
    bool EffectDelaysUnprocessedChannels() const noexcept override;
    int32_t GetEffectInputChannels() override;
    int32_t GetEffectChannels() override;
    int32_t GetInputChannelsPerGroup() override;
    int32_t GetOutputChannelsPerGroup() override;
    // The shared settings around the effect's own (defined with the state code).
    void StoreSettings(KivXMLItem& item, bool storing) override;
    // The same, with the bypass loaded only when `loadsBypass` (and the host does not keep
    // it): the bypass belongs to the instance in its project, not to a preset or a slot.
    void StoreAdapterSettings(KivXMLItem& item, bool storing, bool loadsBypass);

    // --- settings exchange ----------------------------------------------------------------------
    // The MIDI controller assignments, then the preset store's index.
    virtual void StoreStandardSettings(KivXMLItem& item, bool storing);
    // "Controllers" and "NoteControllers"; the MIDI processor's storage.
    virtual void StoreControllers(KivXMLItem& item, bool storing);
    // The preset store's "CurrentPresetIndex".
    virtual void StorePresetStoreIndex(KivXMLItem& item, bool storing);
    // Brings what depends on the settings up to date after a load.
    virtual void ActualiseAfterLoading();

    // --- KivEffectSideInterface -----------------------------------------------------------------
    void InitProcessing_LockedPart() override;
    // Tells the effect the mode's mid-side flag and, when it processes fewer channels on
    // request, the mode's channel count.
    void OnChannelModeTaken(int32_t mode) noexcept override;
    void InitProcessing_UnLockedPart() override;
    void InitProcessingGUI() override;
    void UpdateMaxBufferSize() override;
    void OnEffectProcessed() override;
    void StoreEffectSettings(KivXMLItem& item, bool storing) override;
    KivAudioEffectPlugin* GetEffect() const override { return effect_; }
    KivAudioEffectPluginHost* GetEffectHost() const override { return effectHost_; }
    uint32_t GetSettingsVersion() const override { return settings_.version; }
    void ResetEffect() override;
    void RandomizeEffect(double amount) override;

    // --- KivParameterEffectLink -----------------------------------------------------------------
    void OnParameterChanged(int32_t recordIndex) override;
    void MarkForReprepare() override;

    KivMutex& GetStateMutex() noexcept { return stateMutex_; }
    // What a settings traversal holds after the state mutex: the effect's mutex when the
    // effect hands over prepared setups, otherwise the processing lock.
    KivSynchronizer& GetSettingsLock() noexcept;
    const KivProcessingContext& GetProcessingContext() const noexcept { return context_; }

private:
    void CreateEffect(const KivString& pluginName, KivAudioEffectPluginInterfaceFunction function);
    void RegisterEffectParameters();
    void PrepareForProcessing();
    void DestroyEffect() noexcept;
    // Messages 12 (store) and 11 (load) with the item.
    void ExchangeEffectSettings(KivXMLItem& item, bool storing);

    KivAudioEffectPluginHost* effectHost_ = nullptr;
    KivAudioEffectPlugin* effect_ = nullptr;
    KivString pluginName_;
    KivString vendor_;
    KivString familyName_;
    KivSharedSettings settings_;
    // Record index to parameter object.
    KivParameterBuckets buckets_;
    int32_t maxBufferSize_ = 0;
    KivProcessingContext context_;
    KivMutex stateMutex_;
    KivMIDIControllers midiControllers_{*this};
    KivChannelModeParameter channelModeParameter_{*this};
    KivPluginMIDITimeBase midiTimeBase_{*this};
};
