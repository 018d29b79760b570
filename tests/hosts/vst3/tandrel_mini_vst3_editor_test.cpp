// TandrelMini's VST 3 editor view in a Linux host under Xvfb: platform type and size before
// attaching, the view embedded in the host's window and pumped only through the frame's run
// loop, the same picture as the VST 2.4 face's editor, a knob drag as one edit gesture, and
// nothing left registered or running after removal. Skips without Xvfb.
#if !defined(_WIN32)
#include <gtest/gtest.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <mutex>
#include <utility>
#include <thread>
#include <vector>

#include "hosts/vst3/interfaces/icomponent.h"
#include "hosts/vst3/interfaces/ieditcontroller.h"
#include "hosts/vst3/interfaces/iplugview.h"
#include "hosts/vst3/interfaces/irunloop.h"
#include "tests/hosts/vst3/tandrel_mini_bundle.h"
#include "tests/hosts/vst3/vst3_test_host.h"
#include "tests/support/kiv_xvfb_host_test.h"
#include "tools/vst2host/kiv_vst2_plugin.h"

// Last: Xlib's macros would break the headers above.
#include <X11/Xutil.h>

using namespace Vst3TestHost;

namespace {

// The drawn shape's point parameters come after the 29 simple ones.
constexpr ParamID kFirstShapePoint = 29;

constexpr int kWidth = 1000;
constexpr int kHeight = 712;
// The threshold knob of processor 1: its panel sits at (10, 86), the knob 64 x 88 pixels at
// (8, 26) inside it.
constexpr int kKnobX = 49;
constexpr int kKnobY = 155;
// The top bar's second row: the bypass button (72 x 24 at (14, 44)) and the channel-mode menu
// (150 x 24 at (164, 44)).
constexpr int kBypassX = 50;
constexpr int kBypassY = 56;
constexpr int kModeX = 239;
constexpr int kModeY = 56;
// The middle of the top bar's "Reset" button (46 x 24 pixels at (720, 10)).
constexpr int kResetX = 743;
constexpr int kResetY = 22;
// The Detection section's "Detector" button (72 x 24 at (280, 118) in the section at
// (320, 406)) and, in the drawer it opens at (10, 86), the "High-pass" switch (96 x 22 at
// (462, 28)).
constexpr int kDrawerX = 636;
constexpr int kDrawerY = 536;
constexpr int kHighPassX = 520;
constexpr int kHighPassY = 125;
constexpr ParamID kBypassId = 32767;
// After the 29 simple parameters, the 20 points and "Side-chain".
constexpr ParamID kChannelModeId = 50;
// VST 3 key modifiers.
constexpr int16 kCommandKey = 1 << 2;
constexpr int16 kShiftKey = 1 << 0;

// A host frame with a run loop, driven by the test: descriptors are polled, timers run on
// every turn.
class Frame : public IPlugFrame, public Linux::IRunLoop {
public:
    tresult KIV_VST3_API queryInterface(const TUID iid, void** object) override {
        if (FUnknown::iid.Matches(iid) || IPlugFrame::iid.Matches(iid)) {
            *object = static_cast<IPlugFrame*>(this);
        } else if (Linux::IRunLoop::iid.Matches(iid)) {
            *object = static_cast<Linux::IRunLoop*>(this);
        } else {
            *object = nullptr;
            return kNoInterface;
        }
        addRef();
        return kResultOk;
    }
    uint32 KIV_VST3_API addRef() override { return ++references; }
    uint32 KIV_VST3_API release() override { return --references; }
    tresult KIV_VST3_API resizeView(IPlugView* view, ViewRect* size) override {
        ++resizes;
        asked = *size;
        return view->onSize(size);
    }
    tresult KIV_VST3_API registerEventHandler(Linux::IEventHandler* handler, Linux::FileDescriptor fd) override {
        handler->addRef();
        handlers.push_back({handler, fd});
        return kResultOk;
    }
    tresult KIV_VST3_API unregisterEventHandler(Linux::IEventHandler* handler) override {
        for (size_t i = 0; i < handlers.size(); ++i) {
            if (handlers[i].handler != handler) continue;
            handler->release();
            handlers.erase(handlers.begin() + static_cast<std::ptrdiff_t>(i));
            return kResultOk;
        }
        return kInvalidArgument;
    }
    tresult KIV_VST3_API registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval) override {
        handler->addRef();
        timers.push_back(handler);
        return kResultOk;
    }
    tresult KIV_VST3_API unregisterTimer(Linux::ITimerHandler* handler) override {
        for (size_t i = 0; i < timers.size(); ++i) {
            if (timers[i] != handler) continue;
            handler->release();
            timers.erase(timers.begin() + static_cast<std::ptrdiff_t>(i));
            return kResultOk;
        }
        return kInvalidArgument;
    }
    // One turn of the host's loop: at most 10 ms of waiting for a descriptor.
    void Turn() {
        std::vector<pollfd> fds;
        for (const auto& entry : handlers) fds.push_back({entry.fd, POLLIN, 0});
        poll(fds.data(), fds.size(), 10);
        for (size_t i = 0; i < fds.size() && i < handlers.size(); ++i) {
            if (fds[i].revents & POLLIN) handlers[i].handler->onFDIsSet(fds[i].fd);
        }
        const std::vector<Linux::ITimerHandler*> due = timers;
        for (Linux::ITimerHandler* timer : due) timer->onTimer();
    }

    struct Watch {
        Linux::IEventHandler* handler;
        Linux::FileDescriptor fd;
    };
    std::vector<Watch> handlers;
    std::vector<Linux::ITimerHandler*> timers;
    uint32 references = 1;
    int resizes = 0;
    ViewRect asked{};
};

class TandrelMiniVst3Editor : public KivXvfbHostTest {
protected:
    void SetUp() override {
        KivXvfbHostTest::SetUp();
        if (!Ready()) return;
        parent = OpenHostWindow(kWidth, kHeight);
        vst2Parent = OpenHostWindow(kWidth, kHeight);
        bundle = std::make_unique<TandrelMiniBundle>();
        ASSERT_NO_FATAL_FAILURE(bundle->CreateInstance());
        controller = bundle->controller;
        controller->setComponentHandler(&handler);
    }
    void TearDown() override {
        bundle.reset();
        KivXvfbHostTest::TearDown();
    }
    // Turns the loop until the gesture that began first has ended (the release reached the
    // view) or `limit` ms passed: the server may take its time with the fake release on a
    // busy machine.
    void RunUntilAGestureEnds(int limit = 3000) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limit);
        const auto ended = [&] {
            std::lock_guard<std::mutex> guard(handler.lock);
            const std::vector<Edit>& edits = handler.edits;
            return !edits.empty() && std::any_of(edits.begin(), edits.end(), [&](const Edit& edit) {
                return edit.kind == 'e' && edit.id == edits.front().id;
            });
        };
        while (!ended() && std::chrono::steady_clock::now() < end) Run(10);
        Run(30);  // the shape points' own reports that follow
    }
    // The view alone in the host's window (the second window, over it, out of the way of the
    // mouse), attached and given time to paint.
    IPlugView* AttachAlone() {
        XUnmapWindow(display, vst2Parent);
        XSync(display, False);
        IPlugView* view = controller->createView("editor");
        if (view == nullptr) return nullptr;
        EXPECT_EQ(view->setFrame(&frame), kResultTrue);
        EXPECT_EQ(view->attached(reinterpret_cast<void*>(parent), "X11EmbedWindowID"), kResultOk);
        Run(300);
        return view;
    }
    void Detach(IPlugView* view) {
        EXPECT_EQ(view->removed(), kResultOk);
        view->setFrame(nullptr);
        view->release();
    }
    // A press and release at (x, y) in the host's window.
    void Click(KivXvfbSession::FakeInput& fake, int x, int y) {
        FakeClick(fake, x, y, [this](int milliseconds) { Run(milliseconds); });
        Run(150);
    }
    // A drag from (x, y) 30 pixels up, until its gesture has ended.
    void DragUp(KivXvfbSession::FakeInput& fake, int x, int y) {
        handler.edits.clear();
        FakeDragUp(fake, x, y, [this](int milliseconds) { Run(milliseconds); });
        RunUntilAGestureEnds();
    }
    void Run(int milliseconds) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (std::chrono::steady_clock::now() < end) {
            frame.Turn();
            XSync(display, False);
        }
    }
    std::vector<unsigned long> Capture(Window window) {
        std::vector<unsigned long> pixels;
        XImage* image = XGetImage(display, window, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
        if (!image) return pixels;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) pixels.push_back(XGetPixel(image, x, y) & 0xFFFFFF);
        }
        XDestroyImage(image);
        return pixels;
    }
    // The VST 2.4 face's editor of the same library, opened in the second window.
    std::vector<unsigned long> Vst2Picture() {
        KivVst2Plugin vst2;
        if (!vst2.Load(KIV_TANDREL_MINI_PATH)) return {};
        vst2.Open();
        ERect* rect = nullptr;
        vst2.Dispatch(effEditGetRect, 0, 0, &rect);
        vst2.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(vst2Parent));
        for (int i = 0; i < 40; ++i) {
            vst2.Dispatch(effEditIdle);
            XSync(display, False);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::vector<unsigned long> pixels = Capture(vst2Parent);
        vst2.Dispatch(effEditClose);
        // It lies over the VST 3 window: out of the way of the pictures and the mouse.
        XUnmapWindow(display, vst2Parent);
        XSync(display, False);
        return pixels;
    }

    Window parent = 0;
    Window vst2Parent = 0;
    ComponentHandler handler;
    Frame frame;
    std::unique_ptr<TandrelMiniBundle> bundle;
    IEditController* controller = nullptr;
};

TEST_F(TandrelMiniVst3Editor, EmbedsPumpsThroughTheRunLoopAndReportsAGesture) {
    // Both faces start stereo, so their editors show the same meters.
    const std::vector<unsigned long> expected = Vst2Picture();
    ASSERT_EQ(expected.size(), static_cast<size_t>(kWidth * kHeight));
    const int threads = KivXvfbSession::ThreadCount();

    IPlugView* view = controller->createView("editor");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(controller->createView("other"), nullptr);
    EXPECT_EQ(view->isPlatformTypeSupported("X11EmbedWindowID"), kResultTrue);
    EXPECT_EQ(view->isPlatformTypeSupported("HWND"), kResultFalse);
    ViewRect size{};
    ASSERT_EQ(view->getSize(&size), kResultTrue);
    EXPECT_EQ(size.getWidth(), kWidth);
    EXPECT_EQ(size.getHeight(), kHeight);
    EXPECT_EQ(view->canResize(), kResultTrue);
    ASSERT_EQ(view->setFrame(&frame), kResultTrue);
    ASSERT_EQ(view->attached(reinterpret_cast<void*>(parent), "X11EmbedWindowID"), kResultOk);
    EXPECT_EQ(frame.handlers.size(), 1u);
    EXPECT_EQ(frame.timers.size(), 1u);
    ASSERT_EQ(view->getSize(&size), kResultTrue);
    EXPECT_EQ(size.getWidth(), kWidth);
    Run(500);
    EXPECT_TRUE(Capture(parent) == expected);

    KivXvfbSession::FakeInput fake;
    if (fake.Available()) {
        DragUp(fake, kKnobX, kKnobY);
        ASSERT_GE(handler.edits.size(), 3u);
        const ParamID id = handler.edits.front().id;
        // The drawn shape's points follow the threshold and are reported as edits of their own.
        std::erase_if(handler.edits, [&](const Edit& edit) { return edit.id != id && edit.id >= kFirstShapePoint; });
        EXPECT_EQ(handler.edits.front().kind, 'b');
        EXPECT_EQ(handler.edits.back().kind, 'e');
        for (size_t i = 1; i + 1 < handler.edits.size(); ++i) EXPECT_EQ(handler.edits[i].kind, 'p') << i;
        for (const Edit& edit : handler.edits) EXPECT_EQ(edit.id, id);
        EXPECT_EQ(controller->getParamNormalized(id), handler.edits[handler.edits.size() - 2].value);

        // The host's wheel turns the knob under the mouse, its keys the knob with the focus
        // (the one just dragged): a notch is 2% of the travel either way.
        const double dragged = controller->getParamNormalized(id);
        EXPECT_EQ(view->onWheel(1.0f), kResultTrue);
        Run(50);
        EXPECT_NEAR(controller->getParamNormalized(id), dragged + 0.02, 1e-6);
        EXPECT_EQ(view->onKeyDown(0, 14, 0), kResultTrue);  // KEY_DOWN
        EXPECT_EQ(view->onKeyUp(0, 14, 0), kResultFalse);
        Run(50);
        EXPECT_NEAR(controller->getParamNormalized(id), dragged, 1e-6);
        EXPECT_EQ(view->onKeyDown(u' ', 7, 0), kResultFalse);  // KEY_SPACE stays the host's
        EXPECT_EQ(handler.edits.back().id, id);

        // "Reset to factory settings" brings the dragged threshold back to the default the
        // host was given, as one whole change told through restartComponent on the thread
        // that runs the editor and the component (the test's, as a host's main thread).
        ParamValue factory = -1.0;
        for (int32 position = 0; position < controller->getParameterCount(); ++position) {
            ParameterInfo info{};
            if (controller->getParameterInfo(position, info) == kResultOk && info.id == id)
                factory = info.defaultNormalizedValue;
        }
        ASSERT_NE(controller->getParamNormalized(id), factory);
        {
            std::lock_guard<std::mutex> guard(handler.lock);
            handler.restarts.clear();
            handler.threads.clear();
        }
        Click(fake, kResetX, kResetY);
        EXPECT_NEAR(controller->getParamNormalized(id), factory, 1e-9);
        std::lock_guard<std::mutex> guard(handler.lock);
        ASSERT_EQ(handler.restarts.size(), 1u);
        EXPECT_TRUE(handler.restarts.front() & kParamValuesChanged);
        for (const std::thread::id& thread : handler.threads) EXPECT_EQ(thread, std::this_thread::get_id());
    }

    Detach(view);
    EXPECT_TRUE(frame.handlers.empty());
    EXPECT_TRUE(frame.timers.empty());
    EXPECT_EQ(KivXvfbSession::ThreadCount(), threads);
}

// Free resizing: the host's proposals are held to the editor's shape between half and three
// times its size, a size the host sets is the window's and the knobs turn where they are
// drawn at it, and the host's content scale multiplies the size, which the view asks the
// frame for.
// A host that destroys its window before it removes the view: the X server destroys the
// editor's window with it, and the requests the view makes on it afterwards fail on the
// plug-in's own connection, never reaching the host's error handler (whose default ends the
// process). The pause after each removal lets the error of the view's last request arrive
// before the next attach reads the connection. The view attaches again to a new window.
TEST_F(TandrelMiniVst3Editor, SurvivesTheHostDestroyingItsWindowBeforeRemoval) {
    KivXvfbSession::ProcessErrors errors(display);
    for (int round = 0; round < 4; ++round) {
        IPlugView* view = controller->createView("editor");
        ASSERT_NE(view, nullptr);
        ASSERT_EQ(view->setFrame(&frame), kResultTrue);
        ASSERT_EQ(view->attached(reinterpret_cast<void*>(parent), "X11EmbedWindowID"), kResultOk) << round;
        Run(50);
        DestroyHostWindow(parent);
        Run(50);
        EXPECT_EQ(view->removed(), kResultOk);
        view->release();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        parent = OpenHostWindow(kWidth, kHeight);
    }
    XSync(display, False);
    for (const std::string& error : errors.Texts()) ADD_FAILURE() << error;
}

TEST_F(TandrelMiniVst3Editor, TheHostResizesFreelyAndScalesByItsContentFactor) {
    IPlugView* view = controller->createView("editor");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->canResize(), kResultTrue);
    // Worked out by hand from the layout's 1000 x kHeight: the side the host changed most
    // sets the zoom, the other follows.
    const auto constrained = [&](int32 width, int32 height) {
        ViewRect rect{0, 0, width, height};
        EXPECT_EQ(view->checkSizeConstraint(&rect), kResultTrue);
        return std::pair<int32, int32>{rect.getWidth(), rect.getHeight()};
    };
    const auto scaledHeight = [](double zoom) { return static_cast<int32>(std::floor(kHeight * zoom + 0.5)); };
    EXPECT_EQ(constrained(1300, kHeight), std::make_pair(1300, scaledHeight(1.3)));
    EXPECT_EQ(constrained(kWidth, 2 * kHeight), std::make_pair(2000, 2 * kHeight));
    EXPECT_EQ(constrained(100, 50), std::make_pair(500, scaledHeight(0.5)));
    EXPECT_EQ(constrained(9000, 9000), std::make_pair(3000, 3 * kHeight));

    ASSERT_EQ(view->setFrame(&frame), kResultTrue);
    ASSERT_EQ(view->attached(reinterpret_cast<void*>(parent), "X11EmbedWindowID"), kResultOk);
    // The second host window lies over this one: out of the way of the mouse.
    XUnmapWindow(display, vst2Parent);
    XResizeWindow(display, parent, 3000, 3 * kHeight);
    ViewRect larger{0, 0, 1500, scaledHeight(1.5)};
    ASSERT_EQ(view->onSize(&larger), kResultTrue);
    Run(300);
    ViewRect size{};
    ASSERT_EQ(view->getSize(&size), kResultTrue);
    EXPECT_EQ(size.getWidth(), 1500);
    EXPECT_EQ(size.getHeight(), scaledHeight(1.5));
    EXPECT_EQ(ChildSize(parent), std::make_pair(1500, scaledHeight(1.5)));

    KivXvfbSession::FakeInput fake;
    if (fake.Available()) {
        // The threshold knob's centre at 150%.
        DragUp(fake, kKnobX * 3 / 2, kKnobY * 3 / 2);
        ASSERT_GE(handler.edits.size(), 3u);
        EXPECT_EQ(handler.edits.front().kind, 'b');
        EXPECT_EQ(handler.edits.back().kind, 'e');
    }

    // Content scale 2 on top of the 150%: the view asks for three times the layout.
    const int resizes = frame.resizes;
    auto* scaling = Query<IPlugViewContentScaleSupport>(view);
    ASSERT_NE(scaling, nullptr);
    EXPECT_EQ(scaling->setContentScaleFactor(2.0f), kResultTrue);
    EXPECT_EQ(frame.resizes, resizes + 1);
    EXPECT_EQ(frame.asked.getWidth(), 3000);
    EXPECT_EQ(frame.asked.getHeight(), 3 * kHeight);
    Run(200);
    EXPECT_EQ(ChildSize(parent).first, 3000);
    EXPECT_EQ(scaling->setContentScaleFactor(0.0f), kInvalidArgument);
    scaling->release();
    Detach(view);
}

// The top bar through the built library: a click on Bypass and a wheel notch on the channel-mode
// menu each reach the host as one gesture (begin, one perform, end) on the host's own bypass
// parameter and on "Channel mode"; Ctrl+Z from the host's keys undoes the last of them as a
// gesture again, Ctrl+Shift+Z redoes it.
TEST_F(TandrelMiniVst3Editor, BypassAndChannelModeAreOneGestureEachAndUndoAsGestures) {
    KivXvfbSession::FakeInput fake;
    if (!fake.Available()) GTEST_SKIP() << "libXtst is not installed";
    IPlugView* view = AttachAlone();
    ASSERT_NE(view, nullptr);
    auto gestureOn = [&](ParamID id) {
        std::vector<Edit> edits;
        for (const Edit& edit : handler.edits)
            if (edit.id == id) edits.push_back(edit);
        return edits;
    };
    const std::vector<Edit> on{{'b', kBypassId, 0.0}, {'p', kBypassId, 1.0}, {'e', kBypassId, 0.0}};
    const std::vector<Edit> left{{'b', kChannelModeId, 0.0}, {'p', kChannelModeId, 1.0 / 6.0}, {'e', kChannelModeId, 0.0}};
    const std::vector<Edit> leftRight{{'b', kChannelModeId, 0.0}, {'p', kChannelModeId, 0.0}, {'e', kChannelModeId, 0.0}};

    handler.edits.clear();
    Click(fake, kBypassX, kBypassY);
    EXPECT_EQ(gestureOn(kBypassId), on);
    EXPECT_EQ(controller->getParamNormalized(kBypassId), 1.0);
    EXPECT_EQ(handler.edits.size(), 3u);

    handler.edits.clear();
    fake.motion(display, DefaultScreen(display), kModeX, kModeY, CurrentTime);
    Run(50);
    EXPECT_EQ(view->onWheel(-1.0f), kResultTrue);
    Run(100);
    EXPECT_EQ(gestureOn(kChannelModeId), left);
    EXPECT_EQ(handler.edits.size(), 3u);
    EXPECT_EQ(controller->getParamNormalized(kChannelModeId), 1.0 / 6.0);

    handler.edits.clear();
    EXPECT_EQ(view->onKeyDown(u'z', 0, kCommandKey), kResultTrue);
    view->onKeyUp(u'z', 0, kCommandKey);
    Run(100);
    EXPECT_EQ(gestureOn(kChannelModeId), leftRight);
    EXPECT_EQ(controller->getParamNormalized(kChannelModeId), 0.0);
    EXPECT_EQ(controller->getParamNormalized(kBypassId), 1.0);
    handler.edits.clear();
    EXPECT_EQ(view->onKeyDown(u'Z', 0, kCommandKey | kShiftKey), kResultTrue);
    Run(100);
    EXPECT_EQ(gestureOn(kChannelModeId), left);
    handler.edits.clear();
    view->onKeyDown(u'z', 0, kCommandKey);
    view->onKeyDown(u'z', 0, kCommandKey);
    Run(100);
    EXPECT_EQ(controller->getParamNormalized(kBypassId), 0.0);
    EXPECT_EQ((gestureOn(kBypassId)), (std::vector<Edit>{{'b', kBypassId, 0.0}, {'p', kBypassId, 0.0}, {'e', kBypassId, 0.0}}));
    Detach(view);
}

// A drawer edit through the built library is an undo step: Ctrl+Z from the host's keys takes
// the component's state back to the very bytes the host saved before the click, and tells
// the host to read the parameters again (as after a preset load); Ctrl+Shift+Z gives back the
// state of after the click.
TEST_F(TandrelMiniVst3Editor, ADrawerEditUndoesToTheStateTheHostSavedBefore) {
    KivXvfbSession::FakeInput fake;
    if (!fake.Available()) GTEST_SKIP() << "libXtst is not installed";
    IPlugView* view = AttachAlone();
    ASSERT_NE(view, nullptr);
    auto saved = [&] {
        MemoryStream stream;
        EXPECT_EQ(bundle->component->getState(&stream), kResultOk);
        return stream.bytes;
    };
    const std::vector<uint8_t> before = saved();
    Click(fake, kDrawerX, kDrawerY);
    EXPECT_EQ(saved(), before);  // opening the drawer changes no setting
    Click(fake, kHighPassX, kHighPassY);
    const std::vector<uint8_t> after = saved();
    ASSERT_NE(after, before);

    {
        std::lock_guard<std::mutex> guard(handler.lock);
        handler.restarts.clear();
        handler.edits.clear();
    }
    EXPECT_EQ(view->onKeyDown(u'z', 0, kCommandKey), kResultTrue);
    Run(100);
    EXPECT_EQ(saved(), before);
    {
        std::lock_guard<std::mutex> guard(handler.lock);
        ASSERT_EQ(handler.restarts.size(), 1u);
        EXPECT_TRUE(handler.restarts.front() & kParamValuesChanged);
        EXPECT_TRUE(handler.edits.empty());  // no host parameter moved
    }
    EXPECT_EQ(view->onKeyDown(u'Z', 0, kCommandKey | kShiftKey), kResultTrue);
    Run(100);
    EXPECT_EQ(saved(), after);
    Detach(view);
}

}  // namespace
#endif  // !_WIN32
