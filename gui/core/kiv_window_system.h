#pragma once
#include <cstdint>

#include "base/kiv_object.h"
#include "base/kiv_string.h"
#include "gui/drawing/kiv_point.h"
#include "gui/drawing/kiv_rect.h"

class KivControl;
class KivDrawingStyle;
class KivWindow;

// A native window handle as the toolkit passes it around: an HWND on Windows, an X window
// id on X11, an index for the offscreen system; 0 is none.
using KivNativeHandle = uintptr_t;

// The platform below the toolkit: native windows, their painting through a back buffer,
// input, timers and the GUI thread's message handling. The order of the operations is part
// of the interface (slot numbers below). Only the GUI thread calls them, except
// SendForceExecuteEvents and ShowAsync, which any thread may call.
class KivWindowSystem : public KivObject {
public:
    // 0.
    ~KivWindowSystem() override = default;
    // 1: feature bits of the implementation (bit 0: native windows, bit 1: child windows
    // inside a host's window).
    virtual int32_t GetCapabilities() = 0;
    // 2.
    virtual KivString GetName() = 0;
    // 3: prepares the system and notes the calling thread as the GUI thread.
    virtual void Initialize() = 0;
    // 4: the usable area of the screen holding `point`.
    virtual KivRect GetWorkArea(KivPoint point) = 0;
    // 5: two flags: `a` lets windows paint straight from the back buffer without merging
    // the update region first, `b` makes top-level windows stay above their owner.
    virtual void SetOptions(bool a, bool b) = 0;
    // 6: makes the native window of `window`, a child of `parent` when one is given.
    virtual void CreateNativeWindow(KivWindow& window, KivNativeHandle parent) = 0;
    // 7.
    virtual void DestroyNativeWindow(KivWindow& window) = 0;
    // 8: reserved.
    virtual void Reserved8() {}
    // 9, 10: a new parent; the second form also turns the window into a child (or back into
    // a top-level window when `parent` is 0).
    virtual void SetParentWindow(KivWindow& window, KivNativeHandle parent) = 0;
    virtual void SetParentWindow(KivWindow& window, KivNativeHandle parent, bool child) = 0;
    // 11: the native handle of the control's window; 0 without one.
    virtual KivNativeHandle GetNativeHandle(const KivControl& control) = 0;
    // 12: reserved.
    virtual KivNativeHandle Reserved12() { return 0; }
    // 13, 14.
    virtual bool IsVisible(const KivWindow& window) = 0;
    virtual void SetTitle(KivWindow& window, const KivString& title) = 0;
    // 15 to 17: position (screen, or the parent's client area for child windows), size,
    // both; rectangles are inclusive.
    virtual void SetWindowPosition(KivWindow& window, KivPoint position) = 0;
    virtual void SetWindowSize(KivWindow& window, KivPoint size) = 0;
    virtual void SetWindowBounds(KivWindow& window, const KivRect& bounds) = 0;
    // 18: the window's shape as a union of rectangles (none: rectangular again).
    virtual void SetShape(KivWindow& window, const KivRect* rects, int32_t count) = 0;
    // 19.
    virtual KivRect GetWindowBounds(const KivWindow& window) = 0;
    // 20: moves the native window to where the window's bounds say.
    virtual void Move(KivWindow& window) = 0;
    // 21: moves it there and shows it.
    virtual void MoveAndShow(KivWindow& window) = 0;
    // 22.
    virtual void Show(KivWindow& window, bool show) = 0;
    // 23: drops one use of the window's native record.
    virtual void ReleaseWindow(KivWindow& window) = 0;
    // 24 to 28.
    virtual bool IsMinimized(const KivWindow& window) = 0;
    virtual void ShowAsync(KivWindow& window, bool show) = 0;
    virtual void Hide(KivWindow& window) = 0;
    virtual void Activate(KivWindow& window) = 0;
    virtual bool IsForeground(const KivWindow& window) = 0;
    // 29: handles everything that is waiting (input, paints, timers, queued events) and
    // returns without waiting: the host's idle call.
    virtual void ProcessPendingEvents() = 0;
    // 30: handles events until Quit.
    virtual void RunMessageLoop() = 0;
    // 31, 32: a loop that handles events until EndModal for the window.
    virtual void EndModal(KivWindow& window) = 0;
    virtual void RunModal(KivWindow& window) = 0;
    // 33.
    virtual void Quit() = 0;
    // 34: any thread: wakes the GUI thread so that it executes the queued events.
    virtual void SendForceExecuteEvents() = 0;
    // 35: paints `rect` (window coordinates) of the window's tree through its back buffer
    // and shows it; `style` answers the drawer's style queries (null: none).
    virtual void PaintWindow(KivControl& control, const KivRect& rect, const KivDrawingStyle* style) = 0;
    // 36: marks `rect` of the control (its own coordinates) for repainting; null: the whole
    // window, repainted asynchronously.
    virtual void Invalidate(KivControl& control, const KivRect* rect) = 0;
    // 37: paints what is marked now instead of waiting for the event loop.
    virtual void UpdateNow(KivWindow& window) = 0;
    // 38, 39: open and close a paint pass on the window's native record (under the record's
    // lock): both clear its table of 256 paint marks.
    virtual void BeginPaintPass(KivWindow& window) = 0;
    virtual void EndPaintPass(KivWindow& window) = 0;
    // 40: all mouse input goes to the window while on.
    virtual void SetMouseCapture(KivWindow& window, bool on) = 0;
    // 41: 0 arrow, 1 hand, 2 text beam, 3 horizontal resize, 4 vertical resize, 5 cross,
    // 6 wait.
    virtual void SetCursorShape(int32_t shape) = 0;
    // 42 to 44.
    virtual KivPoint GetCursorScreenPosition() = 0;
    virtual KivPoint GetCursorPosition(const KivControl& control) = 0;
    virtual void SetCursorPosition(const KivControl& control, KivPoint point) = 0;
    // 45: the window is told once when the mouse leaves it.
    virtual void TrackMouseLeave(KivWindow& window) = 0;
    // 46: the input-state mask (KivInputState).
    virtual uint8_t GetInputState() = 0;
    // 47: OnTimer of the control every `interval` ms; below 1 stops the control's timer.
    virtual void SetTimer(KivControl& control, int32_t interval) = 0;

    enum Capability : int32_t { kNativeWindows = 1, kChildWindows = 2 };
};
