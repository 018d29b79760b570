#pragma once
// A VST 2.4 host's window for the built plug-in's editor on a private Xvfb server: a parent
// window the editor opens in, the idle calls a host's GUI thread makes, and a private data
// folder (XDG_DATA_HOME), so that no editor size or settings of another run or of the user
// reach the test. Tests skip without Xvfb.
#if !defined(_WIN32)
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>

#include "tests/support/kiv_xvfb_host_test.h"
#include "tools/vst2host/kiv_vst2_plugin.h"

class TandrelMiniVst2X11Host : public KivXvfbHostTest {
protected:
    void SetUp() override {
        KivXvfbHostTest::SetUp();
        if (!Ready()) return;
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        data = std::filesystem::temp_directory_path() /
               (std::string("tandrel-") + test->name() + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(data);
        std::filesystem::create_directories(data);
        ::setenv("XDG_DATA_HOME", data.string().c_str(), 1);
        parent = OpenHostWindow(2000, 2000);
    }
    void TearDown() override {
        KivXvfbHostTest::TearDown();
        std::error_code ignored;
        std::filesystem::remove_all(data, ignored);
    }
    bool OpenEditor(KivVst2Plugin& plugin) {
        return plugin.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(parent)) != 0;
    }
    // Idles the editor as a host's GUI thread does, for about `milliseconds`.
    void Idle(KivVst2Plugin& plugin, int milliseconds) {
        for (int elapsed = 0; elapsed < milliseconds; elapsed += 10) {
            plugin.Dispatch(effEditIdle);
            XSync(display, False);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    std::filesystem::path data;
    Window parent = 0;
};
#endif  // !_WIN32
