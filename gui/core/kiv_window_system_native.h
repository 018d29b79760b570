#pragma once
#include <memory>

#include "gui/core/kiv_window_system_base.h"
#include "platform/kiv_native_windows.h"

// The window system over the operating system's own windows. The toolkit's side (records,
// back buffers, routing to controls, modal loops) lives here; every system call goes
// through the thin KivPlatform::NativeWindowing layer, Xlib on Linux and the Win32 user
// interface on Windows, so that no operating-system header reaches the toolkit.
class KivWindowSystemNative : public KivWindowSystemBase, private KivPlatform::NativeInputSink {
public:
    ~KivWindowSystemNative() override;

    int32_t GetCapabilities() override { return kNativeWindows | kChildWindows; }
    KivString GetName() override;
    // Connects to the display. Raises "No display is available." when there is none.
    void Initialize() override;
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
    void SetCursorShape(int32_t shape) override;
    KivPoint GetCursorScreenPosition() override;
    KivPoint GetCursorPosition(const KivControl& control) override;
    void SetCursorPosition(const KivControl& control, KivPoint point) override;
    void TrackMouseLeave(KivWindow& window) override;
    uint8_t GetInputState() override;
    void SetTimer(KivControl& control, int32_t interval) override;

    // The descriptor a host's event loop may watch to know when to pump; -1 where the
    // system has none.
    int GetWakeDescriptor() const;
    // When a window was last hidden (millisecond clock).
    uint32_t GetLastHideTime() const { return hiddenAt_; }

protected:
    KivWindowSystemNative() = default;
    void Present(KivNativeRecord& record, const KivRect& rect) override;
    // The class name used in diagnostics ("KivWindowSystemMSWindows").
    virtual const char* TraceName() const = 0;

private:
    void OnNativeInput(const KivPlatform::NativeInput& input) override;
    KivPlatform::NativeWindowHandle Handle(const KivControl& control);

    std::unique_ptr<KivPlatform::NativeWindowing> native_;
    bool quit_ = false;
    uint32_t hiddenAt_ = 0;
    // Windows whose modal run already has its end posted.
    std::vector<KivWindow*> endingModal_;
};

#if defined(_WIN32)
// The Win32 window system.
class KivWindowSystemMSWindows final : public KivWindowSystemNative {
protected:
    const char* TraceName() const override { return "KivWindowSystemMSWindows"; }
};
#else
// The X11 window system.
class KivWindowSystemX11 final : public KivWindowSystemNative {
protected:
    const char* TraceName() const override { return "KivWindowSystemX11"; }
};
#endif
