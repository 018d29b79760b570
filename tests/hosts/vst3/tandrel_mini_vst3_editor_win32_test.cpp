// TandrelMini's VST 3 view in a Windows host: "HWND" is its platform type, its size is known
// before it is attached, attaching makes a child window of that size in the host's window
// and removing it leaves none.
#if defined(_WIN32)
#include <gtest/gtest.h>
#include <windows.h>

#include "hosts/vst3/interfaces/iplugview.h"
#include "tests/hosts/vst3/tandrel_mini_bundle.h"
#include "tests/support/kiv_win32_host_window.h"

using namespace Vst3TestHost;

namespace {

void Pump() {
    for (int i = 0; i < 5; ++i) {
        KivWin32HostWindow::DispatchPending();
        Sleep(5);
    }
}

TEST(TandrelMiniVst3EditorWin32, AttachesAChildWindowOfItsSizeAndRemovesIt) {
    TandrelMiniBundle bundle;
    ASSERT_NO_FATAL_FAILURE(bundle.CreateInstance());
    IEditController* controller = bundle.controller;

    KivWin32HostWindow host;
    const HWND window = host.Handle();
    ASSERT_NE(window, nullptr);
    IPlugView* view = controller->createView("editor");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->isPlatformTypeSupported("HWND"), kResultTrue);
    EXPECT_EQ(view->isPlatformTypeSupported("X11EmbedWindowID"), kResultFalse);
    ViewRect size{};
    ASSERT_EQ(view->getSize(&size), kResultTrue);
    EXPECT_EQ(size.getWidth(), 1000);
    EXPECT_EQ(size.getHeight(), 712);
    ASSERT_EQ(view->attached(window, "HWND"), kResultOk);
    Pump();
    HWND child = GetWindow(window, GW_CHILD);
    ASSERT_NE(child, nullptr);
    RECT client{};
    GetClientRect(child, &client);
    EXPECT_EQ(client.right - client.left, 1000);
    EXPECT_EQ(client.bottom - client.top, 712);
    EXPECT_EQ(view->removed(), kResultOk);
    Pump();
    EXPECT_EQ(GetWindow(window, GW_CHILD), nullptr);
    view->release();
}

}  // namespace
#endif  // _WIN32
