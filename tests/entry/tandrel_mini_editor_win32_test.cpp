// TandrelMini's editor in a VST 2.4 host on Windows, through the built plug-in file: the
// host asks for the size, opens the editor in a window of its own (an HWND) and idles it;
// the editor is a child window of that size, and opening and closing it again and again
// leaves no child window behind.
#if defined(_WIN32)
#include <gtest/gtest.h>
#include <windows.h>

#include "tools/vst2host/kiv_vst2_plugin.h"

namespace {

class Win32Host {
public:
    Win32Host() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TandrelMiniTestHost";
        RegisterClassW(&windowClass);
        window = CreateWindowExW(0, L"TandrelMiniTestHost", L"Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1100, 700,
                                 nullptr, nullptr, windowClass.hInstance, nullptr);
    }
    ~Win32Host() {
        if (window) DestroyWindow(window);
    }
    void Pump(KivVst2Plugin& plugin, int rounds) {
        for (int i = 0; i < rounds; ++i) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            plugin.Dispatch(effEditIdle);
            Sleep(5);
        }
    }
    HWND window = nullptr;
};

TEST(TandrelMiniEditorWin32, EmbedsAChildWindowOfItsSizeAndLeavesNoneBehind) {
    Win32Host host;
    ASSERT_NE(host.window, nullptr);
    KivVst2Plugin plugin;
    ASSERT_TRUE(plugin.Load(KIV_TANDREL_MINI_PATH)) << plugin.ErrorText();
    plugin.Open();
    for (int round = 0; round < 10; ++round) {
        ERect* rect = nullptr;
        ASSERT_EQ(plugin.Dispatch(effEditGetRect, 0, 0, &rect), 1);
        ASSERT_NE(rect, nullptr);
        EXPECT_EQ(rect->right - rect->left, 1000);
        EXPECT_EQ(rect->bottom - rect->top, 712);
        ASSERT_EQ(plugin.Dispatch(effEditOpen, 0, 0, host.window), 1) << round;
        host.Pump(plugin, 5);
        HWND child = GetWindow(host.window, GW_CHILD);
        ASSERT_NE(child, nullptr);
        RECT client{};
        GetClientRect(child, &client);
        EXPECT_EQ(client.right - client.left, 1000);
        EXPECT_EQ(client.bottom - client.top, 712);
        plugin.Dispatch(effEditClose);
        host.Pump(plugin, 2);
        EXPECT_EQ(GetWindow(host.window, GW_CHILD), nullptr) << round;
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
        Win32Host host;
        ASSERT_EQ(plugin.Dispatch(effEditOpen, 0, 0, host.window), 1) << round;
        host.Pump(plugin, 3);
        DestroyWindow(host.window);
        host.window = nullptr;
        host.Pump(plugin, 3);
        plugin.Dispatch(effEditClose);
        host.Pump(plugin, 2);
    }
    Win32Host host;
    ASSERT_EQ(plugin.Dispatch(effEditOpen, 0, 0, host.window), 1);
    host.Pump(plugin, 3);
    EXPECT_NE(GetWindow(host.window, GW_CHILD), nullptr);
    plugin.Dispatch(effEditClose);
    host.Pump(plugin, 2);
    EXPECT_EQ(GetWindow(host.window, GW_CHILD), nullptr);
}

}  // namespace
#endif  // _WIN32
