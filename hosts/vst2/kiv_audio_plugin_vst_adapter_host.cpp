#include "base/kiv_boundary.h"
#include "base/kiv_byte_buffer.h"
#include "base/kiv_number.h"
#include "base/kiv_trace.h"
#include "plugin/kiv_audio_plugin_editor.h"
#include "plugin/state/kiv_state_document.h"
#include "hosts/vst2/kiv_audio_plugin_vst_adapter.h"

// ---- KivHostBridge ---------------------------------------------------------------------

// The plug-in's update thread delivers what other threads post, at its next tick (within
// 100 ms): waking it at once would take its wake lock, and a VST 2.4 host may call
// setParameter from its audio thread outside processing too.
void KivAudioPluginVSTAdapter::RequestDelivery() noexcept {
    KivGuard("KivAudioPluginVSTAdapter::RequestDelivery", [&] { plugin_->RequestHostDelivery(false); });
}

// The bypass switch is the parameter after the plug-in's own (slot and index agree), so that
// a host records the editor's bypass button as it records a knob; a change of it made inside
// the plug-in is a gesture of its own.
void KivAudioPluginVSTAdapter::TellBeginEdit(int32_t slot) {
    if (IsPluginSlot(slot) || slot == BypassSlot()) beginEdit(slot);
}

void KivAudioPluginVSTAdapter::TellValue(int32_t slot, double value, bool inGesture) {
    if (!IsPluginSlot(slot) && slot != BypassSlot()) return;
    const bool ownGesture = slot == BypassSlot() && !inGesture;
    if (ownGesture) beginEdit(slot);
    callHost(audioMasterAutomate, slot, 0, nullptr, static_cast<float>(value));
    if (ownGesture) endEdit(slot);
}

void KivAudioPluginVSTAdapter::TellEndEdit(int32_t slot) {
    if (IsPluginSlot(slot) || slot == BypassSlot()) endEdit(slot);
}

void KivAudioPluginVSTAdapter::TellLatency() {
    const int32_t latency = plugin_->GetLatency();
    if (latency == VstInitialDelay(*getAeffect())) return;
    KivTrace::Write(KivString("Latency: ") + KivNumber::IntegerToText(latency));
    setInitialDelay(latency);
    ioChanged();
}

void KivAudioPluginVSTAdapter::TellSettingsChanged() { updateDisplay(); }

// The host resizes its window around the editor when it can; the editor's own window takes
// the new size either way, so a refusing host shows it clipped rather than not at all.
void KivAudioPluginVSTAdapter::ChangeEditorSize(int32_t width, int32_t height) {
    AEffEditor* editor = getEditor();
    KivAudioPlugin::KivEditor* window = plugin_->GetEditor();
    if (!editor || !editor->isOpen() || !window) return;
    sizeWindow(width, height);
    window->Resize(width, height);
}

// ---- State ------------------------------------------------------------------------------

// The plug-in's settings, written as a UTF-8 XML document whose bytes the host keeps.
int32_t KivAudioPluginVSTAdapter::getChunk(void** data, bool /*isPreset*/) {
    *data = nullptr;
    return KivGuard("KivAudioPluginVSTAdapter::getChunk", int32_t{0}, [&] {
        const KivByteBuffer document = KivStateDocument::Save(*plugin_);
        chunk_.assign(document.Data(), document.Data() + document.Size());
        *data = chunk_.data();
        return static_cast<int32_t>(chunk_.size());
    });
}

int32_t KivAudioPluginVSTAdapter::setChunk(void* data, int32_t byteSize, bool /*isPreset*/) {
    return KivGuard("KivAudioPluginVSTAdapter::setChunk", int32_t{0}, [&] {
        if (!data || byteSize <= 0) return 0;
        // A document cut short or damaged raises before anything is loaded: the live state stays.
        KivStateDocument::Load(*plugin_, data, byteSize);
        SettingsChanged();
        return 1;
    });
}
