#pragma once
// The host's side of the editor tests on Windows: a top-level window of the host's that
// editors open into, and the host's message loop.
#if defined(_WIN32)
#include <windows.h>

class KivWin32HostWindow {
public:
    explicit KivWin32HostWindow(bool visible = true) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"KivTestHostWindow";
        RegisterClassW(&windowClass);  // fails harmlessly for every window after the first
        window_ = CreateWindowExW(0, L"KivTestHostWindow", L"Host", WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 0,
                                  0, 1100, 700, nullptr, nullptr, windowClass.hInstance, nullptr);
    }
    ~KivWin32HostWindow() { Destroy(); }
    KivWin32HostWindow(const KivWin32HostWindow&) = delete;
    KivWin32HostWindow& operator=(const KivWin32HostWindow&) = delete;

    HWND Handle() const { return window_; }
    // The host destroys its window itself, whatever is open in it.
    void Destroy() {
        if (window_) DestroyWindow(window_);
        window_ = nullptr;
    }
    // One pass of the host's loop: every message waiting for this thread.
    static void DispatchPending() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

private:
    HWND window_ = nullptr;
};
#endif  // _WIN32
