#include "base/kiv_boundary.h"
#include "hosts/bridge/kiv_host_setup.h"
#include "hosts/vst2/kiv_audio_plugin_vst_adapter.h"
#include "hosts/vst2/kiv_vst_editor_snapshot.h"
#include "plugin/kiv_audio_plugin_editor.h"

KivAudioPluginVSTAdapter::KivEditor::KivEditor(KivAudioPluginVSTAdapter& adapter)
    : AEffEditor(&adapter), adapter_(adapter) {}

KivAudioPlugin::KivEditor* KivAudioPluginVSTAdapter::KivEditor::PluginEditor() {
    return KivHostSetup::EditorOf(adapter_.GetPlugin());
}

void KivAudioPluginVSTAdapter::KivEditor::UpdateRect() {
    const KivAudioPlugin::KivEditor::Size size = adapter_.GetPlugin().GetEditor()->GetSize();
    rect_ = ERect{0, 0, static_cast<int16_t>(size.height), static_cast<int16_t>(size.width)};
}

// Hosts ask for the size before they make the window that open receives, so the plug-in
// builds its editor here; a plug-in without one answers false and the host shows no window.
bool KivAudioPluginVSTAdapter::KivEditor::getRect(ERect** rect) {
    *rect = nullptr;
    return KivGuard("KivAudioPluginVSTAdapter::KivEditor::getRect", false, [&] {
        if (!PluginEditor()) return false;
        UpdateRect();
        *rect = &rect_;
        return true;
    });
}

bool KivAudioPluginVSTAdapter::KivEditor::open(void* parentWindow) {
    return KivGuard("KivAudioPluginVSTAdapter::KivEditor::open", false, [&] {
        KivAudioPlugin::KivEditor* editor = PluginEditor();
        if (!editor || !parentWindow) return false;
        if (!editor->IsOpen() && !editor->Open(reinterpret_cast<uintptr_t>(parentWindow))) return false;
        return AEffEditor::open(parentWindow);
    });
}

void KivAudioPluginVSTAdapter::KivEditor::close() {
    KivGuard("KivAudioPluginVSTAdapter::KivEditor::close", [&] {
        AEffEditor::close();
        adapter_.GetPlugin().DestroyEditor();
    });
}

bool KivAudioPluginVSTAdapter::KivEditor::isOpen() const {
    const KivAudioPlugin::KivEditor* editor = adapter_.GetPlugin().GetEditor();
    return editor && editor->IsOpen();
}

// Linux hosts give the plug-in no event loop of its own: their idle calls pump the editor's
// window events, timers and paints. The host's GUI thread is also where it best hears of
// the plug-in's news.
void KivAudioPluginVSTAdapter::KivEditor::idle() {
    KivGuard("KivAudioPluginVSTAdapter::KivEditor::idle", [&] {
        if (KivAudioPlugin::KivEditor* editor = adapter_.GetPlugin().GetEditor()) editor->Idle();
    });
    adapter_.DeliverHere();
}

void KivAudioPluginVSTAdapter::KivEditor::update() {}

// Keys the host took while its window had the focus; an answer of false leaves the key to
// the host (its transport, its shortcuts).
bool KivAudioPluginVSTAdapter::KivEditor::onKeyDown(VstKeyCode& key) {
    return KivGuard("KivAudioPluginVSTAdapter::KivEditor::onKeyDown", false, [&] { return ForwardKey(true, key); });
}

bool KivAudioPluginVSTAdapter::KivEditor::onKeyUp(VstKeyCode& key) {
    return KivGuard("KivAudioPluginVSTAdapter::KivEditor::onKeyUp", false, [&] { return ForwardKey(false, key); });
}

bool KivAudioPluginVSTAdapter::KivEditor::ForwardKey(bool down, const VstKeyCode& key) {
    KivAudioPlugin::KivEditor* editor = adapter_.GetPlugin().GetEditor();
    return editor && editor->OnHostKey(down, static_cast<char32_t>(key.character), key.virt, key.modifier);
}

intptr_t KivAudioPluginVSTAdapter::vendorSpecific(int32_t index, intptr_t value, void* ptr, float opt) {
    if (index != KivVstEditorSnapshot::kIndex) return 0;
    return KivGuard("KivAudioPluginVSTAdapter::vendorSpecific", intptr_t{0}, [&]() -> intptr_t {
        switch (value) {
            case KivVstEditorSnapshot::kStart:
                if (!snapshot_) snapshot_ = KivEditorSnapshot::Start(*plugin_);
                return snapshot_ ? 1 : 0;
            case KivVstEditorSnapshot::kPaint: {
                auto* picture = static_cast<KivVstEditorSnapshot::Picture*>(ptr);
                if (!snapshot_ || !picture) return 0;
                const double scale = opt > 0.0f ? static_cast<double>(opt) : 1.0;
                if (!snapshot_->Paint(snapshotPixels_, picture->width, picture->height, scale)) return 0;
                picture->pixels = snapshotPixels_.data();
                return 1;
            }
            case KivVstEditorSnapshot::kRefresh:
                if (!snapshot_) return 0;
                snapshot_->Refresh();
                return 1;
            case KivVstEditorSnapshot::kEnd:
                snapshot_.reset();
                return 1;
            default: return 0;
        }
    });
}
