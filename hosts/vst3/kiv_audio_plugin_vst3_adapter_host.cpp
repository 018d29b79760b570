#include "hosts/vst3/interfaces/icomponenthandler.h"
#include "hosts/vst3/kiv_audio_plugin_vst3_adapter.h"
#include "hosts/vst3/kiv_audio_plugin_vst3_editor.h"

// The host reads the latency again when told it changed.
void KivAudioPluginVST3Adapter::LatencyChanged() {
    const int32_t latency = plugin_->GetLatency();
    const auto reported = static_cast<Steinberg::uint32>(latency > 0 ? latency : 0);
    if (reported == latency_) return;
    latency_ = reported;
    RestartComponent(Steinberg::Vst::kLatencyChanged);
}

void KivAudioPluginVST3Adapter::ChangeEditorSize(int32_t width, int32_t height) {
    if (editor_) editor_->Resize(width, height);
}
