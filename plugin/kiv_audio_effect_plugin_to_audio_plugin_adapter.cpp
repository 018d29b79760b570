#include "plugin/kiv_audio_effect_plugin_to_audio_plugin_adapter.h"

#include <algorithm>

#include "base/kiv_boundary.h"
#include "base/kiv_exception.h"
#include "plugin/kiv_audio_effect_plugin.h"
#include "plugin/kiv_audio_effect_plugin_host.h"
#include "plugin/kiv_channel_names.h"
#include "parameters/kiv_parameter_registration.h"
#include "plugin/kiv_plugin_host.h"
#include "plugin/kiv_plugin_system.h"
#include "threads/kiv_synchronizer_guard.h"
#include "threads/kiv_thread_role.h"

namespace {

// The effect's look-ahead (or any other delay) changed: the host adapter reads the latency
// again and tells the host, which realigns its tracks.
intptr_t ForwardLatencyChange(KivAudioEffectPluginHost& host, int32_t, void*) {
    auto* adapter = static_cast<KivAudioEffectPluginToAudioPluginAdapter*>(host.GetUserData());
    if (adapter && adapter->GetPluginHost()) adapter->GetPluginHost()->LatencyChanged();
    return 0;
}

}  // namespace

KivAudioEffectPluginToAudioPluginAdapter::KivAudioEffectPluginToAudioPluginAdapter() = default;

KivAudioEffectPluginToAudioPluginAdapter::~KivAudioEffectPluginToAudioPluginAdapter() {
    StopAutomationUpdates();
    DestroyEffect();
}

void KivAudioEffectPluginToAudioPluginAdapter::DestroyEffect() noexcept {
    KivGuard("KivAudioEffectPluginToAudioPluginAdapter::~KivAudioEffectPluginToAudioPluginAdapter", [&] {
        // The parameter objects refer to the effect's records: they go first.
        ClearParameters();
        buckets_.Clear();
        effect_ = nullptr;
        delete effectHost_;
        effectHost_ = nullptr;
    });
}

// --- creation ---------------------------------------------------------------------------------

void KivAudioEffectPluginToAudioPluginAdapter::Initialize(const KivString& pluginName, const KivString& vendor,
                                                          KivAudioEffectPluginInterfaceFunction function) {
    try {
        CreateEffect(pluginName, function);
        pluginName_ = pluginName;
        vendor_ = vendor;
        preserveInputs_ = effect_->NeedsPreservedInputs();
        accumulatesInPlace_ = false;
        RegisterEffectParameters();
        // A family named before Initialize is where the defaults are; without one the plug-in
        // is its own family.
        if (familyName_.IsEmpty()) familyName_ = pluginName;
        BuildParameterIndex();
        context_.editorMode = GetEditorMode();
        LoadDefaultSettings();
        UpdateMaxBufferSize();
    } catch (const KivException&) {
        throw;
    } catch (...) {
        KivTrace::SystemException("KivAudioEffectPluginToAudioPluginAdapter::Initialize");
        throw;
    }
}

void KivAudioEffectPluginToAudioPluginAdapter::CreateEffect(const KivString& pluginName,
                                                            KivAudioEffectPluginInterfaceFunction function) {
    KivPluginSystem system;
    KivAudioEffectPluginHost* host = nullptr;
    if (system.CreateEffect(pluginName, function, host) != KivPluginSystem::kCreated || !host->GetEffect()) {
        delete host;
        throw KivException(KivString("Error creating plugin."));
    }
    effectHost_ = host;
    effect_ = host->GetEffect();
    host->SetUserData(this);
    host->SetHandler(kKivEffectHostLatencyChanged, &ForwardLatencyChange);
}

void KivAudioEffectPluginToAudioPluginAdapter::RegisterEffectParameters() {
    KivParameterRegistrationContext context;
    context.core = this;
    context.effect = this;
    context.buckets = &buckets_;
    KivRegisterParameters(GetParameterList(), effect_->GetParameterTable(), context);
    // After every parameter of the effect, so that existing host numbers keep their meaning.
    GetParameterList().AddBorrowed(channelModeParameter_);
}

KivString KivAudioEffectPluginToAudioPluginAdapter::GetInputChannelName(int32_t index) {
    return KivChannelNames::Input(index, effect_ ? effect_->GetInputBusCount() : 1, GetChannelsPerGroup());
}

KivString KivAudioEffectPluginToAudioPluginAdapter::GetOutputChannelName(int32_t index) {
    return KivChannelNames::Output(index, GetChannelsPerGroup());
}

// The effect's channel count follows the mode. An effect that processes fewer channels on
// request is made for the most any mode needs, and the audio thread tells it the count of the
// mode it takes at a block boundary: the change is one atomic store, from any thread, the audio
// thread's own included. Any other effect is initialised again for the new count: the new mode
// and the effect prepared for it arrive together, under the processing lock, as a block
// between the two would run a single-channel effect with both channels of the pair to fill.
void KivAudioEffectPluginToAudioPluginAdapter::SetChannelMode(int32_t mode) {
    if (!effect_ || TakesChannelModesInProcess()) {
        KivAudioPlugin::SetChannelMode(mode);
        return;
    }
    // The same mode again (every state load sets it) changes nothing and locks nothing.
    if (std::clamp(mode, 0, KivChannelModes::kCount - 1) == GetChannelMode()) return;
    KivThreadRole::ExpectNotAudio("KivAudioEffectPluginToAudioPluginAdapter::SetChannelMode");
    {
        KivSynchronizerGuard state(stateMutex_);
        KivSynchronizerGuard settings(GetSettingsLock());
        KivSynchronizerGuard processing(GetProcessingMutex());
        KivAudioPlugin::SetChannelMode(mode);
        InitProcessing_LockedPart();
    }
    InitProcessing_UnLockedPart();
    if (GetEditor()) InitProcessingGUI();
}

void KivAudioEffectPluginToAudioPluginAdapter::ChangeOversampling(int32_t factor) {
    KivThreadRole::ExpectNotAudio("KivAudioEffectPluginToAudioPluginAdapter::ChangeOversampling");
    if (factor != 2 && factor != 4 && factor != 8) factor = 1;
    if (factor == GetOversampling()) return;
    {
        KivSynchronizerGuard state(stateMutex_);
        KivSynchronizerGuard settings(GetSettingsLock());
        KivSynchronizerGuard processing(GetProcessingMutex());
        SetOversamplingLocked(factor);
        InitProcessing_LockedPart();
    }
    InitProcessing_UnLockedPart();
    if (GetEditor()) InitProcessingGUI();
    // The resamplers' delay changes the latency even when the effect's own does not.
    if (KivPluginHost* host = GetPluginHost()) host->LatencyChanged();
}

// --- processing ---------------------------------------------------------------------------------

void KivAudioEffectPluginToAudioPluginAdapter::InitProcessing() {
    KivThreadRole::ExpectNotAudio("KivAudioEffectPluginToAudioPluginAdapter::InitProcessing");
    {
        KivSynchronizerGuard state(stateMutex_);
        KivSynchronizerGuard settings(GetSettingsLock());
        KivSynchronizerGuard processing(GetProcessingMutex());
        InitProcessing_LockedPart();
    }
    InitProcessing_UnLockedPart();
    if (GetEditor()) InitProcessingGUI();
}

void KivAudioEffectPluginToAudioPluginAdapter::InitProcessing_LockedPart() {
    InitProcessingLocked();
    if (!effect_) return;
    const bool fewer = TakesChannelModesInProcess();
    effect_->SetMaxBlockSize(std::max(GetMaxBlockSize(), 1) * GetOversampling());
    effect_->InitProcessing(fewer ? std::max(MostEffectChannels(), 1) : GetEffectChannels(), GetProcessingSampleRate());
    // InitProcessingLocked took the mode asked for.
    OnChannelModeTaken(GetPlayingChannelMode());
    effect_->Reprepare();
    effect_->CopyValuesToTargets();
}

bool KivAudioEffectPluginToAudioPluginAdapter::TakesChannelModesInProcess() const noexcept {
    return effect_ && effect_->ProcessesFewerChannels();
}

void KivAudioEffectPluginToAudioPluginAdapter::OnChannelModeTaken(int32_t mode) noexcept {
    if (!effect_) return;
    effect_->SetMidSide(mode == kKivChannelModeMid || mode == kKivChannelModeSide || mode == kKivChannelModeMidSide);
    if (TakesChannelModesInProcess()) effect_->SetProcessedChannels(std::max(EffectChannelsOf(mode), 1));
}

void KivAudioEffectPluginToAudioPluginAdapter::InitProcessing_UnLockedPart() {}

void KivAudioEffectPluginToAudioPluginAdapter::InitProcessingGUI() {}

void KivAudioEffectPluginToAudioPluginAdapter::UpdateMaxBufferSize() {
    if (effect_) maxBufferSize_ = effect_->GetMaxBufferSize();
}

// The effect takes a prepared setup before the block's bypass lines are given its delay.
void KivAudioEffectPluginToAudioPluginAdapter::PreProcessing(int32_t) {
    TakeOverPendingBlockSizes();
    if (effect_) effect_->TakePreparedSetup();
}

void KivAudioEffectPluginToAudioPluginAdapter::PrepareForProcessing() {
    if (!effect_->UsesHostTime()) return;
    const KivTransport& transport = GetTransport();
    const bool playing = transport.playing;
    context_.tempo = playing ? transport.tempo : -1.0;
    context_.songPosition = playing ? transport.songPosition : -1.0;
    context_.barStartPosition = playing ? transport.barStartPosition : -1.0;
    context_.timeSignatureNumerator = playing ? transport.timeSignatureNumerator : -1;
    context_.timeSignatureDenominator = playing ? transport.timeSignatureDenominator : -1;
}

void KivAudioEffectPluginToAudioPluginAdapter::Process(float** inputs, float** outputs, int32_t count) {
    KivGuard("KivAudioEffectPluginToAudioPluginAdapter::Process", [&] {
        if (!effect_) return;
        KivThreadRole::ExpectAudio("KivAudioEffectPluginToAudioPluginAdapter::Process");
        PrepareForProcessing();
        if (!effect_->HandsOverPreparedSetups() && effect_->TakeReprepareRequest()) effect_->Reprepare();
        // The side-chain bus is the second input group, one group stride after the main inputs.
        const int32_t stride = GetGroupStride();
        context_.sideChain = IsInputGroupPresent(1) && 2 * stride <= kMaxHostChannels ? inputs + stride : nullptr;
        effect_->Process(context_, inputs, outputs, count);
        OnEffectProcessed();
    });
}

void KivAudioEffectPluginToAudioPluginAdapter::OnEffectProcessed() {}

void KivAudioEffectPluginToAudioPluginAdapter::ProcessUpdate() {
    if (effect_) effect_->ProcessUpdate();
}

bool KivAudioEffectPluginToAudioPluginAdapter::EffectDelaysUnprocessedChannels() const noexcept {
    return effect_ && TakesChannelModesInProcess() && effect_->DelaysUnprocessedChannels();
}

int32_t KivAudioEffectPluginToAudioPluginAdapter::GetEffectLatency() { return effect_ ? effect_->GetLatency() : 0; }
int32_t KivAudioEffectPluginToAudioPluginAdapter::GetPlayingEffectLatency() {
    return effect_ ? effect_->GetPlayingLatency() : 0;
}
int32_t KivAudioEffectPluginToAudioPluginAdapter::GetEffectLatencyLimit(int32_t sampleRate) {
    return effect_ ? effect_->GetLatencyLimit(sampleRate) : 0;
}

// The effect is never initialised with fewer than one channel.
int32_t KivAudioEffectPluginToAudioPluginAdapter::GetEffectInputChannels() {
    return std::max(KivAudioPlugin::GetEffectInputChannels(), 1);
}

int32_t KivAudioEffectPluginToAudioPluginAdapter::GetEffectChannels() {
    return std::max(KivAudioPlugin::GetEffectChannels(), 1);
}

int32_t KivAudioEffectPluginToAudioPluginAdapter::GetInputChannelsPerGroup() {
    return std::max(KivAudioPlugin::GetInputChannelsPerGroup(), 1);
}

int32_t KivAudioEffectPluginToAudioPluginAdapter::GetOutputChannelsPerGroup() {
    return std::max(KivAudioPlugin::GetOutputChannelsPerGroup(), 1);
}

// --- settings and effect operations -------------------------------------------------------------

// StoreSettings and StoreEffectSettings live with the state code (plugin/state).

void KivAudioEffectPluginToAudioPluginAdapter::ResetEffect() {
    KivSynchronizerGuard state(stateMutex_);
    if (effect_) effect_->Reset();
}

void KivAudioEffectPluginToAudioPluginAdapter::RandomizeEffect(double amount) {
    KivSynchronizerGuard state(stateMutex_);
    if (effect_) effect_->Randomize(amount);
}

void KivAudioEffectPluginToAudioPluginAdapter::OnParameterChanged(int32_t recordIndex) {
    if (effect_) effect_->ParameterChanged(recordIndex);
}

// A change made on the audio thread is prepared by the automation update thread and plays from
// the first block after the setup is ready (measured with tandrel-bench --contention); the
// previous setup plays meanwhile. Offline nothing waits in real time, so the audio thread
// prepares inline and a render comes out the same on every run. Any other thread prepares
// inline, so its change plays from the next block.
void KivAudioEffectPluginToAudioPluginAdapter::MarkForReprepare() {
    if (!effect_) return;
    if (!effect_->HandsOverPreparedSetups()) {
        effect_->MarkForReprepare();
    } else if (!KivThreadRole::IsAudioThread()) {
        effect_->Reprepare();
    } else if (IsOfflineProcessing()) {
        KivThreadRole::OfflineWork offline;
        effect_->Reprepare();
    } else {
        effect_->MarkForReprepare();
        RequestAutomationUpdate(true);
    }
}

void KivAudioEffectPluginToAudioPluginAdapter::CarryOutAutomationUpdates(int32_t requests) {
    if (effect_ && effect_->HandsOverPreparedSetups() && effect_->TakeReprepareRequest()) effect_->Reprepare();
    channelModeParameter_.ApplyRequested();
    KivAudioPlugin::CarryOutAutomationUpdates(requests);
}

KivSynchronizer& KivAudioEffectPluginToAudioPluginAdapter::GetSettingsLock() noexcept {
    if (effect_ && effect_->HandsOverPreparedSetups()) return effect_->GetEffectMutex();
    return GetProcessingMutex();
}
