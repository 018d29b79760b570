#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "gui/core/kiv_window_system_base.h"
#include "threads/kiv_semaphore.h"

// A window system without a screen: every native window is a bitmap that receives what the
// window presents, input is injected by the caller, and time passes when the caller says so.
// It runs the toolkit's whole logic (records, back buffers, merged repaints, timers, modal
// loops) where no display exists, and lets tests look at the pixels a window shows.
class KivWindowSystemOffscreen : public KivWindowSystemBase {
public:
    KivWindowSystemOffscreen() = default;
    ~KivWindowSystemOffscreen() override;

    int32_t GetCapabilities() override { return kNativeWindows | kChildWindows; }
    KivString GetName() override { return KivString("Offscreen window-system"); }
    KivRect GetWorkArea(KivPoint point) override;
    void CreateNativeWindow(KivWindow& window, KivNativeHandle parent) override;
    void DestroyNativeWindow(KivWindow& window) override;
    void SetParentWindow(KivWindow& window, KivNativeHandle parent) override;
    void SetParentWindow(KivWindow& window, KivNativeHandle parent, bool child) override;
    bool IsVisible(const KivWindow& window) override;
    void SetTitle(KivWindow& window, const KivString& title) override;
    void SetWindowPosition(KivWindow& window, KivPoint position) override;
    void SetWindowSize(KivWindow& window, KivPoint size) override;
    void SetWindowBounds(KivWindow& window, const KivRect& bounds) override;
    void SetShape(KivWindow& window, const KivRect* rects, int32_t count) override;
    KivRect GetWindowBounds(const KivWindow& window) override;
    void Move(KivWindow& window) override;
    void MoveAndShow(KivWindow& window) override;
    void Show(KivWindow& window, bool show) override;
    bool IsMinimized(const KivWindow& window) override;
    void ShowAsync(KivWindow& window, bool show) override;
    void Hide(KivWindow& window) override;
    void Activate(KivWindow& window) override;
    bool IsForeground(const KivWindow& window) override;
    void ProcessPendingEvents() override;
    void RunMessageLoop() override;
    void EndModal(KivWindow& window) override;
    void RunModal(KivWindow& window) override;
    void Quit() override;
    void SendForceExecuteEvents() override;
    void Invalidate(KivControl& control, const KivRect* rect) override;
    void UpdateNow(KivWindow& window) override;
    void SetMouseCapture(KivWindow& window, bool on) override;
    void SetCursorShape(int32_t shape) override { cursorShape_ = shape; }
    KivPoint GetCursorScreenPosition() override { return cursor_; }
    KivPoint GetCursorPosition(const KivControl& control) override;
    void SetCursorPosition(const KivControl& control, KivPoint point) override;
    void TrackMouseLeave(KivWindow& window) override;
    uint8_t GetInputState() override { return inputState_; }
    void SetTimer(KivControl& control, int32_t interval) override;

    // Injected input, queued until the next ProcessPendingEvents (any thread). Points are
    // in the window's client coordinates; the cursor follows mouse input.
    void InjectMouseDown(KivWindow& window, KivPoint point, KivMouseButton button, bool doubleClick = false);
    void InjectMouseUp(KivWindow& window, KivPoint point, KivMouseButton button);
    void InjectMouseMove(KivWindow& window, KivPoint point);
    void InjectMouseWheel(KivWindow& window, KivPoint point, int32_t delta);
    void InjectMouseLeave(KivWindow& window);
    void InjectKeyDown(KivWindow& window, uint32_t key);
    void InjectKeyUp(KivWindow& window, uint32_t key);
    void InjectCharacter(KivWindow& window, char32_t character);
    void InjectCloseRequest(KivWindow& window);
    // The user resized the window to `size`.
    void InjectResize(KivWindow& window, KivPoint size);
    // What GetInputState reports: the buttons and keys the "user" holds.
    void SetInputState(uint8_t mask) { inputState_ = mask; }

    // Time for timers; it moves only here.
    void AdvanceClock(uint32_t milliseconds);
    // The pixels the window shows (null without a native window).
    const KivBitmap* GetScreen(const KivWindow& window) const;
    // Rectangles painted since the last call, in window coordinates.
    std::vector<KivRect> TakePaintedRects();
    int32_t GetCursorShape() const { return cursorShape_; }
    bool HasMouseCapture(const KivWindow& window) const;
    bool IsTrackingMouseLeave(const KivWindow& window) const;
    KivString GetTitle(const KivWindow& window) const;
    // Called with every window whose modal loop starts, shown and painted, so that a caller
    // can look at a dialog opened deep inside another window's code and end it (null: none).
    void SetModalHook(std::function<void(KivWindow& window)> hook) { modalHook_ = std::move(hook); }

protected:
    void Present(KivNativeRecord& record, const KivRect& rect) override;

private:
    struct Native {
        KivWindow* window = nullptr;
        KivNativeHandle parent = 0;
        KivRect bounds;
        bool visible = false;
        bool child = false;
        bool endModalPosted = false;
        bool trackingLeave = false;
        KivString title;
        KivBitmap screen;
        KivRect pending{0, 0, -1, -1};
        std::vector<KivRect> shape;
    };
    struct Input {
        enum Kind { kDown, kUp, kDouble, kMove, kWheel, kLeave, kKeyDown, kKeyUp, kCharacter, kClose, kResize, kEndModal };
        Kind kind;
        KivNativeHandle window;
        KivPoint point;
        int32_t value;  // button, wheel delta, key, character
    };
    struct Timer {
        int32_t interval;
        uint64_t due;
    };

    Native* Find(const KivControl& control);
    const Native* Find(const KivControl& control) const;
    void Queue(const Input& input);
    // One round of pending work; true when anything was done.
    bool RunPending();
    void Dispatch(const Input& input);
    void PaintPending();

    std::map<KivNativeHandle, Native> natives_;
    KivNativeHandle nextHandle_ = 1;
    KivNativeHandle captureWindow_ = 0;
    KivNativeHandle foreground_ = 0;
    KivLock inputLock_;
    std::deque<Input> inputs_;
    bool quit_ = false;
    KivSemaphore wake_;
    std::map<KivControl*, Timer> clockTimers_;
    uint64_t clock_ = 0;
    KivPoint cursor_{};
    int32_t cursorShape_ = 0;
    uint8_t inputState_ = 0;
    std::vector<KivRect> painted_;
    std::function<void(KivWindow&)> modalHook_;
};
