#pragma once
// A process-wide offscreen window system for tests that drive controls through injected
// input, and small helpers to click and type into a window.
#include <gtest/gtest.h>

#include <memory>

#include "gui/core/kiv_window.h"
#include "gui/core/kiv_windows.h"
#include "gui/offscreen/kiv_window_system_offscreen.h"

class KivOffscreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        system = new KivWindowSystemOffscreen();
        windows = std::make_unique<KivWindows>(system);
    }
    void TearDown() override { windows.reset(); }

    static KivPoint CentreOf(const KivControl& control) {
        const KivRect rect = control.GetWindowRect();
        return KivPoint{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    // Queues a left click at `point` (window coordinates) of `window`.
    void Click(KivWindow& window, KivPoint point, bool doubleClick = false) {
        system->InjectMouseDown(window, point, KivMouseButton::kLeft, doubleClick);
        system->InjectMouseUp(window, point, KivMouseButton::kLeft);
    }
    void Drag(KivWindow& window, KivPoint from, KivPoint to) {
        system->InjectMouseDown(window, from, KivMouseButton::kLeft);
        system->InjectMouseMove(window, to);
        system->InjectMouseUp(window, to, KivMouseButton::kLeft);
    }
    void Key(KivWindow& window, uint32_t key) {
        system->InjectKeyDown(window, key);
        system->InjectKeyUp(window, key);
    }

    KivWindowSystemOffscreen* system = nullptr;
    std::unique_ptr<KivWindows> windows;
};
