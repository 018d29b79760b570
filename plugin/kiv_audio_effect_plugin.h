#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "parameters/kiv_effect_parameter.h"
#include "parameters/kiv_parameter_registration.h"
#include "plugin/kiv_plugin.h"
#include "plugin/kiv_processing_context.h"
#include "threads/kiv_mutex.h"

class KivXMLItem;

// The interface an effect algorithm is written against: it declares its parameters as
// records, is told its channel count and sample rate, and processes blocks. The operations
// are reached directly or, across libraries, as numbered messages through HandleMessage.
class KivAudioEffectPlugin : public KivPlugin {
public:
    // Bit of the change byte: a parameter whose record asks for it changed, so the processing
    // state must be rebuilt before the next block.
    static constexpr uint8_t kNeedsReprepare = 1 << 2;

    ~KivAudioEffectPlugin() override;

    // Effects live in the module's memory like every other framework allocation.
    static void* operator new(size_t size);
    static void operator delete(void* block) noexcept;

    // Answers message `message` with `argument` (a KivEffectMessageRecord or null).
    virtual intptr_t HandleMessage(int32_t message, void* argument);
    // Stores the host and its callback; answers the effect itself.
    virtual KivAudioEffectPlugin* Connect(void* hostObject, KivEffectHostCallback callback);
    virtual void Initialize();
    // Every float parameter's value becomes its interpolation target.
    virtual void CopyValuesToTargets();
    virtual void ParameterChanged(int32_t recordIndex);
    // Rebuilds the processing state from the current parameters.
    virtual void Reprepare();
    // After settings were loaded: rebuilds the processing state and starts the channels from
    // silence. Only effects that hand over prepared setups are asked; the others are
    // initialised again under the processing lock.
    virtual void ReprepareAfterLoading();
    // True when the effect never reads its settings on the audio thread: Reprepare builds a
    // complete setup on the calling thread and the audio thread takes it over at a block
    // boundary. Then neither parameter changes nor settings traversals need the processing lock.
    virtual bool HandsOverPreparedSetups() const noexcept;
    // True when the effect, initialised for some channels, can process fewer of them from one
    // block to the next (SetProcessedChannels): a new channel mode then needs no new
    // InitProcessing, and waits for nothing.
    virtual bool ProcessesFewerChannels() const noexcept { return false; }
    // Audio thread, at a block boundary, or any thread while no block runs: the following
    // blocks process the first `channels` of the channels InitProcessing was given. Never
    // allocates, never waits.
    virtual void SetProcessedChannels(int32_t /*channels*/) noexcept {}
    // True when Process also writes the channels beyond those SetProcessedChannels asked for,
    // delayed by its latency and nothing else, through the same delay lines as the processed
    // ones. A mode that processes one channel of a pair (mid or side, left or right) needs its
    // two channels to move between delays together: the pair is converted back after the
    // effect (L = M + S), and two taps faded at different times, or one faded while the other
    // waits for a fade of its own, add to as much as twice the input where each alone stays
    // within sqrt(2) of it. The effect knows when its setups install and its fades run; the
    // framework does not, so an effect that says true is left to do it.
    virtual bool DelaysUnprocessedChannels() const noexcept { return false; }
    // The longest block Process will see (at the processing rate), told before InitProcessing.
    virtual void SetMaxBlockSize(int32_t samples);
    virtual void CreateEditorContents(void* editor);
    // Clears the processing state (delay lines, detectors).
    virtual void Reset();
    // The values of every declared record ("parameter" + identifier); an effect with keys of
    // its own adds them after calling these.
    virtual bool LoadSettings(KivXMLItem& item);
    virtual bool StoreSettings(KivXMLItem& item);
    virtual void ReservedHook1();
    virtual void ReservedHook2();
    virtual void OnHook13(void* argument);
    virtual int32_t Query14(void* argument);
    // Randomises every randomisable record by `amount` (1 = fully).
    virtual void Randomize(double amount);
    virtual void RefreshEditorViews();
    virtual void OnHook20(void* first, void* second);
    virtual void InitProcessing(int32_t channels, int32_t sampleRate);
    virtual void UpdateEditorChannelControls();
    virtual void Process(const KivProcessingContext& context, float** inputs, float** outputs, int32_t count) = 0;
    virtual void ProcessUpdate();
    virtual int32_t Query102();
    // The effect's delay in samples at its processing rate.
    virtual int32_t GetLatency();
    // The longest delay GetLatency may answer at processing rate `sampleRate`.
    virtual int32_t GetLatencyLimit(int32_t sampleRate);
    // Audio thread, at the start of each host block before any of it is processed: an effect
    // that hands over prepared setups takes a waiting one here, so that the block's bypass
    // lines are given the delay the effect plays in it (GetPlayingLatency).
    virtual void TakePreparedSetup() noexcept {}
    // Audio thread: the delay the effect plays now. It differs from GetLatency, the delay of
    // the settings prepared last, while a prepared setup waits to be taken over.
    virtual int32_t GetPlayingLatency() { return GetLatency(); }
    virtual int32_t Query105();
    virtual void OnHook104();

    const KivEffectParameterTable& GetParameterTable() const noexcept { return parameterTable_; }
    // Input buses: the main one and any side-chains.
    int32_t GetInputBusCount() const noexcept { return inputBusCount_; }
    bool UsesHostTime() const noexcept { return usesHostTime_; }
    // The effect reads its inputs after writing outputs, so they must be kept apart.
    bool NeedsPreservedInputs() const noexcept { return needsPreservedInputs_; }
    int32_t GetMaxBufferSize() const noexcept { return maxBufferSize_; }
    void SetMidSide(bool on) noexcept { midSide_.store(on, std::memory_order_relaxed); }
    bool IsMidSide() const noexcept { return midSide_.load(std::memory_order_relaxed); }

    void MarkForReprepare() noexcept { changeByte_.fetch_or(kNeedsReprepare); }
    // True once after any number of marks.
    bool TakeReprepareRequest() noexcept { return (changeByte_.fetch_and(~kNeedsReprepare) & kNeedsReprepare) != 0; }

    KivMutex& GetEffectMutex() noexcept { return effectMutex_; }

protected:
    void DeclareParameters(const KivEffectParameterTable& table) noexcept { parameterTable_ = table; }
    void SetInputBusCount(int32_t buses) noexcept { inputBusCount_ = buses; }
    void SetUsesHostTime(bool uses) noexcept { usesHostTime_ = uses; }
    void SetNeedsPreservedInputs(bool needs) noexcept { needsPreservedInputs_ = needs; }
    void SetMaxBufferSize(int32_t samples) noexcept { maxBufferSize_ = samples; }

private:
    intptr_t HandleProcessingMessage(int32_t message, KivEffectMessageRecord& record);
    intptr_t HandleSettingsMessage(int32_t message, KivEffectMessageRecord& record);

    KivEffectParameterTable parameterTable_;
    int32_t inputBusCount_ = 1;
    int32_t maxBufferSize_ = 0;
    bool usesHostTime_ = false;
    bool needsPreservedInputs_ = false;
    std::atomic<bool> midSide_{false};
    std::atomic<uint8_t> changeByte_{0};
    KivMutex effectMutex_;
};
