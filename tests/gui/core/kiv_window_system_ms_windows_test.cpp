// The Win32 window system (run under Wine in the Windows build): a window opens, paints the
// offscreen system's pixels, ticks its timers, ends modal loops on a wake from another
// thread and closes without leftovers.
#if defined(_WIN32)
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/kiv_trace.h"
#include "gui/core/kiv_window.h"
#include "gui/core/kiv_window_system_native.h"
#include "gui/core/kiv_windows.h"
#include "gui/drawing/kiv_drawer.h"
#include "gui/offscreen/kiv_window_system_offscreen.h"
#include "platform/kiv_scheduling.h"

// Last, for the pixel read-back only.
#include <windows.h>

namespace {

struct Picture : KivPanel {
    void Paint(KivDrawer& drawer, const KivRect&) override {
        const KivRect r = GetWindowRect();
        drawer.FillRectangleGradient(r, KivColor::Rgb(250, 200, 0), KivColor::Rgb(0, 90, 250),
                                     KivGradientDirection{}, KivDrawingMode::kCopy);
        drawer.FillCircle(KivPoint{r.left + 12, r.top + 9}, 7, KivColor::Rgb(255, 255, 255, 160),
                          KivDrawingMode::kAlphablend);
    }
    void OnTimer() override {
        if (++ticks == 3) GetWindow()->EndModal(7);
    }
    int ticks = 0;
};

KivWindow* MakeWindow() {
    auto* window = new KivWindow();
    // Wider than the smallest top-level window the system allows.
    window->SetBounds(KivRect{40, 30, 40 + 159, 30 + 99});
    window->SetBackground(KivColor::Rgb(30, 60, 90));
    auto* picture = new Picture();
    picture->SetBounds(KivRect{6, 5, 6 + 39, 5 + 29});
    window->AddChild(picture);
    return window;
}

KivBitmap OffscreenPixels() {
    auto* offscreen = new KivWindowSystemOffscreen();
    KivWindows windows(offscreen);
    std::unique_ptr<KivWindow> window(MakeWindow());
    window->Show();
    offscreen->ProcessPendingEvents();
    return offscreen->GetScreen(*window)->Clone();
}

std::vector<std::string>* traces = nullptr;
void Collect(const KivString& text) {
    if (traces != nullptr) traces->push_back(text.ToUTF8());
}

struct Ender : KivEventTarget {
    void OnNotify(KivOnNotifyParams&) {
        window->EndModal(9);
        window->EndModal(10);
    }
    KivWindow* window = nullptr;
};

TEST(KivWindowSystemMSWindows, OpensPaintsTicksEndsModalAndCloses) {
    const KivBitmap expected = OffscreenPixels();
    auto* system = new KivWindowSystemMSWindows();
    KivWindows windows(system);
    EXPECT_EQ(system->GetName(), KivString("Win32 native window-system"));
    EXPECT_EQ(system->GetCapabilities(), 3);

    std::unique_ptr<KivWindow> window(MakeWindow());
    window->Show();
    ASSERT_TRUE(window->HasNativeWindow());
    EXPECT_TRUE(system->IsVisible(*window));
    const KivRect bounds = system->GetWindowBounds(*window);
    EXPECT_EQ(bounds.Width(), 160);
    EXPECT_EQ(bounds.Height(), 100);
    for (int i = 0; i < 100 && system->GetPaintCount() == 0; ++i) {
        system->ProcessPendingEvents();
        KivPlatform::SleepMilliseconds(5);
    }
    ASSERT_GT(system->GetPaintCount(), 0);
    // What reached the window's device context.
    HWND hwnd = reinterpret_cast<HWND>(window->GetNativeHandle());
    HDC dc = GetDC(hwnd);
    int wrong = 0;
    for (int y = 0; y < 100; y += 3) {
        for (int x = 0; x < 160; x += 3) {
            const COLORREF pixel = GetPixel(dc, x, y);
            const KivColor want = expected.At(x, y);
            if (pixel != RGB(want.r, want.g, want.b)) ++wrong;
        }
    }
    ReleaseDC(hwnd, dc);
    EXPECT_EQ(wrong, 0);

    // Nothing changes: nothing is painted again.
    const int64_t paints = system->GetPaintCount();
    for (int i = 0; i < 10; ++i) {
        system->ProcessPendingEvents();
        KivPlatform::SleepMilliseconds(5);
    }
    EXPECT_EQ(system->GetPaintCount(), paints);

    auto* picture = static_cast<Picture*>(window->GetChild(0));
    system->SetTimer(*picture, 10);
    EXPECT_EQ(window->RunModal(), 7);
    system->SetTimer(*picture, 0);

    std::vector<std::string> collected;
    traces = &collected;
    KivTrace::Sink previous = KivTrace::SetSink(&Collect);
    Ender ender;
    ender.window = window.get();
    KivEvent<KivOnNotifyParams> event;
    event.AddHandler(&ender, &Ender::OnNotify);
    std::thread worker([&] {
        KivPlatform::SleepMilliseconds(20);
        windows.Post(event, KivOnNotifyParams{});
    });
    EXPECT_EQ(window->RunModal(), 10);
    worker.join();
    KivTrace::SetSink(previous);
    traces = nullptr;
    EXPECT_EQ(picture->ticks, 3);
    EXPECT_NE(std::find(collected.begin(), collected.end(), "KivWindowSystemMSWindows::EndModal called more than once"),
              collected.end());

    window->Close();
    EXPECT_FALSE(IsWindow(hwnd));
    for (int i = 0; i < 100; ++i) {
        std::unique_ptr<KivWindow> other(MakeWindow());
        other->Show();
        system->ProcessPendingEvents();
    }
    EXPECT_EQ(system->GetNativeWindowCount(), 0);
}

// A host's loop runs around the plug-in's: the idle call takes only messages of the plug-in's
// windows, and a WM_QUIT met by a modal loop ends it and stays for the host.
TEST(KivWindowSystemMSWindows, IdleAndModalLoopsLeaveTheHostsMessagesAndQuit) {
    auto* system = new KivWindowSystemMSWindows();
    KivWindows windows(system);
    WNDCLASSW hostClass{};
    hostClass.lpfnWndProc = DefWindowProcW;
    hostClass.hInstance = GetModuleHandleW(nullptr);
    hostClass.lpszClassName = L"KivQuitTestHost";
    RegisterClassW(&hostClass);
    HWND host = CreateWindowExW(0, L"KivQuitTestHost", L"Host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                hostClass.hInstance, nullptr);
    ASSERT_NE(host, nullptr);
    std::unique_ptr<KivWindow> window(MakeWindow());
    window->Show();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);

    constexpr UINT kHostMessage = WM_APP + 17;
    PostMessageW(host, kHostMessage, 5, 0);
    PostQuitMessage(3);
    system->ProcessPendingEvents();
    EXPECT_TRUE(PeekMessageW(&message, host, kHostMessage, kHostMessage, PM_REMOVE));
    EXPECT_EQ(message.wParam, 5u);
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 3u);

    PostQuitMessage(4);
    EXPECT_EQ(window->RunModal(), 0);  // ended by the quit, not by the window
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 4u);
    window->Close();
    DestroyWindow(host);
}

}  // namespace
#endif  // _WIN32
