#pragma once
#include <cstdint>

namespace KivPlatform {

// A native window: an X window id or an HWND; 0 is none.
using NativeWindowHandle = uintptr_t;

// One piece of input or work for the GUI thread, in the toolkit's own terms. Points are in
// the window's client coordinates; keys use the Win32 virtual key numbering on every
// platform.
struct NativeInput {
    enum Kind : int32_t {
        kPaint,            // rect: the part of the window to paint now (Present inside)
        kMouseDown,        // value: button 0 left, 1 middle, 2 right
        kMouseDoubleClick,
        kMouseUp,
        kMouseMove,
        kMouseWheel,       // value: delta, 120 per notch, positive away from the user
        kMouseLeave,       // once after TrackMouseLeave
        kKeyDown,          // value: virtual key
        kKeyUp,
        kCharacter,        // value: the character (UTF-32)
        kTimer,            // timerId
        kCloseRequest,
        kBounds,           // rect: the window's new bounds
        kExecuteEvents,    // another thread asked the GUI thread to run its queued events
        kEndModal,
    };
    Kind kind = kPaint;
    NativeWindowHandle window = 0;
    void* owner = nullptr;  // what NewWindow was given
    int32_t left = 0, top = 0, right = -1, bottom = -1;  // point in left/top, or a rectangle
    int32_t value = 0;
    uint8_t state = 0;  // input-state mask at the time of the input
    uintptr_t timerId = 0;
};

class NativeInputSink {
public:
    virtual void OnNativeInput(const NativeInput& input) = 0;

protected:
    ~NativeInputSink() = default;
};

// The operating system's windowing for one GUI thread: Xlib with its own display
// connection, or the Win32 user interface. Only the GUI thread calls it, except Wake and
// PostShow.
class NativeWindowing {
public:
    // Connects; null when there is no display. Input is handed to `sink` while pumping.
    static NativeWindowing* Open(NativeInputSink& sink);
    virtual ~NativeWindowing() = default;

    // "Win32 native window-system", "X11 native window-system".
    virtual const char* Name() const = 0;
    // A window inside `parent` (client coordinates) or a top-level one (screen), hidden.
    virtual NativeWindowHandle NewWindow(NativeWindowHandle parent, int32_t x, int32_t y, int32_t width,
                                            int32_t height, void* owner) = 0;
    virtual void DestroyWindow(NativeWindowHandle window) = 0;
    virtual void SetParent(NativeWindowHandle window, NativeWindowHandle parent, bool changeStyle, bool child) = 0;
    virtual bool IsVisible(NativeWindowHandle window) = 0;
    virtual void SetTitle(NativeWindowHandle window, const char16_t* text, int32_t count) = 0;
    enum Placement : int32_t { kMove = 1, kSize = 2 };
    virtual void Place(NativeWindowHandle window, int32_t x, int32_t y, int32_t width, int32_t height,
                       int32_t placement) = 0;
    // Rectangles as left, top, right, bottom (inclusive); none: rectangular again.
    virtual void SetShape(NativeWindowHandle window, const int32_t* rects, int32_t count) = 0;
    // Inclusive bounds: screen coordinates, or the parent's client coordinates for a child.
    virtual bool GetBounds(NativeWindowHandle window, int32_t bounds[4]) = 0;
    virtual void Show(NativeWindowHandle window, bool show) = 0;
    // Any thread: shows or hides on the GUI thread.
    virtual void PostShow(NativeWindowHandle window, bool show) = 0;
    virtual bool IsMinimized(NativeWindowHandle window) = 0;
    virtual void Activate(NativeWindowHandle window) = 0;
    // The owner of the window that has the focus, or null.
    virtual void* ForegroundOwner() = 0;
    virtual void GetWorkArea(int32_t x, int32_t y, int32_t area[4]) = 0;

    // Hands everything waiting to the sink; with `wait`, first blocks until something
    // arrives. False once a quit has been seen.
    virtual bool Pump(bool wait) = 0;
    virtual void PostQuit() = 0;
    // A kEndModal input for the window, after what is already queued.
    virtual void PostEndModal(NativeWindowHandle window) = 0;
    // The whole window is repainted later.
    virtual void PostRepaintAll(NativeWindowHandle window) = 0;
    // Any thread: a kExecuteEvents input reaches the GUI thread soon.
    virtual void Wake() = 0;
    // A descriptor that becomes readable when the GUI thread has work (a host may watch it);
    // -1 where the system has none.
    virtual int WakeDescriptor() const { return -1; }

    virtual void InvalidateRect(NativeWindowHandle window, int32_t left, int32_t top, int32_t right,
                                int32_t bottom) = 0;
    virtual void UpdateNow(NativeWindowHandle window) = 0;
    // Copies rows of 32-bit pixels (blue, green, red, unused) of a width x height image
    // to the window; only the inclusive rectangle is copied.
    virtual void Present(NativeWindowHandle window, const uint32_t* pixels, int32_t rowLength, int32_t width,
                         int32_t height, int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;

    virtual void SetCapture(NativeWindowHandle window, bool on) = 0;
    // 0 arrow, 1 hand, 2 text beam, 3 horizontal resize, 4 vertical resize, 5 cross, 6 wait.
    virtual void SetCursorShape(int32_t shape) = 0;
    virtual void GetCursorScreenPosition(int32_t& x, int32_t& y) = 0;
    virtual void ScreenToClient(NativeWindowHandle window, int32_t& x, int32_t& y) = 0;
    virtual void ClientToScreen(NativeWindowHandle window, int32_t& x, int32_t& y) = 0;
    virtual void SetCursorScreenPosition(int32_t x, int32_t y) = 0;
    virtual void TrackMouseLeave(NativeWindowHandle window) = 0;
    // 1 left, 2 middle, 4 right button, 16 Control, 32 Alt, 64 Shift.
    virtual uint8_t GetInputState() = 0;
    // A kTimer input with `timerId` every `interval` ms; below 1 stops that timer.
    virtual void SetTimer(NativeWindowHandle window, uintptr_t timerId, int32_t interval) = 0;
};

}  // namespace KivPlatform
