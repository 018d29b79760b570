#include "hosts/vst3/interfaces/icomponenthandler.h"
#include "hosts/vst3/kiv_audio_plugin_vst3_adapter.h"
#include "hosts/vst3/kiv_audio_plugin_vst3_editor.h"

using namespace Steinberg::Vst;

// The host reads the latency again when told it changed.
void KivAudioPluginVST3Adapter::TellLatency() {
    const int32_t latency = plugin_->GetLatency();
    const auto reported = static_cast<Steinberg::uint32>(latency > 0 ? latency : 0);
    if (reported == latency_) return;
    latency_ = reported;
    RestartComponent(kLatencyChanged);
}

void KivAudioPluginVST3Adapter::TellSettingsChanged() { RestartComponent(kParamValuesChanged); }

KivAudioPluginVST3Adapter::ParamID KivAudioPluginVST3Adapter::IdOfSlot(int32_t slot) const noexcept {
    return slot == BypassSlot() ? kBypassId : static_cast<ParamID>(slot);
}

void KivAudioPluginVST3Adapter::TellBeginEdit(int32_t slot) { EditControllerEx1::BeginEdit(IdOfSlot(slot)); }

// The controller's own record of the value changes first: a host may ask for it while it
// hears of the edit.
void KivAudioPluginVST3Adapter::TellValue(int32_t slot, double value, bool inGesture) {
    const ParamID id = IdOfSlot(slot);
    EditControllerEx1::setParamNormalized(id, value);
    if (!inGesture) EditControllerEx1::BeginEdit(id);
    PerformEdit(id, value);
    if (!inGesture) EditControllerEx1::EndEdit(id);
}

void KivAudioPluginVST3Adapter::TellEndEdit(int32_t slot) { EditControllerEx1::EndEdit(IdOfSlot(slot)); }

void KivAudioPluginVST3Adapter::ChangeEditorSize(int32_t width, int32_t height) {
    if (editor_) editor_->Resize(width, height);
}
