#include "hosts/vst3/kiv_audio_plugin_vst3_editor.h"

#include <cstring>

#include "base/kiv_boundary.h"

using namespace Steinberg;
using Editor = KivAudioPluginVST3Adapter::KivEditor;

Editor::KivEditor(KivAudioPluginVST3Adapter& adapter) : adapter_(&adapter) { adapter_->addRef(); }

Editor::~KivEditor() { Unlink(); }

void Editor::Unlink() noexcept {
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
    if (OfferInterface<FUnknown, IPlugView>(iid, this, object) || OfferInterface<IPlugView>(iid, this, object))
        return kResultOk;
    *object = nullptr;
    return kNoInterface;
}

tresult Editor::isPlatformTypeSupported(FIDString type) {
    return type && std::strcmp(type, PlatformType()) == 0 ? kResultTrue : kResultFalse;
}

// The plug-in builds its editor window inside the host's; a plug-in without one (no window
// system yet) answers false and the host shows no editor.
tresult Editor::attached(void* parent, FIDString type) {
    return KivGuard("KivAudioPluginVST3Adapter::KivEditor::attached", kResultFalse, [&] {
        if (!parent || isPlatformTypeSupported(type) != kResultTrue || !adapter_) return kResultFalse;
        if (!adapter_->GetPlugin().CreateEditor(parent)) return kResultFalse;
        parent_ = parent;
        return kResultOk;
    });
}

tresult Editor::removed() {
    return KivGuard("KivAudioPluginVST3Adapter::KivEditor::removed", kResultFalse, [&] {
        if (adapter_ && parent_) adapter_->GetPlugin().DestroyEditor();
        parent_ = nullptr;
        return kResultOk;
    });
}

// The editor's window receives these once the window system exists.
tresult Editor::onWheel(float /*distance*/) { return kResultFalse; }

tresult Editor::onKeyDown(char16, int16, int16) { return kResultFalse; }

tresult Editor::onKeyUp(char16, int16, int16) { return kResultFalse; }

tresult Editor::getSize(ViewRect* size) {
    if (!size) return kInvalidArgument;
    *size = rect_;
    return kResultTrue;
}

tresult Editor::onSize(ViewRect* newSize) {
    if (!newSize) return kInvalidArgument;
    rect_ = *newSize;
    return kResultTrue;
}

tresult Editor::onFocus(TBool /*state*/) { return kResultOk; }

tresult Editor::setFrame(IPlugFrame* frame) {
    frame_ = frame;
    return kResultTrue;
}

// The editor's size is the plug-in's to choose.
tresult Editor::canResize() { return kResultFalse; }

tresult Editor::checkSizeConstraint(ViewRect* rect) {
    if (!rect) return kInvalidArgument;
    *rect = rect_;
    return kResultTrue;
}

bool Editor::Resize(int32_t width, int32_t height) {
    if (!frame_) return false;
    ViewRect wanted{0, 0, width, height};
    if (frame_->resizeView(this, &wanted) != kResultTrue) return false;
    rect_ = wanted;
    return true;
}
