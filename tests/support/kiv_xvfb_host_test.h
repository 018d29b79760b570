#pragma once
// The host's side of the editor tests on Linux: a private Xvfb server for the whole suite
// (its tests skip without one) and, for each test, a connection of the host's with the
// top-level windows editors open into. Host windows are magenta, so whatever an editor leaves
// undrawn shows in a capture.
#if !defined(_WIN32)
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "tests/support/kiv_xvfb_session.h"

class KivXvfbHostTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server_ = new KivXvfbSession::Server(); }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }
    // A fixture's own SetUp calls this first and returns if the test is skipped or failed.
    void SetUp() override {
        if (server_->Pid() == 0) GTEST_SKIP() << "Xvfb is not available";
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr);
    }
    // A fixture's own TearDown closes its editors and plug-ins before calling this.
    void TearDown() override {
        if (!display) return;
        for (Window window : windows_) XDestroyWindow(display, window);
        XCloseDisplay(display);
    }
    bool Ready() const { return !IsSkipped() && !HasFatalFailure(); }

    // A mapped top-level window of the host's, destroyed with the test.
    Window OpenHostWindow(int width, int height) {
        const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, width, height, 0, 0, 0x00FF00FF);
        XMapWindow(display, window);
        XSync(display, False);
        windows_.push_back(window);
        return window;
    }
    // The host destroys one of its windows itself, whatever is open in it.
    void DestroyHostWindow(Window window) {
        std::erase(windows_, window);
        XDestroyWindow(display, window);
        XSync(display, False);
    }
    // Fake input of the first button at (x, y): a click, or a drag 30 pixels up in five steps.
    // `pump` turns the host's loop for so many milliseconds between the events; after the
    // release the caller waits as long as its host needs.
    using Pump = std::function<void(int milliseconds)>;
    void FakeClick(KivXvfbSession::FakeInput& fake, int x, int y, const Pump& pump) {
        fake.motion(display, DefaultScreen(display), x, y, CurrentTime);
        fake.button(display, 1, True, CurrentTime);
        pump(50);
        fake.button(display, 1, False, CurrentTime);
    }
    void FakeDragUp(KivXvfbSession::FakeInput& fake, int x, int y, const Pump& pump) {
        fake.motion(display, DefaultScreen(display), x, y, CurrentTime);
        fake.button(display, 1, True, CurrentTime);
        pump(50);
        for (int step = 1; step <= 5; ++step) {
            fake.motion(display, DefaultScreen(display), x, y - 6 * step, CurrentTime);
            pump(30);
        }
        fake.button(display, 1, False, CurrentTime);
    }
    // The windows in `parent` as the server has them, and the size of the only one (the
    // editor's); 0 x 0 unless there is exactly one.
    unsigned int ChildCount(Window parent) { return Children(parent).first; }
    std::pair<int, int> ChildSize(Window parent) { return Children(parent).second; }

    Display* display = nullptr;

private:
    std::pair<unsigned int, std::pair<int, int>> Children(Window parent) {
        Window root = 0, up = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        XQueryTree(display, parent, &root, &up, &children, &count);
        std::pair<int, int> size{0, 0};
        if (count == 1) {
            int x = 0, y = 0;
            unsigned int width = 0, height = 0, border = 0, depth = 0;
            XGetGeometry(display, children[0], &root, &x, &y, &width, &height, &border, &depth);
            size = {static_cast<int>(width), static_cast<int>(height)};
        }
        if (children) XFree(children);
        return {count, size};
    }

    static inline KivXvfbSession::Server* server_ = nullptr;
    std::vector<Window> windows_;
};
#endif  // !_WIN32
