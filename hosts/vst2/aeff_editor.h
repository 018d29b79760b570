#pragma once
#include <cstdint>

#include "hosts/vst2/vst2_abi.h"

class AudioEffect;

// The editor of a VST 2 effect as the dispatcher sees it: the effect forwards the host's
// editor opcodes here. The default editor has no window; a real one overrides getRect,
// open and close.
class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* effect = nullptr) : effect_(effect) {}
    virtual ~AEffEditor() = default;
    AEffEditor(const AEffEditor&) = delete;
    AEffEditor& operator=(const AEffEditor&) = delete;

    // Hands the host the editor's size; the rectangle stays owned by the editor.
    virtual bool getRect(ERect** rect) {
        *rect = nullptr;
        return false;
    }
    // `parentWindow` is the host's native window (an HWND on Windows, an X11 window id on Linux).
    virtual bool open(void* parentWindow) {
        parentWindow_ = parentWindow;
        return true;
    }
    virtual void close() { parentWindow_ = nullptr; }
    virtual bool isOpen() const { return parentWindow_ != nullptr; }
    virtual void idle() {}
    virtual void update() {}
    // True when the key was used, so the host does not handle it too.
    virtual bool onKeyDown(VstKeyCode& /*key*/) { return false; }
    virtual bool onKeyUp(VstKeyCode& /*key*/) { return false; }
    virtual bool setKnobMode(int32_t /*mode*/) { return false; }

    AudioEffect* getEffect() const { return effect_; }
    void* getParentWindow() const { return parentWindow_; }

protected:
    AudioEffect* effect_;
    void* parentWindow_ = nullptr;
};
