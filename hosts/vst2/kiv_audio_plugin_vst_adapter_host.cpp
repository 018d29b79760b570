#include "base/kiv_boundary.h"
#include "base/kiv_byte_buffer.h"
#include "base/kiv_number.h"
#include "base/kiv_trace.h"
#include "plugin/kiv_audio_plugin_editor.h"
#include "plugin/state/kiv_state_document.h"
#include "hosts/vst2/kiv_audio_plugin_vst_adapter.h"

// ---- KivPluginHost ----------------------------------------------------------------------

void KivAudioPluginVSTAdapter::SendAutomation(int32_t index, double value) {
    // The host may answer by setting the parameter it was told about; the plug-in already
    // has that value, and taking it again would round it through single precision.
    automationInProgress_.store(true);
    try {
        setParameterAutomated(index, static_cast<float>(value));
    } catch (...) {
        automationInProgress_.store(false);
        throw;
    }
    automationInProgress_.store(false);
}

void KivAudioPluginVSTAdapter::GenerateMIDIEvent(int32_t deltaFrames, const uint8_t* bytes) {
    outgoingEvents_.AppendMidi(deltaFrames, bytes);
}

void KivAudioPluginVSTAdapter::LatencyChanged() {
    const int32_t latency = plugin_->GetLatency();
    KivTrace::Write(KivString("Latency: ") + KivNumber::IntegerToText(latency));
    setInitialDelay(latency);
}

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
        return 1;
    });
}
