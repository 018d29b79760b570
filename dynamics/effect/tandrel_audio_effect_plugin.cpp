#include "dynamics/effect/tandrel_audio_effect_plugin.h"

#include <algorithm>

#include <vector>

#include "dynamics/parameters/tandrel_enumerations.h"
#include "dynamics/processing/tandrel_meter_view.h"
#include "dynamics/processing/tandrel_processing_setup.h"
#include "plugin/kiv_effect_message.h"
#include "threads/kiv_synchronizer_guard.h"
#include "threads/kiv_thread_role.h"

namespace {

// Any rate does for reading the shape: only the detector's timing depends on it.
constexpr int32_t kNominalSampleRate = 44100;

}  // namespace

TandrelAudioEffectPlugin::TandrelAudioEffectPlugin() : table_(&drawnShape_, &shapeEditor_) {
    drawnShape_.GetEnvelope().ResetToLine(0.0, 1.0);
    // Applying the parameters rebuilds the drawn shape while the custom shape is off.
    drawnShape_.SetLock(&GetEffectMutex());
    // Constant 1: the custom steps then move like the plain linear and logarithmic ones.
    customAttack_.ResetToLine(1.0, 1.0);
    customRelease_.ResetToLine(1.0, 1.0);
    // The drawn shape starts as the shape the factory settings give, as every later
    // preparation leaves it: its points are then their own defaults when hosts ask.
    TandrelReadProcessingSetup(table_, product_, kNominalSampleRate, drawnShape_.GetEnvelope(), shape_);
    shape_.ClearPoints();
    drawnShape_.PublishPoints();
    DeclareParameters(table_.Declaration());
    // The main stereo input and the side-chain bus that "Side-chain" can key the detector on.
    SetInputBusCount(2);
}

TandrelAudioEffectPlugin::~TandrelAudioEffectPlugin() {
    delete pending_.exchange(nullptr);
    FreeRetiredSetups();
    delete pipeline_.TakeSwitchedFrom(true);
    // Going back to the idle setup can count as a path switch, and then the setup that played
    // is kept to fade out rather than handed back: it goes with the switch.
    delete pipeline_.Install(pipeline_.IdleSetup());
    delete pipeline_.TakeSwitchedFrom(true);
}

void TandrelAudioEffectPlugin::InitProcessing(int32_t channels, int32_t sampleRate) {
    KivThreadRole::ExpectNotAudio("TandrelAudioEffectPlugin::InitProcessing");
    KivSynchronizerGuard lock(GetEffectMutex());
    sampleRate_ = sampleRate;
    meters_.Initialize(channels, sampleRate);
    meters_.SetDecays(sampleRate);
    levelHistory_.SetSampleRate(sampleRate);
    pipeline_.Initialize(channels, sampleRate, maxBlock_);
    processedChannels_.store(pipeline_.GetChannelCount(), std::memory_order_relaxed);
    lastReleaseMode_ = -1;
}

void TandrelAudioEffectPlugin::SetProcessedChannels(int32_t channels) noexcept {
    pipeline_.SetActiveChannels(channels);
    processedChannels_.store(pipeline_.GetChannelCount(), std::memory_order_relaxed);
}

void TandrelAudioEffectPlugin::SetMaxBlockSize(int32_t samples) {
    KivSynchronizerGuard lock(GetEffectMutex());
    maxBlock_ = samples;
}

// The automatic transfer shape follows threshold, ratio and the other sources, and the drawn
// shape's point parameters with it: the host hears of the points that moved (a loaded state
// tells the host of all its values at once instead).
void TandrelAudioEffectPlugin::Reprepare() {
    KivThreadRole::ExpectNotAudio("TandrelAudioEffectPlugin::Reprepare");
    std::vector<double> before;
    {
        // The host's own writes to the points are no change to tell it of.
        KivSynchronizerGuard lock(GetEffectMutex());
        drawnShape_.ApplyHostWrites();
    }
    ReadDrawnShape(before);
    if (!PrepareAndPublish(false)) return;
    ReportLatency();
    std::vector<double> after;
    ReadDrawnShape(after);
    if (after != before) drawnShape_.NotifyChanged();
}

void TandrelAudioEffectPlugin::ReadDrawnShape(std::vector<double>& values) {
    KivSynchronizerGuard lock(GetEffectMutex());
    const KivEnvelope& shape = drawnShape_.GetEnvelope();
    values.reserve(static_cast<size_t>(4 * shape.GetPointCount()));
    for (int32_t point = 0; point < shape.GetPointCount(); ++point) {
        const KivEnvelopePoint& p = shape.GetPoint(point);
        values.insert(values.end(), {p.x, p.y, p.curvature, p.leftSmoothness});
    }
}

// New settings start from silence, as a freshly initialised plug-in would play them.
void TandrelAudioEffectPlugin::ReprepareAfterLoading() {
    KivThreadRole::ExpectNotAudio("TandrelAudioEffectPlugin::ReprepareAfterLoading");
    {
        KivSynchronizerGuard lock(GetEffectMutex());
        lastReleaseMode_ = -1;
    }
    if (!PrepareAndPublish(true)) return;
    CopyValuesToTargets();
    ReportLatency();
}

// Nothing is prepared before the first InitProcessing has given a sample rate.
bool TandrelAudioEffectPlugin::PrepareAndPublish(bool resetChannels) {
    KivSynchronizerGuard lock(GetEffectMutex());
    if (sampleRate_ < 1) return false;
    meters_.ResetHeld();
    PrepareSetup(resetChannels);
    FreeRetiredSetups();
    if (TandrelMeterView* editor = editor_.load()) editor->RefreshState();
    return true;
}

void TandrelAudioEffectPlugin::PrepareSetup(bool resetChannels) {
    for (;;) {
        TandrelPipelineSetup* waiting = pending_.load(std::memory_order_acquire);
        // The channel memory the new setup brings is sized against the setup the audio thread
        // will leave for it: the one still waiting is replaced, never installed.
        const TandrelSetupSizes base = waiting ? pendingBase_ : publishedSizes_;
        shape_.ClearPoints();
        drawnShape_.ApplyHostWrites();
        TandrelProcessingSetup setup =
            TandrelReadProcessingSetup(table_, product_, sampleRate_, drawnShape_.GetEnvelope(), shape_);
        // The automatic shape rewrites the drawn points.
        drawnShape_.PublishPoints();
        ApplyReleaseMode(setup.releaseMode);
        std::unique_ptr<TandrelPipelineSetup> next =
            pipeline_.Prepare(setup, shape_, customAttack_, customRelease_, base);
        next->keysOnSideChain = table_.Item(kTandrelSideChain) == kTandrelSideChainExternal;
        // A reset still waiting must not be lost with the setup that carried it.
        next->resetChannels = resetChannels || (waiting && waiting->resetChannels);
        const int32_t latency = next->sizes.lookAhead;
        pendingPath_.store(next->resetChannels ? kResetsChannels : next->pathSwitches, std::memory_order_release);
        if (pending_.compare_exchange_strong(waiting, next.get(), std::memory_order_acq_rel)) {
            pendingBase_ = base;
            publishedSizes_ = next->sizes;
            preparedLatency_.store(latency);
            next.release();
            delete waiting;  // the audio thread never saw it
            return;
        }
        // The audio thread took the waiting setup meanwhile: the base has changed.
    }
}

// A setup that switches the gain path again waits while the pipeline fades between two paths
// (10 ms at most), so the setup fading out stays the only one that does. One on the path
// fading in joins at once: it is new values for that path (a host step often changes a
// switch and a gain at neighbouring offsets), which would otherwise play the switch with the
// gain from before the step for the whole fade.
void TandrelAudioEffectPlugin::InstallPendingSetup() noexcept {
    if (!pending_.load(std::memory_order_relaxed)) return;
    if (pipeline_.IsSwitching() && !JoinsSwitch(pendingPath_.load(std::memory_order_acquire))) return;
    TandrelPipelineSetup* next = pending_.exchange(nullptr, std::memory_order_acq_rel);
    if (!next) return;
    // Published between the two reads, the setup may be on another path after all: the fade
    // running ends here, rather than lose the setup or leave two fading out.
    if (pipeline_.IsSwitching() && !JoinsSwitch(next->resetChannels ? kResetsChannels : next->pathSwitches))
        Retire(pipeline_.TakeSwitchedFrom(true));
    TandrelPipelineSetup* left = pipeline_.Install(*next);
    playingLatency_ = std::max(next->sizes.lookAhead, 0);
    installedSetups_.fetch_add(1, std::memory_order_relaxed);
    Retire(left);
}

bool TandrelAudioEffectPlugin::JoinsSwitch(uint32_t path) const noexcept {
    return path != kResetsChannels && path == pipeline_.GainPath();
}

void TandrelAudioEffectPlugin::Retire(TandrelPipelineSetup* left) noexcept {
    if (!left) return;
    left->nextRetired = retired_.load(std::memory_order_relaxed);
    while (!retired_.compare_exchange_weak(left->nextRetired, left, std::memory_order_release,
                                           std::memory_order_relaxed)) {
    }
}

void TandrelAudioEffectPlugin::FreeRetiredSetups() noexcept {
    TandrelPipelineSetup* setup = retired_.exchange(nullptr, std::memory_order_acquire);
    while (setup) {
        TandrelPipelineSetup* next = setup->nextRetired;
        delete setup;
        setup = next;
    }
}

void TandrelAudioEffectPlugin::ApplyReleaseMode(int32_t mode) {
    if (mode == lastReleaseMode_) return;
    lastReleaseMode_ = mode;
    table_.MarkAutoSpeedUse(mode);
    CallHost(kKivEffectHostParameterDisplayChanged);
}

// The host compensates the look-ahead only once it hears of the new latency.
void TandrelAudioEffectPlugin::ReportLatency() {
    const int32_t latency = GetLatency();
    if (reportedLatency_.exchange(latency) != latency) CallHost(kKivEffectHostLatencyChanged);
}

void TandrelAudioEffectPlugin::Reset() { resetRequested_.store(true); }

void TandrelAudioEffectPlugin::Process(const KivProcessingContext& context, float** inputs, float** outputs,
                                       int32_t count) {
    InstallPendingSetup();
    if (resetRequested_.exchange(false, std::memory_order_acquire)) pipeline_.Reset();
    const bool editorOpen = editor_.load(std::memory_order_relaxed) != nullptr;
    const int32_t channels = std::clamp(pipeline_.GetChannelCount(), 0, TandrelMeterBank::kChannels);
    // The input before processing: a host may process in place.
    if (editorOpen) levelHistory_.MeasureInput(inputs, channels, count);
    pipeline_.Process(inputs, outputs, count, context.sideChain);
    Retire(pipeline_.TakeSwitchedFrom());
    meters_.Measure(pipeline_, outputs, count, editorOpen);
    if (editorOpen) levelHistory_.MeasureOutput(outputs, channels, count, DeepestReduction(channels));
}

// The smallest gain of the channels in use; gain-only processing reduces nothing.
double TandrelAudioEffectPlugin::DeepestReduction(int32_t channels) const noexcept {
    double deepest = 1.0;
    for (int32_t c = 0; c < channels; ++c) deepest = std::min(deepest, meters_.Channel(c).GainReduction());
    return deepest;
}

void TandrelAudioEffectPlugin::ProcessUpdate() {
    KivSynchronizerGuard lock(GetEffectMutex());
    TandrelMeterView* editor = editor_.load();
    if (!editor) return;
    // The channel mode may have changed the channels processed since the last refresh.
    editor->ShowChannelMeters(processedChannels_.load(std::memory_order_relaxed));
    meters_.Publish(*editor);
    editor->UpdateLevelGraph();
}

void TandrelAudioEffectPlugin::UpdateEditorChannelControls() {
    KivSynchronizerGuard lock(GetEffectMutex());
    if (TandrelMeterView* editor = editor_.load()) editor->ShowChannelMeters(processedChannels_.load(std::memory_order_relaxed));
}

int32_t TandrelAudioEffectPlugin::GetLatency() { return preparedLatency_.load(); }

int32_t TandrelAudioEffectPlugin::GetLatencyLimit(int32_t sampleRate) {
    return TandrelLookAheadSamples(kTandrelLongestLookAhead, sampleRate);
}

void TandrelAudioEffectPlugin::AttachEditor(TandrelMeterView* editor) {
    KivSynchronizerGuard lock(GetEffectMutex());
    editor_.store(editor);
}

void TandrelAudioEffectPlugin::DetachEditor() {
    KivSynchronizerGuard lock(GetEffectMutex());
    editor_.store(nullptr);
}

void TandrelAudioEffectPlugin::ResetHeldMeters() { meters_.ResetHeld(); }
