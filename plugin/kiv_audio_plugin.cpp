#include "plugin/kiv_audio_plugin.h"

#include <algorithm>
#include <cmath>

#include "platform/kiv_processor_features.h"
#include "plugin/kiv_audio_plugin_editor.h"
#include "plugin/kiv_plugin_host.h"
#include "threads/kiv_synchronizer_guard.h"

KivAudioPlugin::KivAudioPlugin() : hasSSE2_(KivPlatform::DetectProcessorFeatures().sse2) {
    automationUpdates_.StartRunning();
}

KivAudioPlugin::~KivAudioPlugin() {
    // The thread calls back into this object: it must end before any member is gone.
    automationUpdates_.Stop();
}

// --- channel configuration ------------------------------------------------------------------

int32_t KivAudioPlugin::EffectiveGroupChannels() const noexcept {
    return forcedChannels_ >= 0 ? forcedChannels_ : channelsPerGroup_;
}

const KivChannelModeInfo& KivAudioPlugin::PendingModeInfo() const noexcept {
    return KivChannelModes::Info(pendingChannelMode_.load());
}

bool KivAudioPlugin::InputsConnected() const noexcept { return hostInputs_ != 0 && connectedInputs_ != 0; }

int32_t KivAudioPlugin::GetEffectInputChannels() {
    if (!InputsConnected()) return 0;
    return std::min(EffectiveGroupChannels(), PendingModeInfo().maximumInputs);
}

int32_t KivAudioPlugin::GetEffectChannels() { return EffectChannelsOf(pendingChannelMode_.load()); }

int32_t KivAudioPlugin::EffectChannelsOf(int32_t modeIndex) const noexcept {
    const KivChannelModeInfo& mode = KivChannelModes::Info(modeIndex);
    const int32_t channels = EffectiveGroupChannels();
    if (!mode.midSide) return std::min(channels, mode.maximumInputs);
    // Mid and side come from a pair: without a pair there is nothing to convert.
    if (InputsConnected() && std::min(channels, mode.maximumOutputs) == 2) return mode.maximumInputs;
    return channels;
}

int32_t KivAudioPlugin::MostEffectChannels() const noexcept {
    int32_t most = 0;
    for (int32_t mode = 0; mode < KivChannelModes::kCount; ++mode) most = std::max(most, EffectChannelsOf(mode));
    return most;
}

int32_t KivAudioPlugin::GetInputChannelsPerGroup() {
    if (!InputsConnected()) return 0;
    return std::min(EffectiveGroupChannels(), PendingModeInfo().maximumOutputs);
}

int32_t KivAudioPlugin::GetOutputChannelsPerGroup() {
    return std::min(EffectiveGroupChannels(), PendingModeInfo().maximumOutputs);
}

int32_t KivAudioPlugin::GetInputGroups() { return std::max(hostInputs_, 0) / std::max(channelsPerGroup_, 1); }

int32_t KivAudioPlugin::GetOutputGroups() { return std::max(hostOutputs_, 0) / std::max(channelsPerGroup_, 1); }

void KivAudioPlugin::SetHostChannels(int32_t inputs, int32_t outputs) {
    KivSynchronizerGuard lock(processingMutex_);
    hostInputs_ = inputs;
    hostOutputs_ = outputs;
}

void KivAudioPlugin::SetConnectedChannels(int32_t inputs, int32_t outputs) {
    KivSynchronizerGuard lock(processingMutex_);
    connectedInputs_ = inputs;
    connectedOutputs_ = outputs;
}

void KivAudioPlugin::SetChannelsPerGroup(int32_t channels) {
    KivSynchronizerGuard lock(processingMutex_);
    channelsPerGroup_ = std::clamp(channels, 1, kMaxHostChannels);
}

void KivAudioPlugin::SetGroupStride(int32_t stride) {
    KivSynchronizerGuard lock(processingMutex_);
    groupStride_ = std::max(stride, 1);
}

void KivAudioPlugin::SetInputGroupActive(int32_t group, bool active) noexcept {
    if (group < 0 || group >= kMaxHostChannels) return;
    const uint32_t bit = 1u << group;
    if (active) inactiveInputGroups_.fetch_and(~bit);
    else inactiveInputGroups_.fetch_or(bit);
}

// Hosts hand over group after group, `groupStride_` entries to a group of which the first
// `channelsPerGroup_` are used (the adapters lay them out so). A stride no wider than a group
// leaves the channels one after another.
bool KivAudioPlugin::IsHostChannel(int32_t index, int32_t hostChannels) const noexcept {
    if (index < 0 || index >= kMaxHostChannels || index >= hostChannels * groupStride_) return false;
    const int32_t perGroup = std::max(channelsPerGroup_, 1);
    if (groupStride_ <= perGroup) return index < hostChannels;
    const int32_t group = index / groupStride_;
    const int32_t channel = index % groupStride_;
    // A host with fewer channels than a group still has that one group.
    const int32_t groups = std::max(hostChannels / perGroup, hostChannels > 0 ? 1 : 0);
    return channel < perGroup && group < groups && group * perGroup + channel < hostChannels;
}

void KivAudioPlugin::SetForcedChannelCount(int32_t channels) {
    KivSynchronizerGuard lock(processingMutex_);
    forcedChannels_ = channels;
}

void KivAudioPlugin::SetChannelMode(int32_t mode) {
    pendingChannelMode_.store(std::clamp(mode, 0, KivChannelModes::kCount - 1));
}

// --- processing configuration -----------------------------------------------------------------

void KivAudioPlugin::SetSampleRate(int32_t hertz) {
    KivSynchronizerGuard lock(processingMutex_);
    sampleRate_ = hertz;
}

void KivAudioPlugin::SetMaxBlockSize(int32_t samples) {
    KivSynchronizerGuard lock(processingMutex_);
    maxBlockSize_ = samples;
}

void KivAudioPlugin::SetOversampling(int32_t factor) {
    KivSynchronizerGuard lock(processingMutex_);
    resamplers_.SetFactor(factor);
}

void KivAudioPlugin::SetOversamplingQuality(bool high) {
    KivSynchronizerGuard lock(processingMutex_);
    resamplers_.SetHighQuality(high);
}

void KivAudioPlugin::SetOversamplingSlope(KivResamplerSlope slope) {
    KivSynchronizerGuard lock(processingMutex_);
    resamplers_.SetSlope(slope);
}

void KivAudioPlugin::Suspend() {
    if (suspensions_.fetch_add(1) == 0) OnSuspend();
}

void KivAudioPlugin::Resume() {
    if (suspensions_.load() > 0 && suspensions_.fetch_sub(1) == 1) OnResume();
}

void KivAudioPlugin::TakeOverPendingBlockSizes() noexcept {
    maxSubBlock_ = pendingMaxSubBlock_.load();
    interpolationThreshold_ = pendingThreshold_.load();
}

void KivAudioPlugin::InitProcessing() {
    KivSynchronizerGuard lock(processingMutex_);
    InitProcessingLocked();
}

void KivAudioPlugin::InitProcessingLocked() {
    // Everything the first block of the largest size needs is made here, off the audio thread.
    const int32_t block = std::max(maxBlockSize_, 1);
    const int32_t fastBlock = block * GetOversampling();
    for (int32_t channel = 0; channel < kMaxHostChannels; ++channel) {
        if (!IsHostChannel(channel, hostInputs_) && !IsHostChannel(channel, hostOutputs_)) continue;
        internalBuffers_[channel].Reserve(block);
        conversionBuffers_[channel].Reserve(fastBlock);
        if (IsHostChannel(channel, hostOutputs_)) discards_[channel].Reserve(block);
        if (IsHostChannel(channel, hostInputs_)) inputCopies_[channel].Reserve(block);
        if (GetOversampling() >= 2) resamplers_.Ready(channel, block);
    }
    scratch_.Reserve(fastBlock);
    silence_.Reserve(fastBlock);
    latency_ = GetLatency();
    previousLatency_ = latency_;
    ReserveBypass(block);
    const int32_t effectLimit = std::max(GetEffectLatencyLimit(GetProcessingSampleRate()), GetEffectLatency());
    for (KivDelayLine& delay : channelModeDelays_) {
        delay.Reserve(effectLimit, fastBlock);
        delay.SetFadeLength(static_cast<int32_t>(std::lround(kBypassFadeSeconds * GetProcessingSampleRate())));
        delay.SetDelay(GetEffectLatency());
    }
    interpolation_.RequestReset();
    // Processing starts in the mode asked for: there is nothing to fade from.
    channelMode_ = pendingChannelMode_.load();
    playingChannelMode_.store(channelMode_, std::memory_order_relaxed);
    modeHold_ = 0;
}

// The dry side of bypass: delay lines long enough for the longest latency the effect may
// report, and the fade, both at the host's rate; a fresh start plays the processed side.
void KivAudioPlugin::ReserveBypass(int32_t block) {
    const int32_t factor = GetOversampling();
    const int32_t effectLimit = std::max(GetEffectLatencyLimit(GetProcessingSampleRate()), GetEffectLatency());
    const int32_t limit = factor < 2 ? effectLimit : (effectLimit + factor / 2) / factor + resamplers_.GetLatency();
    bypassFadeLength_ = std::max(1, static_cast<int32_t>(std::lround(kBypassFadeSeconds * sampleRate_)));
    bypassFade_ = KivFadeTable::Of(bypassFadeLength_);
    bypassPosition_ = IsBypassed() ? bypassFadeLength_ : 0;
    playedSinceInit_ = false;
    for (int32_t channel = 0; channel < kMaxHostChannels; ++channel) {
        if (!IsHostChannel(channel, hostOutputs_)) continue;
        bypassDelays_[channel].Reserve(std::max(limit, latency_), block);
        bypassDelays_[channel].SetFadeLength(bypassFadeLength_);
        bypassDelays_[channel].SetDelay(latency_);
        dryBuffers_[channel].Reserve(block);
        accumulated_[channel].Reserve(block);
    }
}

// --- state queries and hooks ------------------------------------------------------------------

int32_t KivAudioPlugin::GetLatency() { return HostLatency(GetEffectLatency()); }

int32_t KivAudioPlugin::HostLatency(int32_t effectLatency) noexcept {
    const int32_t factor = GetOversampling();
    if (factor < 2) return effectLatency;
    // Halves round up, so that 220.5 host samples become 221.
    return (effectLatency + factor / 2) / factor + resamplers_.GetLatency();
}

int32_t KivAudioPlugin::GetTailSamples() { return 0; }
int32_t KivAudioPlugin::GetPreferredBlockSize() { return -1; }
void KivAudioPlugin::OnSuspend() {}
void KivAudioPlugin::OnResume() {}
int32_t KivAudioPlugin::GetEffectLatency() { return 0; }
int32_t KivAudioPlugin::GetEffectLatencyLimit(int32_t) { return GetEffectLatency(); }
double KivAudioPlugin::GetOutputClipLevel() { return -1.0; }
void KivAudioPlugin::ProcessUnprocessedChannel(int32_t, float*, int32_t) {}
void KivAudioPlugin::ProcessUpdate() {}
void KivAudioPlugin::PreProcessing(int32_t) {}
void KivAudioPlugin::PostProcessing(int32_t) {}

// --- editor -------------------------------------------------------------------------------------

namespace {
std::atomic<KivAudioPlugin::EditorFactory> editorFactory{nullptr};
}  // namespace

void KivAudioPlugin::SetEditorFactory(EditorFactory factory) noexcept { editorFactory.store(factory); }

KivAudioPlugin::KivEditor* KivAudioPlugin::CreateEditor(void* parentWindow) {
    const EditorFactory factory = editorFactory.load();
    if (!editor_ && factory) {
        editor_ = factory(*this);
        if (editor_) OnEditorOpened();
    }
    if (editor_ && parentWindow && !editor_->IsOpen() && !editor_->Open(reinterpret_cast<uintptr_t>(parentWindow)))
        return nullptr;
    return editor_;
}

void* KivAudioPlugin::GetEditorContents() { return nullptr; }
int32_t KivAudioPlugin::GetEditorMode() { return 0; }

void KivAudioPlugin::DestroyEditor() {
    KivEditor* editor = editor_;
    if (!editor) return;
    editor_ = nullptr;
    editor->Close();
    delete editor;
    OnEditorClosed();
}

void KivAudioPlugin::BeginEdit(int32_t index) {
    OnGestureBegun(index);
    if (KivPluginHost* host = GetPluginHost()) host->BeginEdit(index);
}

void KivAudioPlugin::SetParameterAutomated(int32_t index, double value) {
    SetParameter(index, value, false);
    if (KivPluginHost* host = GetPluginHost()) host->SendAutomation(index, GetParameter(index));
}

void KivAudioPlugin::EndEdit(int32_t index) {
    if (KivPluginHost* host = GetPluginHost()) host->EndEdit(index);
    OnGestureEnded(index);
}
bool KivAudioPlugin::LoadDefaultSettings() { return false; }
void KivAudioPlugin::SetDefaultSettingsToCurrent() {}
void KivAudioPlugin::OnEditorOpened() {}
void KivAudioPlugin::OnEditorClosed() {}
bool KivAudioPlugin::CanOpenEditor() { return true; }
void KivAudioPlugin::CarryOutAutomationUpdates(int32_t) {}

void KivAudioPlugin::DeliverHostNotifications() {
    if (KivPluginHost* host = GetPluginHost()) host->DeliverFromPluginThread();
}

void KivAudioPlugin::ChangeBypass(bool on) {
    if (bypass_.exchange(on) == on) return;
    if (KivPluginHost* host = GetPluginHost()) host->SendBypassAutomation(on);
}
