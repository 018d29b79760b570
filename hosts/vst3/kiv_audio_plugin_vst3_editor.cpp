#include "hosts/vst3/kiv_audio_plugin_vst3_editor.h"

#include <cstring>

#include "base/kiv_boundary.h"
#include "hosts/bridge/kiv_host_setup.h"
#include "plugin/kiv_audio_plugin_editor.h"

using namespace Steinberg;
using Editor = KivAudioPluginVST3Adapter::KivEditor;

Editor::KivEditor(KivAudioPluginVST3Adapter& adapter) : adapter_(&adapter) { adapter_->addRef(); }

Editor::~KivEditor() {
    StopPump();
    Unlink();
}

void Editor::Unlink() noexcept {
    StopPump();
    KivAudioPluginVST3Adapter* adapter = adapter_;
    adapter_ = nullptr;
    if (!adapter) return;
    adapter->ForgetEditor(this);
    adapter->release();
}

const char* Editor::PlatformType() noexcept {
#if defined(_WIN32)
    return kPlatformTypeHWND;
#else
    return kPlatformTypeX11EmbedWindowID;
#endif
}

tresult Editor::queryInterface(const TUID iid, void** object) {
    if (!object) return kInvalidArgument;
    if (OfferInterface<FUnknown, IPlugView>(iid, this, object) || OfferInterface<IPlugView>(iid, this, object) ||
        OfferInterface<IPlugViewContentScaleSupport>(iid, this, object))
        return kResultOk;
    *object = nullptr;
    return kNoInterface;
}

tresult Editor::isPlatformTypeSupported(FIDString type) {
    return type && std::strcmp(type, PlatformType()) == 0 ? kResultTrue : kResultFalse;
}

KivAudioPlugin::KivEditor* Editor::PluginEditor() {
    KivAudioPlugin::KivEditor* editor = adapter_ ? KivHostSetup::EditorOf(adapter_->GetPlugin()) : nullptr;
    if (editor && contentScale_ != 1.0) editor->SetContentScale(contentScale_);
    return editor;
}

// The plug-in builds its editor window inside the host's; a plug-in without one answers
// false and the host shows no editor.
tresult Editor::attached(void* parent, FIDString type) {
    return KivGuard("KivAudioPluginVST3Adapter::KivEditor::attached", kResultFalse, [&] {
        if (!parent || isPlatformTypeSupported(type) != kResultTrue || !adapter_) return kResultFalse;
        if (!adapter_->GetPlugin().CreateEditor(parent)) return kResultFalse;
        parent_ = parent;
        StartPump();
        return kResultOk;
    });
}

tresult Editor::removed() {
    return KivGuard("KivAudioPluginVST3Adapter::KivEditor::removed", kResultFalse, [&] {
        StopPump();
        if (adapter_ && parent_) adapter_->GetPlugin().DestroyEditor();
        parent_ = nullptr;
        return kResultOk;
    });
}

void Editor::StartPump() {
    StopPump();
    KivAudioPlugin::KivEditor* editor = adapter_ ? adapter_->GetPlugin().GetEditor() : nullptr;
    if (!editor || !frame_) return;
    pump_ = new KivVST3RunLoopPump(&Editor::Pump, this);
    if (!pump_->Start(frame_, editor->GetEventDescriptor())) StopPump();
}

void Editor::StopPump() {
    KivVST3RunLoopPump* pump = pump_;
    pump_ = nullptr;
    if (!pump) return;
    pump->Stop();
    pump->release();
}

void Editor::Pump(void* view) {
    auto* editor = static_cast<Editor*>(view);
    if (!editor->adapter_) return;
    if (KivAudioPlugin::KivEditor* window = editor->adapter_->GetPlugin().GetEditor()) window->Idle();
    editor->adapter_->OnEditorTimer();
}

// Keys and wheel turns the host took while its window had the focus; kResultFalse leaves
// them to the host. VST 3 numbers virtual keys and modifiers as VST 2.4 does.
tresult Editor::onWheel(float distance) {
    return KivGuard("KivAudioPluginVST3Adapter::KivEditor::onWheel", kResultFalse, [&] {
        KivAudioPlugin::KivEditor* window = adapter_ ? adapter_->GetPlugin().GetEditor() : nullptr;
        return window && window->OnHostWheel(distance) ? kResultTrue : kResultFalse;
    });
}

tresult Editor::onKeyDown(char16 key, int16 keyCode, int16 modifiers) {
    return KivGuard("KivAudioPluginVST3Adapter::KivEditor::onKeyDown", kResultFalse,
                    [&] { return ForwardKey(true, key, keyCode, modifiers); });
}

tresult Editor::onKeyUp(char16 key, int16 keyCode, int16 modifiers) {
    return KivGuard("KivAudioPluginVST3Adapter::KivEditor::onKeyUp", kResultFalse,
                    [&] { return ForwardKey(false, key, keyCode, modifiers); });
}

tresult Editor::ForwardKey(bool down, char16 key, int16 keyCode, int16 modifiers) {
    KivAudioPlugin::KivEditor* window = adapter_ ? adapter_->GetPlugin().GetEditor() : nullptr;
    return window && window->OnHostKey(down, static_cast<char32_t>(key), keyCode, modifiers) ? kResultTrue
                                                                                            : kResultFalse;
}

// Hosts ask for the size before they attach the view, so the plug-in builds its editor here.
// The answer is the editor's own size: after a resize it may have fitted the host's size to
// its shape.
tresult Editor::getSize(ViewRect* size) {
    if (!size) return kInvalidArgument;
    return KivGuard("KivAudioPluginVST3Adapter::KivEditor::getSize", kResultFalse, [&] {
        if (KivAudioPlugin::KivEditor* editor = PluginEditor()) {
            const KivAudioPlugin::KivEditor::Size wanted = editor->GetSize();
            rect_ = ViewRect{rect_.left, rect_.top, rect_.left + wanted.width, rect_.top + wanted.height};
        }
        *size = rect_;
        return kResultTrue;
    });
}

tresult Editor::onSize(ViewRect* newSize) {
    if (!newSize) return kInvalidArgument;
    return KivGuard("KivAudioPluginVST3Adapter::KivEditor::onSize", kResultFalse, [&] {
        rect_ = *newSize;
        KivAudioPlugin::KivEditor* editor = adapter_ ? adapter_->GetPlugin().GetEditor() : nullptr;
        if (editor) editor->Resize(rect_.getWidth(), rect_.getHeight());
        return kResultTrue;
    });
}

tresult Editor::onFocus(TBool /*state*/) { return kResultOk; }

tresult Editor::setFrame(IPlugFrame* frame) {
    frame_ = frame;
    if (!frame_) StopPump();
    return kResultTrue;
}

tresult Editor::canResize() {
    return KivGuard("KivAudioPluginVST3Adapter::KivEditor::canResize", kResultFalse, [&] {
        KivAudioPlugin::KivEditor* editor = PluginEditor();
        return editor && editor->CanResize() ? kResultTrue : kResultFalse;
    });
}

// The nearest size the editor takes: its shape is fixed, so the host's proposal is turned into
// the editor's shape at the zoom the proposal asks for.
tresult Editor::checkSizeConstraint(ViewRect* rect) {
    if (!rect) return kInvalidArgument;
    return KivGuard("KivAudioPluginVST3Adapter::KivEditor::checkSizeConstraint", kResultFalse, [&] {
        KivAudioPlugin::KivEditor* editor = PluginEditor();
        if (!editor) {
            *rect = rect_;
            return kResultTrue;
        }
        int32_t width = rect->getWidth(), height = rect->getHeight();
        editor->ConstrainSize(width, height);
        rect->right = rect->left + width;
        rect->bottom = rect->top + height;
        return kResultTrue;
    });
}

// The editor grows by the factor and asks the frame for its new size, as the interface wants.
tresult Editor::setContentScaleFactor(ScaleFactor factor) {
    return KivGuard("KivAudioPluginVST3Adapter::KivEditor::setContentScaleFactor", kResultFalse, [&] {
        if (!(factor > 0.0f) || factor > 8.0f) return kInvalidArgument;
        contentScale_ = factor;
        KivAudioPlugin::KivEditor* editor = adapter_ ? adapter_->GetPlugin().GetEditor() : nullptr;
        if (!editor) return kResultTrue;
        editor->SetContentScale(factor);
        const KivAudioPlugin::KivEditor::Size size = editor->GetSize();
        if (size.width != rect_.getWidth() || size.height != rect_.getHeight()) Resize(size.width, size.height);
        return kResultTrue;
    });
}

// The host answers resizeView by calling onSize, which resizes the editor's window.
bool Editor::Resize(int32_t width, int32_t height) {
    if (!frame_) return false;
    ViewRect wanted{rect_.left, rect_.top, rect_.left + width, rect_.top + height};
    if (frame_->resizeView(this, &wanted) != kResultTrue) return false;
    rect_ = wanted;
    return true;
}
