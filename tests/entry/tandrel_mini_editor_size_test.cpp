// The editor's size through the built VST 2.4 plug-in file on X11: the wheel on the size menu
// moves to the next size, the plug-in asks the host for the window (audioMasterSizeWindow),
// answers effEditGetRect with it and resizes its own window; the size is kept in the
// family's settings, so the next instance's editor opens at it. The data folder is a private
// one (XDG_DATA_HOME). Runs under a private Xvfb server; skips without one.
#if !defined(_WIN32)
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/tandrel_mini_vst2_x11_host.h"

// Last: Xlib's macros would break the headers above.
#include <X11/Xutil.h>

namespace {

namespace fs = std::filesystem;

class TandrelMiniEditorSize : public TandrelMiniVst2X11Host {
protected:
    static std::pair<int, int> RectOf(KivVst2Plugin& plugin) {
        ERect* rect = nullptr;
        if (plugin.Dispatch(effEditGetRect, 0, 0, &rect) == 0 || !rect) return {0, 0};
        return {rect->right - rect->left, rect->bottom - rect->top};
    }
    // Everything the family's settings files in the private data folder hold.
    std::string SettingsText() const {
        std::string text;
        for (const auto& entry : fs::recursive_directory_iterator(data)) {
            if (entry.path().string().find(".settings.xml") == std::string::npos) continue;
            std::ifstream file(entry.path());
            std::stringstream content;
            content << file.rdbuf();
            text += content.str();
        }
        return text;
    }
};

TEST_F(TandrelMiniEditorSize, TheSizeMenuResizesThroughTheHostAndTheNextEditorOpensAtIt) {
    KivXvfbSession::FakeInput fake;
    if (!fake.Available()) GTEST_SKIP() << "libXtst is not installed";
    int height = 0;
    {
        KivVst2Plugin plugin;
        ASSERT_TRUE(plugin.Load(KIV_TANDREL_MINI_PATH)) << plugin.ErrorText();
        plugin.Open();
        const auto [width, laidOutHeight] = RectOf(plugin);
        ASSERT_EQ(width, 1000);
        height = laidOutHeight;
        ASSERT_TRUE(OpenEditor(plugin));
        Idle(plugin, 300);
        // The size menu: 82 x 24 at (904, 10); a notch of the wheel down is the next size.
        fake.motion(display, DefaultScreen(display), 945, 22, CurrentTime);
        Idle(plugin, 50);
        fake.button(display, 5, True, CurrentTime);
        fake.button(display, 5, False, CurrentTime);
        Idle(plugin, 300);
        const int expectedHeight = static_cast<int>(std::lround(height * 1.25));
        bool asked = false;
        for (const KivVst2HostCall& call : plugin.Host().Calls()) {
            if (call.opcode != audioMasterSizeWindow) continue;
            asked = true;
            EXPECT_EQ(call.index, 1250);
            EXPECT_EQ(call.value, expectedHeight);
        }
        EXPECT_TRUE(asked);
        EXPECT_EQ(RectOf(plugin), std::make_pair(1250, expectedHeight));
        EXPECT_EQ(ChildSize(parent), std::make_pair(1250, expectedHeight));
        plugin.Dispatch(effEditClose);
        plugin.Close();
    }
    EXPECT_NE(SettingsText().find("EditorSize=\"125\""), std::string::npos) << SettingsText();

    KivVst2Plugin next;
    ASSERT_TRUE(next.Load(KIV_TANDREL_MINI_PATH)) << next.ErrorText();
    next.Open();
    EXPECT_EQ(RectOf(next), std::make_pair(1250, static_cast<int>(std::lround(height * 1.25))));
    next.Close();
}

}  // namespace
#endif  // !_WIN32
