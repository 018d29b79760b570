// The X11 window system under a private Xvfb server: a window embedded in a parent window
// made here shows the same pixels as the offscreen window system paints, input made with
// the XTest extension reaches the controls, timers and wake-ups end modal loops without
// polling, and windows come and go without leftovers. Skips when Xvfb is not installed.
#if !defined(_WIN32)
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_knob.h"
#include "gui/core/kiv_window.h"
#include "gui/core/kiv_window_system_native.h"
#include "gui/core/kiv_windows.h"
#include "gui/drawing/kiv_drawer.h"
#include "gui/loader/kiv_owned_value.h"
#include "gui/offscreen/kiv_window_system_offscreen.h"
#include "platform/kiv_scheduling.h"
#include "tests/gui/x11/kiv_xvfb_server.h"

// Last: Xlib's macros (None, Bool, Status) would break the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace {

constexpr KivColor kBackground = KivColor::Rgb(30, 60, 90);

// A control whose painting has anti-aliased edges and blending, so that a wrong pixel
// format or a wrong offset shows.
struct Picture : KivPanel {
    void Paint(KivDrawer& drawer, const KivRect&) override {
        const KivRect r = GetWindowRect();
        drawer.FillRectangleGradient(r, KivColor::Rgb(250, 200, 0), KivColor::Rgb(0, 90, 250),
                                     KivGradientDirection{}, KivDrawingMode::kCopy);
        drawer.FillCircle(KivPoint{r.left + 12, r.top + 9}, 7, KivColor::Rgb(255, 255, 255, 160),
                          KivDrawingMode::kAlphablend);
    }
    void OnMouseDown(KivPoint point, KivMouseButton, uint8_t state) override {
        downs.push_back({point, state});
    }
    void OnTimer() override {
        if (++ticks == 3) GetWindow()->EndModal(7);
    }
    struct Down {
        KivPoint point;
        uint8_t state;
    };
    std::vector<Down> downs;
    int ticks = 0;
};

KivWindow* MakeWindow() {
    auto* window = new KivWindow();
    window->SetBounds(KivRect{10, 20, 10 + 63, 20 + 47});
    window->SetBackground(kBackground);
    auto* picture = new Picture();
    picture->SetBounds(KivRect{6, 5, 6 + 39, 5 + 29});
    window->AddChild(picture);
    return window;
}

using KivXvfbSession::FakeInput;
using KivXvfbSession::ThreadCount;

class X11 : public ::testing::Test {
protected:
    void SetUp() override {
        if (KivXvfbServer::pid == 0) GTEST_SKIP() << "Xvfb is not available";
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr);
        const int screen = DefaultScreen(display);
        parent = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 200, 150, 0, 0,
                                     0x00FF00FF);  // magenta: whatever shows through is wrong
        XMapWindow(display, parent);
        XSync(display, False);
        system = new KivWindowSystemX11();
        windows = std::make_unique<KivWindows>(system);
    }
    void TearDown() override {
        windows.reset();
        if (display != nullptr) {
            XDestroyWindow(display, parent);
            XCloseDisplay(display);
        }
    }
    // Pumps until `done` or about 5 s have passed.
    template <typename Done>
    bool PumpUntil(Done done) {
        for (int i = 0; i < 500; ++i) {
            system->ProcessPendingEvents();
            if (done()) return true;
            XSync(display, False);
            KivPlatform::SleepMilliseconds(10);
        }
        return false;
    }

    Display* display = nullptr;
    Window parent = 0;
    KivWindowSystemX11* system = nullptr;
    std::unique_ptr<KivWindows> windows;
};

// What the offscreen window system shows for the same window.
KivBitmap OffscreenPixels() {
    auto* offscreen = new KivWindowSystemOffscreen();
    KivWindows windows(offscreen);
    std::unique_ptr<KivWindow> window(MakeWindow());
    window->Show();
    offscreen->ProcessPendingEvents();
    return offscreen->GetScreen(*window)->Clone();
}

TEST_F(X11, EmbeddedWindowShowsTheOffscreenPixels) {
    // The reference needs the window system slot: make it first, without the X11 one.
    windows.reset();
    const KivBitmap expected = OffscreenPixels();
    system = new KivWindowSystemX11();
    windows = std::make_unique<KivWindows>(system);
    EXPECT_EQ(system->GetName(), KivString("X11 native window-system"));

    std::unique_ptr<KivWindow> window(MakeWindow());
    window->Show(parent);
    ASSERT_TRUE(PumpUntil([&] { return system->GetPaintCount() > 0; }));
    XSync(display, False);
    // Read back through the parent: the window must sit at (10, 20) inside it.
    XImage* image = XGetImage(display, parent, 10, 20, 64, 48, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    int wrong = 0;
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            const KivColor want = expected.At(x, y);
            const KivColor got = KivColor::Rgb(static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
                                               static_cast<uint8_t>(pixel));
            if (got != want.WithAlpha(255)) ++wrong;
        }
    }
    XDestroyImage(image);
    EXPECT_EQ(wrong, 0);

    // Nothing changes: nothing is painted again.
    const int64_t paints = system->GetPaintCount();
    for (int i = 0; i < 20; ++i) {
        system->ProcessPendingEvents();
        KivPlatform::SleepMilliseconds(10);
    }
    EXPECT_EQ(system->GetPaintCount(), paints);
}

TEST_F(X11, LargeAreasGoThroughSharedMemoryWithTheSamePixels) {
    // 160 x 120 pixels: above the size where a shared-memory image is used.
    KivWindow window;
    window.SetBounds(KivRect{20, 10, 20 + 159, 10 + 119});
    window.SetBackground(KivColor::Rgb(1, 2, 3));
    window.Show(parent);
    ASSERT_TRUE(PumpUntil([&] { return system->GetPaintCount() > 0; }));
    window.SetBackground(KivColor::Rgb(200, 100, 50));
    window.Invalidate();
    const int64_t paints = system->GetPaintCount();
    ASSERT_TRUE(PumpUntil([&] { return system->GetPaintCount() > paints; }));
    XSync(display, False);
    XImage* image = XGetImage(display, parent, 20, 10, 160, 120, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(XGetPixel(image, 0, 0) & 0xFFFFFF, 0xC86432u);
    EXPECT_EQ(XGetPixel(image, 159, 119) & 0xFFFFFF, 0xC86432u);
    EXPECT_EQ(XGetPixel(image, 80, 60) & 0xFFFFFF, 0xC86432u);
    XDestroyImage(image);
}

TEST_F(X11, FakeInputReachesTheControlWithItsStateMask) {
    FakeInput fake;
    if (!fake.Available()) GTEST_SKIP() << "libXtst is not installed";
    std::unique_ptr<KivWindow> window(MakeWindow());
    auto* picture = static_cast<Picture*>(window->GetChild(0));
    window->Show(parent);
    ASSERT_TRUE(PumpUntil([&] { return system->GetPaintCount() > 0; }));
    const KeyCode shift = XKeysymToKeycode(display, XK_Shift_L);
    fake.motion(display, DefaultScreen(display), 10 + 6 + 9, 20 + 5 + 4, CurrentTime);
    fake.key(display, shift, True, CurrentTime);
    fake.button(display, 1, True, CurrentTime);
    XSync(display, False);
    EXPECT_EQ(system->GetInputState(), 65);
    ASSERT_TRUE(PumpUntil([&] { return !picture->downs.empty(); }));
    EXPECT_EQ(picture->downs[0].point, (KivPoint{9, 4}));
    EXPECT_EQ(picture->downs[0].state, 65);
    fake.button(display, 1, False, CurrentTime);
    fake.key(display, shift, False, CurrentTime);
    XSync(display, False);
    EXPECT_EQ(system->GetInputState(), 0);
}

struct Clicks : KivEventTarget {
    void OnClick(KivOnClickParams&) { ++count; }
    int count = 0;
};

TEST_F(X11, XTestDragTurnsAKnobAndAClickFiresAButton) {
    FakeInput fake;
    if (!fake.Available()) GTEST_SKIP() << "libXtst is not installed";
    auto window = std::make_unique<KivWindow>();
    window->SetBounds(KivRect{10, 20, 10 + 179, 20 + 119});
    auto* knob = new KivKnob();
    window->AddChild(knob);
    knob->SetBounds(KivRect{4, 4, 4 + 63, 4 + 87});
    auto value = std::make_unique<KivOwnedValue<KivValueNumber<double, double, 0, 0>>>();
    value->SetRange(0, 100);
    value->Set01(0.5);
    const KivValue* bound = value.get();
    knob->BindValue(std::move(value));
    auto* button = new KivButton();
    window->AddChild(button);
    button->SetBounds(KivRect{90, 40, 90 + 79, 40 + 23});
    Clicks clicks;
    button->OnClick.AddHandler(&clicks, &Clicks::OnClick);
    window->Show(parent);
    ASSERT_TRUE(PumpUntil([&] { return system->GetPaintCount() > 0; }));

    // The parent sits at the root's origin: screen = window position + control position.
    const int x = 10 + 4 + 32;
    const int y = 20 + 4 + 44;
    fake.motion(display, DefaultScreen(display), x, y, CurrentTime);
    fake.button(display, 1, True, CurrentTime);
    XSync(display, False);
    ASSERT_TRUE(PumpUntil([&] { return knob->IsDragging(); }));
    // 40 pixels up, in steps as a hand would move: a fifth of the knob's 200-pixel travel.
    for (int step = 1; step <= 4; ++step) {
        fake.motion(display, DefaultScreen(display), x, y - 10 * step, CurrentTime);
        XSync(display, False);
        system->ProcessPendingEvents();
    }
    ASSERT_TRUE(PumpUntil([&] { return bound->Get01() > 0.69; }));
    fake.button(display, 1, False, CurrentTime);
    XSync(display, False);
    ASSERT_TRUE(PumpUntil([&] { return !knob->IsDragging(); }));
    EXPECT_NEAR(bound->Get01(), 0.7, 1e-9);

    fake.motion(display, DefaultScreen(display), 10 + 90 + 40, 20 + 40 + 12, CurrentTime);
    fake.button(display, 1, True, CurrentTime);
    fake.button(display, 1, False, CurrentTime);
    XSync(display, False);
    ASSERT_TRUE(PumpUntil([&] { return clicks.count > 0; }));
    EXPECT_EQ(clicks.count, 1);
}

struct Ender : KivEventTarget {
    void OnNotify(KivOnNotifyParams&) { window->EndModal(9); }
    KivWindow* window = nullptr;
};

TEST_F(X11, ModalLoopsEndByTimerAndByAWakeFromAnotherThread) {
    std::unique_ptr<KivWindow> window(MakeWindow());
    auto* picture = static_cast<Picture*>(window->GetChild(0));
    window->Show(parent);
    system->SetTimer(*picture, 15);
    EXPECT_EQ(window->RunModal(), 7);  // the third tick ends it
    system->SetTimer(*picture, 0);
    EXPECT_EQ(picture->GetTimerInterval(), 0);

    Ender ender;
    ender.window = window.get();
    KivEvent<KivOnNotifyParams> event;
    event.AddHandler(&ender, &Ender::OnNotify);
    ASSERT_GE(system->GetWakeDescriptor(), 0);
    std::thread worker([&] {
        KivPlatform::SleepMilliseconds(30);
        windows->Post(event, KivOnNotifyParams{});
    });
    EXPECT_EQ(window->RunModal(), 9);
    worker.join();
    EXPECT_EQ(picture->ticks, 3);  // the stopped timer stayed stopped
}

TEST_F(X11, WindowsComeAndGoWithoutLeftovers) {
    const int threads = ThreadCount();
    for (int i = 0; i < 200; ++i) {
        std::unique_ptr<KivWindow> window(MakeWindow());
        window->Show(i % 2 == 0 ? parent : 0);
        system->ProcessPendingEvents();
    }
    system->ProcessPendingEvents();
    EXPECT_EQ(system->GetNativeWindowCount(), 0);
    EXPECT_EQ(ThreadCount(), threads);
    Window root, parentOfParent;
    Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, parent, &root, &parentOfParent, &children, &count);
    if (children != nullptr) XFree(children);
    EXPECT_EQ(count, 0u);
}

[[maybe_unused]] const auto* const xvfb = ::testing::AddGlobalTestEnvironment(new KivXvfbServer());

}  // namespace

#endif  // !_WIN32
