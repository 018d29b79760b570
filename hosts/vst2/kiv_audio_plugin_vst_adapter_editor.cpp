#include "base/kiv_boundary.h"
#include "hosts/vst2/kiv_audio_plugin_vst_adapter.h"

KivAudioPluginVSTAdapter::KivEditor::KivEditor(KivAudioPluginVSTAdapter& adapter)
    : AEffEditor(&adapter), adapter_(adapter) {}

// The plug-in builds its editor on the first question for its size; a plug-in without one
// (no window system yet) answers false and the host shows no window.
bool KivAudioPluginVSTAdapter::KivEditor::getRect(ERect** rect) {
    *rect = nullptr;
    return KivGuard("KivAudioPluginVSTAdapter::KivEditor::getRect", false, [&] {
        KivAudioPlugin& plugin = adapter_.GetPlugin();
        if (!plugin.GetEditor() && !plugin.CreateEditor(nullptr)) return false;
        *rect = &rect_;
        return true;
    });
}

bool KivAudioPluginVSTAdapter::KivEditor::open(void* parentWindow) {
    return KivGuard("KivAudioPluginVSTAdapter::KivEditor::open", false, [&] {
        if (!adapter_.GetPlugin().GetEditor()) return false;
        return AEffEditor::open(parentWindow);
    });
}

void KivAudioPluginVSTAdapter::KivEditor::close() {
    KivGuard("KivAudioPluginVSTAdapter::KivEditor::close", [&] {
        AEffEditor::close();
        adapter_.GetPlugin().DestroyEditor();
    });
}

// The editor's window receives these once the window system exists.
void KivAudioPluginVSTAdapter::KivEditor::idle() {}

void KivAudioPluginVSTAdapter::KivEditor::update() {}

bool KivAudioPluginVSTAdapter::KivEditor::onKeyDown(VstKeyCode& /*key*/) { return false; }

bool KivAudioPluginVSTAdapter::KivEditor::onKeyUp(VstKeyCode& /*key*/) { return false; }
