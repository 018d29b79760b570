#pragma once
#include <cstdint>

#include "base/kiv_object.h"
#include "plugin/kiv_audio_plugin.h"

// The plug-in's editor as the core and the host adapters see it: a window of some size that
// can be placed inside a host's window and taken out again. The GUI lives in a library above
// the core; it hands the core a factory (SetEditorFactory), so the core never needs the GUI.
// Every operation runs on the host's GUI thread.
class KivAudioPlugin::KivEditor : public KivObject {
public:
    struct Size {
        int32_t width;
        int32_t height;
    };

    // Closes the window when it is still open.
    ~KivEditor() override = default;

    virtual Size GetSize() = 0;
    // Places the window inside `parentWindow` (an HWND on Windows, an X11 window id on
    // Linux) and shows it; false when no window could be made.
    virtual bool Open(uintptr_t parentWindow) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Handles the window's waiting input, timers and paints, for hosts that drive the editor
    // through idle calls instead of an event loop of their own.
    virtual void Idle() = 0;
    // The host changed the window's size.
    virtual void Resize(int32_t width, int32_t height) = 0;
    // Whether the host may resize the window freely; when it may, ConstrainSize turns a size
    // the host proposes into the nearest one the editor takes (true when it changed nothing).
    virtual bool CanResize() { return false; }
    virtual bool ConstrainSize(int32_t& width, int32_t& height) {
        const Size size = GetSize();
        const bool same = width == size.width && height == size.height;
        width = size.width;
        height = size.height;
        return same;
    }
    // The host's factor between its logical pixels and the screen's (VST 3 content scale):
    // the editor draws that much larger, and GetSize grows with it.
    virtual void SetContentScale(double factor) { (void)factor; }
    // A descriptor that becomes readable when the editor has events to handle; -1 if none.
    virtual int GetEventDescriptor() = 0;

    // Keys and wheel turns the host took while its window had the focus, in the numbering
    // both VST interfaces share: `character` the typed character (0 if none), `virtualKey`
    // the interface's virtual key (1 backspace .. 22 delete; 0 if none), `modifiers` 1 shift,
    // 2 alt, 4 command, 8 control; `notches` positive away from the user. True when the
    // editor used the input; false hands it back to the host.
    virtual bool OnHostKey(bool down, char32_t character, int32_t virtualKey, int32_t modifiers) {
        (void)down, (void)character, (void)virtualKey, (void)modifiers;
        return false;
    }
    virtual bool OnHostWheel(float notches) {
        (void)notches;
        return false;
    }
};
