// The Win32 side of the window system: one registered window class whose window procedure
// turns messages into the toolkit's input, painting through a top-down 32-bit DIB copy of
// the back buffer, timers with the control as timer id.
#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/kiv_native_windows.h"

namespace KivPlatform {
namespace {

constexpr UINT kEndModalMessage = 1024;       // WM_USER: ends the window's modal loop
constexpr UINT kExecuteEventsMessage = 1025;  // the GUI thread runs its queued events
constexpr UINT kRepaintAllMessage = 1026;     // the whole window is repainted
constexpr UINT kShowMessage = 1027;           // ShowWindow on the GUI thread (wParam: show)
constexpr wchar_t kClassName[] = L"KivWindow";

class Win32Windowing;
Win32Windowing* current = nullptr;

uint8_t StateMask() {
    uint8_t mask = 0;
    if (GetAsyncKeyState(VK_LBUTTON) < 0) mask |= 1;
    if (GetAsyncKeyState(VK_MBUTTON) < 0) mask |= 2;
    if (GetAsyncKeyState(VK_RBUTTON) < 0) mask |= 4;
    if (GetAsyncKeyState(VK_CONTROL) < 0) mask |= 16;
    if (GetAsyncKeyState(VK_MENU) < 0) mask |= 32;
    if (GetAsyncKeyState(VK_SHIFT) < 0) mask |= 64;
    return mask;
}

uint8_t MessageStateMask(WPARAM keys) {
    uint8_t mask = 0;
    if (keys & MK_LBUTTON) mask |= 1;
    if (keys & MK_MBUTTON) mask |= 2;
    if (keys & MK_RBUTTON) mask |= 4;
    if (keys & MK_CONTROL) mask |= 16;
    if (GetKeyState(VK_MENU) < 0) mask |= 32;
    if (keys & MK_SHIFT) mask |= 64;
    return mask;
}

class Win32Windowing final : public NativeWindowing {
public:
    Win32Windowing(NativeInputSink& sink, HINSTANCE instance) : sink_(sink), instance_(instance) {
        threadId_ = GetCurrentThreadId();
        current = this;
        // Wake-ups go to a message-only window: inside a host, the host's message loop
        // dispatches them to our procedure, where a thread message would be dropped.
        wakeWindow_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance_, nullptr);
    }
    ~Win32Windowing() override {
        while (!windows_.empty()) DestroyWindow(windows_.begin()->first);
        if (wakeWindow_ != nullptr) ::DestroyWindow(wakeWindow_);
        UnregisterClassW(kClassName, instance_);
        if (current == this) current = nullptr;
    }

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (current != nullptr) {
            LRESULT result = 0;
            if (current->Handle(hwnd, message, wParam, lParam, result)) return result;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    const char* Name() const override { return "Win32 native window-system"; }

    NativeWindowHandle NewWindow(NativeWindowHandle parent, int32_t x, int32_t y, int32_t width, int32_t height,
                                    void* owner) override {
        const DWORD style = parent != 0 ? WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN
                                        : WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
        int32_t outerWidth = width, outerHeight = height;
        if (parent == 0) {
            // The toolkit's size is the client area's.
            RECT rect{0, 0, width, height};
            AdjustWindowRectEx(&rect, style, FALSE, 0);
            outerWidth = rect.right - rect.left;
            outerHeight = rect.bottom - rect.top;
        }
        HWND hwnd = CreateWindowExW(0, kClassName, L"", style, x, y, outerWidth, outerHeight,
                                    reinterpret_cast<HWND>(parent), nullptr, instance_, nullptr);
        if (hwnd == nullptr) return 0;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
        windows_[reinterpret_cast<NativeWindowHandle>(hwnd)] = owner;
        return reinterpret_cast<NativeWindowHandle>(hwnd);
    }

    void DestroyWindow(NativeWindowHandle handle) override {
        if (windows_.erase(handle) == 0) return;
        ::DestroyWindow(reinterpret_cast<HWND>(handle));
    }

    void SetParent(NativeWindowHandle handle, NativeWindowHandle parent, bool changeStyle, bool child) override {
        HWND hwnd = reinterpret_cast<HWND>(handle);
        if (changeStyle) {
            LONG style = GetWindowLongW(hwnd, GWL_STYLE);
            if (child && parent != 0) {
                style = (style & ~static_cast<LONG>(WS_OVERLAPPEDWINDOW | WS_POPUP)) | WS_CHILD;
            } else {
                style = (style & ~static_cast<LONG>(WS_CHILD)) | WS_OVERLAPPEDWINDOW;
            }
            SetWindowLongW(hwnd, GWL_STYLE, style);
        }
        ::SetParent(hwnd, reinterpret_cast<HWND>(parent));
    }

    bool IsVisible(NativeWindowHandle handle) override { return IsWindowVisible(reinterpret_cast<HWND>(handle)) != 0; }

    void SetTitle(NativeWindowHandle handle, const char16_t* text, int32_t count) override {
        std::wstring title(reinterpret_cast<const wchar_t*>(text), static_cast<size_t>(count));
        SetWindowTextW(reinterpret_cast<HWND>(handle), title.c_str());
    }

    void Place(NativeWindowHandle handle, int32_t x, int32_t y, int32_t width, int32_t height,
               int32_t placement) override {
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (!(placement & kMove)) flags |= SWP_NOMOVE;
        if (!(placement & kSize)) flags |= SWP_NOSIZE;
        HWND hwnd = reinterpret_cast<HWND>(handle);
        if ((placement & kSize) && !(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) {
            RECT rect{0, 0, width, height};
            AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), FALSE, 0);
            width = rect.right - rect.left;
            height = rect.bottom - rect.top;
        }
        SetWindowPos(hwnd, nullptr, x, y, width, height, flags);
    }

    void SetShape(NativeWindowHandle handle, const int32_t* rects, int32_t count) override {
        HRGN region = nullptr;
        for (int32_t i = 0; rects != nullptr && i < count; ++i) {
            const int32_t* r = rects + 4 * i;
            HRGN part = CreateRectRgn(r[0], r[1], r[2] + 1, r[3] + 1);
            if (region == nullptr) {
                region = part;
            } else {
                CombineRgn(region, region, part, RGN_OR);
                DeleteObject(part);
            }
        }
        // The window owns the region from here on.
        SetWindowRgn(reinterpret_cast<HWND>(handle), region, TRUE);
    }

    bool GetBounds(NativeWindowHandle handle, int32_t bounds[4]) override {
        HWND hwnd = reinterpret_cast<HWND>(handle);
        RECT rect;
        if (!GetWindowRect(hwnd, &rect)) return false;
        if (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) {
            POINT corner{rect.left, rect.top};
            ::ScreenToClient(GetParent(hwnd), &corner);
            rect = RECT{corner.x, corner.y, corner.x + rect.right - rect.left, corner.y + rect.bottom - rect.top};
        } else {
            // The client area, where the toolkit paints.
            RECT client;
            GetClientRect(hwnd, &client);
            POINT corner{0, 0};
            ::ClientToScreen(hwnd, &corner);
            rect = RECT{corner.x, corner.y, corner.x + client.right, corner.y + client.bottom};
        }
        bounds[0] = rect.left;
        bounds[1] = rect.top;
        bounds[2] = rect.right - 1;
        bounds[3] = rect.bottom - 1;
        return true;
    }

    void Show(NativeWindowHandle handle, bool show) override {
        ShowWindow(reinterpret_cast<HWND>(handle), show ? SW_SHOW : SW_HIDE);
    }

    void PostShow(NativeWindowHandle handle, bool show) override {
        PostMessageW(reinterpret_cast<HWND>(handle), kShowMessage, show ? 1 : 0, 0);
    }

    bool IsMinimized(NativeWindowHandle handle) override { return IsIconic(reinterpret_cast<HWND>(handle)) != 0; }

    void Activate(NativeWindowHandle handle) override {
        ReleaseCapture();
        SetForegroundWindow(reinterpret_cast<HWND>(handle));
        SetFocus(reinterpret_cast<HWND>(handle));
    }

    void* ForegroundOwner() override {
        HWND hwnd = GetForegroundWindow();
        auto found = windows_.find(reinterpret_cast<NativeWindowHandle>(hwnd));
        return found == windows_.end() ? nullptr : found->second;
    }

    void GetWorkArea(int32_t x, int32_t y, int32_t area[4]) override {
        RECT rect{0, 0, 0, 0};
        MONITORINFO info{};
        info.cbSize = sizeof info;
        HMONITOR monitor = MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONEAREST);
        if (monitor != nullptr && GetMonitorInfoW(monitor, &info)) {
            rect = info.rcWork;
        } else {
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &rect, 0);
        }
        area[0] = rect.left;
        area[1] = rect.top;
        area[2] = rect.right - 1;
        area[3] = rect.bottom - 1;
    }

    // Waiting (modal loops, a tool's own loop) takes every message of the thread, as the
    // system's own modal dialogs do: the host's windows keep painting and answering. Idling
    // (a host's idle call) takes only the messages of our own windows: the host's loop
    // dispatches everything else, a host's messages taken here would skip its own filters,
    // and one WM_QUIT taken here would be lost to it. A WM_QUIT seen while waiting ends the
    // wait and goes back into the queue, for the loop that runs around ours.
    bool Pump(bool wait) override {
        MSG message;
        if (wait) {
            const BOOL result = GetMessageW(&message, nullptr, 0, 0);
            if (result == -1) return false;
            if (result == 0) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return false;
            }
            // One message per call: the loop around checks after each whether it has ended,
            // so that nothing of the window's (a timer due meanwhile) runs after its end.
            Dispatch(message);
            return true;
        }
        for (HWND own : OwnWindows()) {
            // A bound keeps a window that posts to itself from holding the host's thread.
            for (int count = 0; count < kIdleMessageLimit && IsWindow(own) &&
                                PeekMessageW(&message, own, 0, 0, PM_REMOVE);
                 ++count) {
                // A pending quit comes whatever the window filter says (so Wine does).
                if (message.message == WM_QUIT) {
                    PostQuitMessage(static_cast<int>(message.wParam));
                    return !wait;
                }
                Dispatch(message);
            }
        }
        return true;
    }

    void PostQuit() override { PostQuitMessage(0); }

    void PostEndModal(NativeWindowHandle handle) override {
        PostMessageW(reinterpret_cast<HWND>(handle), kEndModalMessage, 0, 0);
    }

    void PostRepaintAll(NativeWindowHandle handle) override {
        PostMessageW(reinterpret_cast<HWND>(handle), kRepaintAllMessage, 0, 0);
    }

    void Wake() override {
        if (wakeWindow_ == nullptr || !PostMessageW(wakeWindow_, kExecuteEventsMessage, 0, 0)) {
            PostThreadMessageW(threadId_, kExecuteEventsMessage, 0, 0);
        }
    }

    void InvalidateRect(NativeWindowHandle handle, int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        RECT rect{left, top, right + 1, bottom + 1};
        ::InvalidateRect(reinterpret_cast<HWND>(handle), &rect, FALSE);
    }

    void UpdateNow(NativeWindowHandle handle) override { UpdateWindow(reinterpret_cast<HWND>(handle)); }

    void Present(NativeWindowHandle handle, const uint32_t* pixels, int32_t rowLength, int32_t width, int32_t height,
                 int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        HWND hwnd = reinterpret_cast<HWND>(handle);
        HDC dc = paintWindow_ == hwnd ? paintDc_ : GetDC(hwnd);
        if (dc == nullptr) return;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = rowLength;
        info.bmiHeader.biHeight = -height;  // top-down rows, as the bitmap keeps them
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        (void)width;
        // Scan lines are counted from the top of the top-down image.
        SetDIBitsToDevice(dc, left, top, static_cast<DWORD>(right - left + 1), static_cast<DWORD>(bottom - top + 1),
                          left, top, 0, static_cast<UINT>(height), pixels, &info, DIB_RGB_COLORS);
        if (dc != paintDc_) ReleaseDC(hwnd, dc);
    }

    void SetCapture(NativeWindowHandle handle, bool on) override {
        if (on) {
            ::SetCapture(reinterpret_cast<HWND>(handle));
        } else {
            ReleaseCapture();
        }
    }

    void SetCursorShape(int32_t shape) override {
        static const LPCWSTR shapes[] = {IDC_ARROW, IDC_HAND, IDC_IBEAM, IDC_SIZEWE, IDC_SIZENS, IDC_CROSS, IDC_WAIT};
        if (shape < 0 || shape >= 7) return;
        SetCursor(LoadCursorW(nullptr, shapes[shape]));
    }

    void GetCursorScreenPosition(int32_t& x, int32_t& y) override {
        POINT point{0, 0};
        GetCursorPos(&point);
        x = point.x;
        y = point.y;
    }

    void ScreenToClient(NativeWindowHandle handle, int32_t& x, int32_t& y) override {
        POINT point{x, y};
        ::ScreenToClient(reinterpret_cast<HWND>(handle), &point);
        x = point.x;
        y = point.y;
    }

    void ClientToScreen(NativeWindowHandle handle, int32_t& x, int32_t& y) override {
        POINT point{x, y};
        ::ClientToScreen(reinterpret_cast<HWND>(handle), &point);
        x = point.x;
        y = point.y;
    }

    void SetCursorScreenPosition(int32_t x, int32_t y) override { SetCursorPos(x, y); }

    void TrackMouseLeave(NativeWindowHandle handle) override {
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = reinterpret_cast<HWND>(handle);
        TrackMouseEvent(&track);
    }

    uint8_t GetInputState() override { return StateMask(); }

    void SetTimer(NativeWindowHandle handle, uintptr_t timerId, int32_t interval) override {
        if (interval < 1) {
            KillTimer(reinterpret_cast<HWND>(handle), timerId);
        } else {
            ::SetTimer(reinterpret_cast<HWND>(handle), timerId, static_cast<UINT>(interval), nullptr);
        }
    }

private:
    // Thread messages have no window procedure: they are handled here. True when anything
    // reached the sink.
    static constexpr int kIdleMessageLimit = 256;

    // Our windows (editors in a host's window, our own top-level windows) and the wake window.
    std::vector<HWND> OwnWindows() const {
        std::vector<HWND> own;
        if (wakeWindow_ != nullptr) own.push_back(wakeWindow_);
        for (const auto& entry : windows_) own.push_back(reinterpret_cast<HWND>(entry.first));
        return own;
    }

    bool Dispatch(MSG& message) {
        if (message.hwnd == nullptr && message.message == kExecuteEventsMessage) {
            Deliver(nullptr, NativeInput::kExecuteEvents);
            return true;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
        return message.message != WM_PAINT;
    }

    void Deliver(HWND hwnd, NativeInput::Kind kind, int32_t left = 0, int32_t top = 0, int32_t right = -1,
                 int32_t bottom = -1, int32_t value = 0, uint8_t state = 0, uintptr_t timerId = 0) {
        NativeInput input;
        input.kind = kind;
        input.window = reinterpret_cast<NativeWindowHandle>(hwnd);
        if (hwnd != nullptr) {
            auto found = windows_.find(input.window);
            if (found == windows_.end()) return;
            input.owner = found->second;
        }
        input.left = left;
        input.top = top;
        input.right = right;
        input.bottom = bottom;
        input.value = value;
        input.state = state;
        input.timerId = timerId;
        sink_.OnNativeInput(input);
    }

    bool Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (hwnd == wakeWindow_ && hwnd != nullptr) {
            if (message != kExecuteEventsMessage) return false;
            Deliver(nullptr, NativeInput::kExecuteEvents);
            return true;
        }
        if (windows_.count(reinterpret_cast<NativeWindowHandle>(hwnd)) == 0) return false;
        const int32_t x = static_cast<int16_t>(LOWORD(lParam));
        const int32_t y = static_cast<int16_t>(HIWORD(lParam));
        switch (message) {
            case WM_PAINT: {
                PAINTSTRUCT paint;
                HDC dc = BeginPaint(hwnd, &paint);
                paintWindow_ = hwnd;
                paintDc_ = dc;
                const RECT& r = paint.rcPaint;
                if (r.right > r.left && r.bottom > r.top) {
                    Deliver(hwnd, NativeInput::kPaint, r.left, r.top, r.right - 1, r.bottom - 1);
                }
                paintWindow_ = nullptr;
                paintDc_ = nullptr;
                EndPaint(hwnd, &paint);
                return true;
            }
            case WM_ERASEBKGND:
                result = 1;  // every pixel is painted from the back buffer
                return true;
            case WM_LBUTTONDOWN: Deliver(hwnd, NativeInput::kMouseDown, x, y, -1, -1, 0, MessageStateMask(wParam)); return true;
            case WM_MBUTTONDOWN: Deliver(hwnd, NativeInput::kMouseDown, x, y, -1, -1, 1, MessageStateMask(wParam)); return true;
            case WM_RBUTTONDOWN: Deliver(hwnd, NativeInput::kMouseDown, x, y, -1, -1, 2, MessageStateMask(wParam)); return true;
            case WM_LBUTTONDBLCLK: Deliver(hwnd, NativeInput::kMouseDoubleClick, x, y, -1, -1, 0, MessageStateMask(wParam)); return true;
            case WM_MBUTTONDBLCLK: Deliver(hwnd, NativeInput::kMouseDoubleClick, x, y, -1, -1, 1, MessageStateMask(wParam)); return true;
            case WM_RBUTTONDBLCLK: Deliver(hwnd, NativeInput::kMouseDoubleClick, x, y, -1, -1, 2, MessageStateMask(wParam)); return true;
            case WM_LBUTTONUP: Deliver(hwnd, NativeInput::kMouseUp, x, y, -1, -1, 0, MessageStateMask(wParam)); return true;
            case WM_MBUTTONUP: Deliver(hwnd, NativeInput::kMouseUp, x, y, -1, -1, 1, MessageStateMask(wParam)); return true;
            case WM_RBUTTONUP: Deliver(hwnd, NativeInput::kMouseUp, x, y, -1, -1, 2, MessageStateMask(wParam)); return true;
            case WM_MOUSEMOVE: Deliver(hwnd, NativeInput::kMouseMove, x, y, -1, -1, 0, MessageStateMask(wParam)); return true;
            case WM_MOUSEWHEEL: {
                POINT point{x, y};  // screen coordinates for this message
                ::ScreenToClient(hwnd, &point);
                Deliver(hwnd, NativeInput::kMouseWheel, point.x, point.y, -1, -1,
                        static_cast<int16_t>(HIWORD(wParam)), MessageStateMask(LOWORD(wParam)));
                return true;
            }
            case WM_MOUSELEAVE: Deliver(hwnd, NativeInput::kMouseLeave); return true;
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN:
                Deliver(hwnd, NativeInput::kKeyDown, 0, 0, -1, -1, static_cast<int32_t>(wParam), StateMask());
                return message == WM_KEYDOWN;
            case WM_KEYUP:
            case WM_SYSKEYUP:
                Deliver(hwnd, NativeInput::kKeyUp, 0, 0, -1, -1, static_cast<int32_t>(wParam), StateMask());
                return message == WM_KEYUP;
            case WM_CHAR: {
                const auto unit = static_cast<uint32_t>(wParam);
                if (unit >= 0xD800 && unit < 0xDC00) {
                    highSurrogate_ = unit;
                    return true;
                }
                uint32_t character = unit;
                if (unit >= 0xDC00 && unit < 0xE000 && highSurrogate_ != 0) {
                    character = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00);
                }
                highSurrogate_ = 0;
                Deliver(hwnd, NativeInput::kCharacter, 0, 0, -1, -1, static_cast<int32_t>(character));
                return true;
            }
            case WM_TIMER: Deliver(hwnd, NativeInput::kTimer, 0, 0, -1, -1, 0, 0, wParam); return true;
            case WM_CLOSE: Deliver(hwnd, NativeInput::kCloseRequest); return true;
            case WM_SIZE:
            case WM_MOVE: {
                int32_t bounds[4];
                if (GetBounds(reinterpret_cast<NativeWindowHandle>(hwnd), bounds)) {
                    Deliver(hwnd, NativeInput::kBounds, bounds[0], bounds[1], bounds[2], bounds[3]);
                }
                return true;
            }
            case kEndModalMessage: Deliver(hwnd, NativeInput::kEndModal); return true;
            case kRepaintAllMessage: ::InvalidateRect(hwnd, nullptr, FALSE); return true;
            case kShowMessage: ShowWindow(hwnd, wParam != 0 ? SW_SHOW : SW_HIDE); return true;
            case WM_SETCURSOR:
                if (LOWORD(lParam) == HTCLIENT) {
                    result = TRUE;  // the toolkit sets the cursor itself
                    return true;
                }
                return false;
            default: return false;
        }
    }

    NativeInputSink& sink_;
    HINSTANCE instance_;
    DWORD threadId_ = 0;
    std::map<NativeWindowHandle, void*> windows_;
    HWND wakeWindow_ = nullptr;
    HWND paintWindow_ = nullptr;
    HDC paintDc_ = nullptr;
    uint32_t highSurrogate_ = 0;
};

}  // namespace

NativeWindowing* NativeWindowing::Open(NativeInputSink& sink) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    // The module holding this code: a plug-in's windows belong to the plug-in library.
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&NativeWindowing::Open), &instance);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS | CS_OWNDC;
    windowClass.lpfnWndProc = &Win32Windowing::Procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    windowClass.lpszClassName = kClassName;
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
    // The thread's message queue exists from here on, so that wake-ups posted before the
    // first window are not lost.
    MSG message;
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    return new Win32Windowing(sink, instance);
}

}  // namespace KivPlatform
