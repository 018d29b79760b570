// TandrelMini's editor in a VST 2.4 host on Windows, through the built plug-in file: the
// host asks for the size, opens the editor in a window of its own (an HWND) and idles it;
// the editor is a child window of that size, and opening and closing it again and again
// leaves no child window behind.
#if defined(_WIN32)
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/kiv_win32_host_window.h"
#include "tools/vst2host/kiv_vst2_plugin.h"

namespace {

// The host's loop idling the editor `rounds` times.
void Pump(KivVst2Plugin& plugin, int rounds) {
    for (int i = 0; i < rounds; ++i) {
        KivWin32HostWindow::DispatchPending();
        plugin.Dispatch(effEditIdle);
        Sleep(5);
    }
}

TEST(TandrelMiniEditorWin32, EmbedsAChildWindowOfItsSizeAndLeavesNoneBehind) {
    KivWin32HostWindow host;
    ASSERT_NE(host.Handle(), nullptr);
    KivVst2Plugin plugin;
    ASSERT_TRUE(plugin.Load(KIV_TANDREL_MINI_PATH)) << plugin.ErrorText();
    plugin.Open();
    for (int round = 0; round < 10; ++round) {
        ERect* rect = nullptr;
        ASSERT_EQ(plugin.Dispatch(effEditGetRect, 0, 0, &rect), 1);
        ASSERT_NE(rect, nullptr);
        EXPECT_EQ(rect->right - rect->left, 1000);
        EXPECT_EQ(rect->bottom - rect->top, 712);
        ASSERT_EQ(plugin.Dispatch(effEditOpen, 0, 0, host.Handle()), 1) << round;
        Pump(plugin, 5);
        HWND child = GetWindow(host.Handle(), GW_CHILD);
        ASSERT_NE(child, nullptr);
        RECT client{};
        GetClientRect(child, &client);
        EXPECT_EQ(client.right - client.left, 1000);
        EXPECT_EQ(client.bottom - client.top, 712);
        plugin.Dispatch(effEditClose);
        Pump(plugin, 2);
        EXPECT_EQ(GetWindow(host.Handle(), GW_CHILD), nullptr) << round;
    }
}

// A host that destroys its window before it closes the editor: the system destroys the
// editor's window with it; closing the editor afterwards is harmless, and it opens again in
// a new window.
TEST(TandrelMiniEditorWin32, SurvivesTheHostDestroyingItsWindowFirst) {
    KivVst2Plugin plugin;
    ASSERT_TRUE(plugin.Load(KIV_TANDREL_MINI_PATH)) << plugin.ErrorText();
    plugin.Open();
    for (int round = 0; round < 2; ++round) {
        KivWin32HostWindow host;
        ASSERT_EQ(plugin.Dispatch(effEditOpen, 0, 0, host.Handle()), 1) << round;
        Pump(plugin, 3);
        host.Destroy();
        Pump(plugin, 3);
        plugin.Dispatch(effEditClose);
        Pump(plugin, 2);
    }
    KivWin32HostWindow host;
    ASSERT_EQ(plugin.Dispatch(effEditOpen, 0, 0, host.Handle()), 1);
    Pump(plugin, 3);
    EXPECT_NE(GetWindow(host.Handle(), GW_CHILD), nullptr);
    plugin.Dispatch(effEditClose);
    Pump(plugin, 2);
    EXPECT_EQ(GetWindow(host.Handle(), GW_CHILD), nullptr);
}

}  // namespace
#endif  // _WIN32
