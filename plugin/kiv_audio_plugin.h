#pragma once
#include <atomic>
#include <cstdint>
#include <memory>

#include "base/kiv_string.h"
#include "parameters/kiv_automation_adapter.h"
#include "parameters/kiv_parameter_core_link.h"
#include "parameters/kiv_parameter_list.h"
#include "plugin/kiv_automation_update_request_thread.h"
#include "plugin/kiv_channel_mode.h"
#include "plugin/kiv_channel_resamplers.h"
#include "plugin/kiv_cross_fade.h"
#include "plugin/kiv_delay_line.h"
#include "plugin/kiv_midi_processor.h"
#include "plugin/kiv_parameter_interpolation.h"
#include "plugin/kiv_sample_buffer.h"
#include "plugin/kiv_transport.h"
#include "threads/kiv_processing_lock.h"

class KivPluginHost;
class KivXMLItem;

// The host-independent plug-in. Host adapters translate their calls into calls on it; a
// subclass supplies the signal processing through Process. It owns the parameter objects,
// the channel configuration with its channel modes, and the one processing entry
// ProcessAudio: buffer repair, bypass aligned to the latency, parameter smoothing by
// sub-blocks and optional oversampling.
class KivAudioPlugin : public KivMIDIProcessor, public KivParameterCoreLink {
public:
    using AutomationAdapter = KivAutomationAdapter;
    using AutomationUpdateRequestThread = KivAutomationUpdateRequestThread;
    class KivEditor;

    // Host channels beyond this many are neither processed nor repaired.
    static constexpr int32_t kMaxHostChannels = KivChannelResamplers::kMaxChannels;
    static constexpr int32_t kNoLimit = 2147483647;
    static constexpr int32_t kDefaultInterpolationThreshold = 256;

    KivAudioPlugin();
    ~KivAudioPlugin() override;
    KivAudioPlugin(const KivAudioPlugin&) = delete;
    KivAudioPlugin& operator=(const KivAudioPlugin&) = delete;

    // The adapter sets the host when it is made and clears it while it closes, as the plug-in's
    // update thread may be reading it to deliver notifications: read it once per use.
    void SetPluginHost(KivPluginHost* host) noexcept { pluginHost_.store(host, std::memory_order_release); }
    KivPluginHost* GetPluginHost() const noexcept { return pluginHost_.load(std::memory_order_acquire); }
    // The interface the host drives the plug-in through ("VST", "VST3"), set by its adapter.
    void SetHostType(const KivString& type) { hostType_ = type; }
    const KivString& GetHostType() const noexcept { return hostType_; }

    // --- parameters by host index ---------------------------------------------------------
    virtual int32_t GetParameterCount();
    // Called after the smoothing wrote new values into interpolated parameters.
    virtual void OnInterpolatedParametersWritten();
    virtual void SetParameter(int32_t index, double value, bool silent);
    virtual void SetParameterIfChanged(int32_t index, double value, bool silent);
    virtual double GetParameter(int32_t index);
    virtual KivString GetParameterName(int32_t index);
    // The object's prefix and section, then the name: "Band 1 - Gate Threshold".
    virtual KivString GetParameterLongName(int32_t index);
    virtual KivString GetParameterShortName(int32_t index);
    virtual KivString GetParameterID(int32_t index);
    virtual KivString GetParameterValueName(int32_t index);
    virtual KivString GetParameterValueNameFrom01(int32_t index, double value);
    virtual double ParseParameterValueName(int32_t index, const KivString& text);
    virtual KivString GetParameterUnitsName(int32_t index);
    virtual bool HasParameterListChanged();
    virtual void OnParameterListChanged();
    virtual int32_t GetParameterType(int32_t index);
    virtual double GetParameterDefaultValue(int32_t index);
    KivString GetParameterSection(int32_t index);
    KivString GetParameterNameWithoutSection(int32_t index);
    // The names hosts list: unique across the plug-in and at most 24 characters ("P1
    // Threshold"); GetParameterName stays the full one ("Threshold (Processor 1)").
    KivString GetParameterHostName(int32_t index);
    // The section hosts file the parameter under ("Processor 1", "Custom shape").
    KivString GetParameterCategory(int32_t index);
    // 1 for switches, items - 1 for choices, 0 for continuous parameters.
    int32_t GetParameterStepCount(int32_t index);
    // The unit the displays carry, for hosts that list units apart (VST 3); never the
    // VST 2.4 label, which hosts append to the display.
    KivString GetParameterUnit(int32_t index);
    // Typed text as a host value. It counts as understood when it starts with a number or
    // when the value it gives shows that very text again ("On", "silence", "Infinity");
    // otherwise the answer is false and `value` is left alone.
    bool TryParseParameterValueName(int32_t index, const KivString& text, double& value);
    int32_t GetVisibleParameterCount() const noexcept { return static_cast<int32_t>(parameters_.GetVisibleParameterCount()); }
    // The parameter objects, for editors that find them by their records' identifiers.
    const KivParameterList& GetParameters() const noexcept { return parameters_; }
    // Called by parameter objects on every change that is not silent.
    void NeedUpdateEditor(AutomationAdapter& parameter) override;
    // Reports every parameter `parameter` covers to the host as automation.
    void SendAllAutomation(AutomationAdapter& parameter) override;

    // --- settings -------------------------------------------------------------------------
    // Both walk `item` in one direction: `storing` writes into it, otherwise it is read.
    virtual void StoreParameters(KivXMLItem& item, bool storing);
    virtual void StoreSettings(KivXMLItem& item, bool storing);

    // --- channel configuration ------------------------------------------------------------
    virtual int32_t GetEffectInputChannels();
    virtual int32_t GetEffectChannels();
    virtual int32_t GetInputChannelsPerGroup();
    virtual int32_t GetOutputChannelsPerGroup();
    virtual int32_t GetInputGroups();
    virtual int32_t GetOutputGroups();

    // --- state queries --------------------------------------------------------------------
    // Total delay from input to output in host samples, oversampling included.
    virtual int32_t GetLatency();
    virtual int32_t GetTailSamples();
    virtual int32_t GetPreferredBlockSize();
    virtual void OnSuspend();
    virtual void OnResume();
    // The effect's own delay in samples at the processing rate.
    virtual int32_t GetEffectLatency();
    // Audio thread: the delay the effect plays in this block, at the processing rate. It
    // differs from GetEffectLatency, which the host is told, while new settings wait to be
    // taken over.
    virtual int32_t GetPlayingEffectLatency() { return GetEffectLatency(); }
    // The longest delay the effect may report at processing rate `sampleRate`: the delay
    // lines that keep other paths aligned with it are made this long off the audio thread,
    // so a later change of the latency never allocates.
    virtual int32_t GetEffectLatencyLimit(int32_t sampleRate);
    // True when the effect delays the channels a single-channel mode leaves unprocessed itself,
    // writing them to their outputs: it fades them between delays exactly as it fades the
    // processed ones, which a separate line cannot (see KivAudioEffectPlugin).
    virtual bool EffectDelaysUnprocessedChannels() const noexcept { return false; }
    // Samples beyond +-level are clipped after oversampling; negative means no clipping.
    virtual double GetOutputClipLevel();
    // A single-channel mode passed `channel` through unprocessed into `output`.
    virtual void ProcessUnprocessedChannel(int32_t channel, float* output, int32_t count);
    virtual void Process(float** inputs, float** outputs, int32_t count) = 0;
    virtual void ProcessUpdate();
    virtual void PreProcessing(int32_t count);
    virtual void PostProcessing(int32_t count);
    // Called on the audio thread at the start of every block, before the processing lock is
    // taken: work that must be complete when the block starts (offline only) is awaited here.
    virtual void BeforeBlock() {}

    // --- editor ---------------------------------------------------------------------------
    // Builds the editor through the factory the GUI library registered (none: no editor)
    // and, when a parent window is given, opens it there.
    virtual KivEditor* CreateEditor(void* parentWindow);
    virtual void* GetEditorContents();
    virtual int32_t GetEditorMode();
    // Closes and deletes the editor.
    virtual void DestroyEditor();
    // Loads the stored default settings; false when there are none.
    virtual bool LoadDefaultSettings();
    virtual void SetDefaultSettingsToCurrent();
    virtual void OnEditorOpened();
    virtual void OnEditorClosed();
    virtual bool CanOpenEditor();
    KivEditor* GetEditor() const noexcept { return editor_; }
    // Hands the pending editor updates on (the automation update thread calls it).
    virtual void CarryOutAutomationUpdates(int32_t requests);
    int32_t GetPendingAutomationUpdates() const noexcept { return automationUpdates_.GetPendingCount(); }
    // Asks the update thread for a pass that ends with the host adapter's delivery of its
    // pending notifications: at its next tick, or at once when `urgent` wakes it (which
    // takes the thread's wake lock for a moment: never from the audio thread).
    void RequestHostDelivery(bool urgent) { automationUpdates_.Request(urgent); }
    // The update thread's pass is over: the host adapter may deliver from here.
    void DeliverHostNotifications();
    // Parameter objects an editor registers for its own lifetime, numbered after the plug-in's
    // own; DestroyTemporaryAutomationAdapters removes every one of them.
    void AddTemporaryAutomationAdapter(std::unique_ptr<AutomationAdapter> object);
    void DestroyTemporaryAutomationAdapters();
    using EditorFactory = KivEditor* (*)(KivAudioPlugin& plugin);
    static void SetEditorFactory(EditorFactory factory) noexcept;
    // A change made by the user in the editor: the host hears of a gesture as one begin,
    // the automated values and one end.
    void BeginEdit(int32_t index);
    void SetParameterAutomated(int32_t index, double value);
    void EndEdit(int32_t index);

    // --- processing -----------------------------------------------------------------------
    // The adapters' one processing entry. `replacing` false adds into the outputs.
    void ProcessAudio(float** inputs, float** outputs, int32_t count, bool replacing) noexcept;
    // (Re)allocates processing state for the current rate, block size and channels.
    virtual void InitProcessing();
    // While suspended, processing writes silence.
    void Suspend();
    void Resume();
    bool IsSuspended() const noexcept { return suspensions_.load() > 0; }

    void SetHostChannels(int32_t inputs, int32_t outputs);
    void SetConnectedChannels(int32_t inputs, int32_t outputs);
    void SetChannelsPerGroup(int32_t channels);
    void SetGroupStride(int32_t stride);
    // -1 lets the channels per group count.
    void SetForcedChannelCount(int32_t channels);
    int32_t GetHostInputChannels() const noexcept { return hostInputs_; }
    int32_t GetHostOutputChannels() const noexcept { return hostOutputs_; }
    int32_t GetChannelsPerGroup() const noexcept { return channelsPerGroup_; }
    int32_t GetGroupStride() const noexcept { return groupStride_; }
    // Input groups after the first (side-chain buses) the host switched on or off; adapters
    // call it off the audio thread. Every group starts switched on.
    void SetInputGroupActive(int32_t group, bool active) noexcept;
    // Inside processing: input group `group` is switched on and the host handed over its
    // channels in this block. A side-chain that is not present reads as silence.
    bool IsInputGroupPresent(int32_t group) const noexcept {
        return group >= 0 && group < kMaxHostChannels && (presentInputGroups_ & (1u << group)) != 0;
    }
    // The mode asked for. Once audio has played, the output fades into the input delayed by
    // the latency (as bypass does), the mode is taken at the next block boundary and, after
    // the latency's worth of the new mode has played, the output fades back (see
    // TakeOverChannelMode); before, it is taken at the start of the next block.
    virtual void SetChannelMode(int32_t mode);
    int32_t GetChannelMode() const noexcept { return pendingChannelMode_.load(); }
    // The mode the blocks play (the audio thread's; others read it for tests and displays).
    int32_t GetPlayingChannelMode() const noexcept { return playingChannelMode_.load(std::memory_order_relaxed); }

    void SetSampleRate(int32_t hertz);
    int32_t GetSampleRate() const noexcept { return sampleRate_; }
    int32_t GetProcessingSampleRate() const noexcept { return sampleRate_ * resamplers_.GetFactor(); }
    void SetMaxBlockSize(int32_t samples);
    int32_t GetMaxBlockSize() const noexcept { return maxBlockSize_; }

    // 1 (off), 2, 4 or 8; anything else raises KivException (invalid argument).
    void SetOversampling(int32_t factor);
    void SetOversamplingQuality(bool high);
    void SetOversamplingSlope(KivResamplerSlope slope);
    int32_t GetOversampling() const noexcept { return resamplers_.GetFactor(); }

    // Bypass. Switched on, the output cross-fades over kBypassFadeSeconds into the input
    // delayed by the reported latency; switched off, back into the processed signal. The
    // effect keeps processing while bypassed and the delay lines are fed all the time, so
    // neither side of a fade ever plays audio from before it. Hosts switch it through
    // SetBypass (VST 3's "Bypass" parameter, VST 2.4's soft bypass); it takes effect at the
    // start of the next block.
    void SetBypass(bool on) noexcept { bypass_.store(on); }
    // The host's own bypass switch (VST 2.4's soft bypass): from the first call on, the host
    // keeps the bypass with its project and shows it, so a loaded state leaves it as it is.
    void SetHostBypass(bool on) noexcept {
        hostOwnsBypass_.store(true);
        bypass_.store(on);
    }
    bool IsBypassOwnedByHost() const noexcept { return hostOwnsBypass_.load(); }
    // The same bypass switched inside the plug-in (the editor's bypass button, a preset):
    // the host's bypass parameter follows as one gesture (begin, value, end).
    void ChangeBypass(bool on);
    bool IsBypassed() const noexcept { return bypass_.load(); }
    static constexpr double kBypassFadeSeconds = 0.01;
    // Taken over at the start of each block (see PreProcessing).
    void SetPendingMaxSubBlockSize(int32_t samples) noexcept { pendingMaxSubBlock_.store(samples); }
    void SetPendingInterpolationThreshold(int32_t samples) noexcept { pendingThreshold_.store(samples); }
    int32_t GetPendingInterpolationThreshold() const noexcept { return pendingThreshold_.load(); }
    int32_t GetInterpolationThreshold() const noexcept { return interpolationThreshold_; }

    // The host renders offline: nothing waits for a block in real time, so work the audio
    // thread otherwise hands to other threads may run inline, which keeps renders repeatable.
    void SetOfflineProcessing(bool offline) noexcept { offline_.store(offline); }
    bool IsOfflineProcessing() const noexcept { return offline_.load(); }

    KivTransport& GetTransport() noexcept { return transport_; }
    // Held by the audio thread for each block and by threads that change the processing
    // configuration (rate, block size, channels, oversampling, the parameter index).
    KivProcessingLock& GetProcessingMutex() noexcept { return processingMutex_; }
    // Ends the automation update thread. Owners call it before destroying the plug-in: a
    // destructor chain changes the object's dynamic type class by class, and the thread's
    // virtual calls would meet each stage. Subclasses whose updates it reaches also call it
    // first thing in their destructor, for owners that do not.
    void StopAutomationUpdates() { automationUpdates_.Stop(); }

protected:
    // The subclass registers its parameter objects here, then runs BuildParameterIndex.
    KivParameterList& GetParameterList() noexcept { return parameters_; }
    void ClearParameters() noexcept;
    // Asks the automation update thread for a pass of CarryOutAutomationUpdates; safe on the
    // audio thread (it only counts and, when urgent, wakes the thread).
    void RequestAutomationUpdate(bool urgent) { automationUpdates_.Request(urgent); }
    // Numbers the parameter objects and lists the interpolated ones.
    void BuildParameterIndex();
    void RequestInterpolationReset() noexcept { interpolation_.RequestReset(); }
    void InitProcessingLocked();
    // SetOversampling for a caller that holds the processing lock already.
    void SetOversamplingLocked(int32_t factor) { resamplers_.SetFactor(factor); }
    // Takes over the pending sub-block size and interpolation threshold.
    void TakeOverPendingBlockSizes() noexcept;
    // A user gesture on parameter `index` begins or ends (BeginEdit, EndEdit); for an undo
    // history.
    virtual void OnGestureBegun(int32_t /*index*/) {}
    virtual void OnGestureEnded(int32_t /*index*/) {}
    // Audio thread, at a block boundary: the blocks from here on play channel mode `mode`.
    // Must neither allocate nor wait. (InitProcessing takes the mode asked for without it.)
    virtual void OnChannelModeTaken(int32_t /*mode*/) noexcept {}
    // The effect channels mode `mode` asks for, and the most any mode asks for in the
    // present channel configuration.
    int32_t EffectChannelsOf(int32_t mode) const noexcept;
    int32_t MostEffectChannels() const noexcept;

    // What the processing subclass needs from the host buffers.
    bool preserveInputs_ = false;   // the effect reads its inputs after writing its outputs
    bool clearOutputs_ = false;     // the effect adds into its outputs
    bool accumulatesInPlace_ = false;  // the effect itself adds into outputs on accumulating calls

private:
    struct GroupLayout {
        int32_t inputChannels;
        int32_t outputChannels;
        int32_t inputGroups;
        int32_t outputGroups;
    };

    void ProcessAudioLocked(float** inputs, float** outputs, int32_t count, bool replacing);
    void WriteSilence(float** outputs, int32_t count, bool replacing) const;
    // Copies the entries of the host's arrays that carry host channels into the block's own;
    // false when not one output has a buffer.
    bool TakeHostPointers(float** inputs, float** outputs) noexcept;
    // Gives every host channel without a buffer one that no other channel shares.
    void RepairBuffers(float** inputs, float** outputs, int32_t count) noexcept;
    // Gives the second of two outputs handed one buffer a buffer of its own, and reads every
    // input an output of this call will write over from a copy.
    void SeparateSharedBuffers(float** inputs, float** outputs, int32_t count, bool replacing) noexcept;
    void AddDenormalGuard(float** inputs, const GroupLayout& layout, int32_t count) const;
    // The input delayed by the latency into the dry buffers when the block hears it (bypassed
    // or fading), else only stored; before processing, which may write over the inputs.
    bool TakeDrySignal(float** inputs, const GroupLayout& layout, int32_t count, bool replacing, float** outputs);
    void MixBypass(float** outputs, const GroupLayout& layout, int32_t count, bool replacing);
    void ReserveBypass(int32_t block);
    void ProcessAtHostRate(float** inputs, float** outputs, const GroupLayout& layout, int32_t count,
                           bool replacing);
    void ProcessOversampled(float** inputs, float** outputs, const GroupLayout& layout, int32_t count,
                            bool replacing);
    void ProcessOversampledPiece(float** inputs, float** outputs, int32_t count, bool replacing);
    void ClipOutputs(float** outputs, int32_t count);
    void PointAtHostBuffers(float** inputs, float** outputs, int32_t count);
    void ProcessWithChannelModes(float** inputs, float** outputs, int32_t count);
    void TakeOverChannelMode() noexcept;
    // The output stays on the delayed input: bypassed, a new mode waiting, or its first
    // samples still in the delay lines.
    bool HoldsDry() const noexcept;
    bool ChannelModeApplies(float** inputs, float** outputs) const;
    void PrepareChannelMode(float** inputs, float** outputs, int32_t count);
    void CompleteChannelMode(float** inputs, float** outputs, int32_t count);
    void ProcessInSubBlocks(float** inputs, float** outputs, int32_t count);
    int32_t ChannelIndex(int32_t group, int32_t channel) const noexcept { return group * groupStride_ + channel; }
    // Entry `index` of the laid-out pointer arrays carries one of `hostChannels` host channels.
    bool IsHostChannel(int32_t index, int32_t hostChannels) const noexcept;
    // An effect delay at the processing rate in host samples, oversampling included.
    int32_t HostLatency(int32_t effectLatency) noexcept;
    void NotePresentInputGroups(float** inputs, int32_t groups) noexcept;
    // Every block buffer the block may point at is grown before any pointer into it is taken.
    void ReserveBlockBuffers(int32_t count);
    void ConvertModeInputs(float** inputs, int32_t left, int32_t count);
    // Input groups beyond the channel-mode pairs (side-chains) whose pair the modes convert too.
    int32_t SideChainModePairs() const noexcept;
    int32_t ChannelModePairs() const noexcept;
    // The channels the effect handles together: the forced count, else the channels per group.
    int32_t EffectiveGroupChannels() const noexcept;
    const KivChannelModeInfo& PendingModeInfo() const noexcept;
    bool InputsConnected() const noexcept;
    float* GrowInternal(int32_t channel, int32_t count);

    std::atomic<KivPluginHost*> pluginHost_{nullptr};
    KivString hostType_;
    KivParameterList parameters_;
    KivParameterInterpolation interpolation_;
    KivEditor* editor_ = nullptr;

    int32_t hostInputs_ = -1;
    int32_t hostOutputs_ = -1;
    int32_t connectedInputs_ = -1;
    int32_t connectedOutputs_ = -1;
    int32_t channelsPerGroup_ = 2;
    int32_t groupStride_ = 8;
    int32_t forcedChannels_ = -1;
    std::atomic<uint32_t> inactiveInputGroups_{0};
    uint32_t presentInputGroups_ = 0;
    int32_t channelMode_ = 0;
    std::atomic<int32_t> pendingChannelMode_{0};
    std::atomic<int32_t> playingChannelMode_{0};
    // Host samples the new mode still plays unheard after a switch: until then the delay
    // lines hold audio of the mode before (see TakeOverChannelMode).
    int32_t modeHold_ = 0;

    int32_t sampleRate_ = 44100;
    int32_t maxBlockSize_ = 1024;
    int32_t latency_ = 0;
    int32_t previousLatency_ = 0;
    std::atomic<bool> bypass_{false};
    std::atomic<bool> hostOwnsBypass_{false};
    std::atomic<bool> offline_{false};
    std::atomic<int32_t> suspensions_{0};
    bool hasSSE2_ = true;

    int32_t maxSubBlock_ = kNoLimit;
    int32_t interpolationThreshold_ = kDefaultInterpolationThreshold;
    std::atomic<int32_t> pendingMaxSubBlock_{kNoLimit};
    std::atomic<int32_t> pendingThreshold_{kDefaultInterpolationThreshold};

    KivTransport transport_;
    KivChannelResamplers resamplers_;
    KivDelayLine bypassDelays_[kMaxHostChannels];
    // The input delayed by the latency, and what an accumulating call found in its outputs.
    KivSampleBuffer dryBuffers_[kMaxHostChannels];
    KivSampleBuffer accumulated_[kMaxHostChannels];
    // Bypass fade position: 0 processed ... bypassFadeLength_ bypassed.
    int32_t bypassPosition_ = 0;
    bool bypassTarget_ = false;  // the switch as this block read it
    bool playedSinceInit_ = false;
    int32_t bypassFadeLength_ = 441;
    // The fade's weights, made with its length off the audio thread: a bypass switch costs the
    // audio thread a look-up per sample rather than a sine. With a sine per sample and channel
    // a 512-sample block that held a switch took twice as long as one that did not.
    std::shared_ptr<const KivFadeTable> bypassFade_;
    // One per pair: the channel a single-channel mode leaves unprocessed.
    KivDelayLine channelModeDelays_[kMaxHostChannels / 2];
    KivSampleBuffer internalBuffers_[kMaxHostChannels];
    // Mid and side, or the negated channel: the host's inputs are never written.
    KivSampleBuffer conversionBuffers_[kMaxHostChannels];
    KivSampleBuffer scratch_;
    KivSampleBuffer silence_;
    // One per host output, for a channel the host left without a buffer, or handed a buffer
    // another output has already: written, never heard.
    KivSampleBuffer discards_[kMaxHostChannels];
    // One per host input, for an input whose buffer an output of the same call writes over.
    KivSampleBuffer inputCopies_[kMaxHostChannels];
    // The host's pointer arrays as this block uses them, repaired; the host's stay as they were.
    float* blockInputs_[kMaxHostChannels] = {};
    float* blockOutputs_[kMaxHostChannels] = {};
    // Working copies of the block's pointer arrays.
    float* inputs_[kMaxHostChannels] = {};
    float* outputs_[kMaxHostChannels] = {};
    float* modeInputs_[kMaxHostChannels] = {};
    float* modeOutputs_[kMaxHostChannels] = {};
    float* subInputs_[kMaxHostChannels] = {};
    float* subOutputs_[kMaxHostChannels] = {};
    float* pieceInputs_[kMaxHostChannels] = {};
    float* pieceOutputs_[kMaxHostChannels] = {};
    float* fastInputs_[kMaxHostChannels] = {};
    float* fastOutputs_[kMaxHostChannels] = {};

    KivProcessingLock processingMutex_{"KivAudioPlugin processing lock"};
    KivAutomationUpdateRequestThread automationUpdates_{*this};
};
