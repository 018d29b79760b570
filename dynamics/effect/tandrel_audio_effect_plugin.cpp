#include "dynamics/effect/tandrel_audio_effect_plugin.h"

#include "dynamics/processing/tandrel_meter_view.h"
#include "dynamics/processing/tandrel_processing_setup.h"
#include "plugin/kiv_effect_message.h"
#include "threads/kiv_synchronizer_guard.h"

TandrelAudioEffectPlugin::TandrelAudioEffectPlugin() : table_(&drawnShape_, &shapeEditor_) {
    drawnShape_.GetEnvelope().ResetToLine(0.0, 1.0);
    // Constant 1: the custom steps then move like the plain linear and logarithmic ones.
    customAttack_.ResetToLine(1.0, 1.0);
    customRelease_.ResetToLine(1.0, 1.0);
    DeclareParameters(table_.Declaration());
}

TandrelAudioEffectPlugin::~TandrelAudioEffectPlugin() = default;

void TandrelAudioEffectPlugin::InitProcessing(int32_t channels, int32_t sampleRate) {
    KivSynchronizerGuard lock(GetEffectMutex());
    channels_ = channels;
    sampleRate_ = sampleRate;
    meters_.Initialize(sampleRate);
    pipeline_.Initialize(channels, sampleRate);
    lastReleaseMode_ = -1;
}

void TandrelAudioEffectPlugin::Reprepare() {
    if (sampleRate_ < 1) return;
    {
        KivSynchronizerGuard lock(GetEffectMutex());
        meters_.SetDecays(sampleRate_);
        ApplyParameters();
        meters_.ResetHeld();
        if (editor_) editor_->RefreshState();
    }
    ReportLatency();
}

void TandrelAudioEffectPlugin::ApplyParameters() {
    shape_.ClearPoints();
    TandrelProcessingSetup setup =
        TandrelReadProcessingSetup(table_, product_, sampleRate_, drawnShape_.GetEnvelope(), shape_);
    ApplyReleaseMode(setup.releaseMode);
    pipeline_.CompileCustomShapes(setup.follower, customAttack_, customRelease_);
    pipeline_.Configure(setup, shape_);
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
    if (latency == reportedLatency_) return;
    reportedLatency_ = latency;
    CallHost(kKivEffectHostLatencyChanged);
}

void TandrelAudioEffectPlugin::Reset() {
    KivSynchronizerGuard lock(GetEffectMutex());
    pipeline_.Reset();
}

void TandrelAudioEffectPlugin::Process(const KivProcessingContext&, float** inputs, float** outputs, int32_t count) {
    KivSynchronizerGuard lock(GetEffectMutex());
    pipeline_.Process(inputs, outputs, count);
    meters_.Measure(pipeline_, outputs, count, editor_);
}

void TandrelAudioEffectPlugin::ProcessUpdate() {
    KivSynchronizerGuard lock(GetEffectMutex());
    if (!editor_) return;
    meters_.Publish(*editor_);
    editor_->UpdateLevelGraph();
}

void TandrelAudioEffectPlugin::UpdateEditorChannelControls() {
    KivSynchronizerGuard lock(GetEffectMutex());
    if (editor_) editor_->ShowChannelMeters(channels_);
}

int32_t TandrelAudioEffectPlugin::GetLatency() { return pipeline_.GetLatency(); }

void TandrelAudioEffectPlugin::AttachEditor(TandrelMeterView* editor) {
    KivSynchronizerGuard lock(GetEffectMutex());
    editor_ = editor;
}

void TandrelAudioEffectPlugin::DetachEditor() {
    KivSynchronizerGuard lock(GetEffectMutex());
    editor_ = nullptr;
}

void TandrelAudioEffectPlugin::ResetHeldMeters() {
    KivSynchronizerGuard lock(GetEffectMutex());
    meters_.ResetHeld();
}
