// The window and control core on the offscreen window system: painting through the back
// buffer, merged repaints, input routing, timers, modal loops and window lifetimes.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <vector>

#include "base/kiv_exception.h"
#include "base/kiv_trace.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/core/kiv_control_content.h"
#include "gui/core/kiv_window.h"
#include "gui/core/kiv_windows.h"
#include "gui/drawing/kiv_drawer.h"
#include "gui/offscreen/kiv_window_system_offscreen.h"
#include "platform/kiv_scheduling.h"
#include "tests/support/kiv_thread_count.h"

namespace {

constexpr KivColor kRed = KivColor::Rgb(200, 30, 30);
constexpr KivColor kBlue = KivColor::Rgb(20, 40, 220);

// A control that fills itself with one colour and records what reaches it.
struct Swatch : KivPanel {
    explicit Swatch(KivColor colour, bool focusable = false) : colour(colour), focusable(focusable) {}
    void Paint(KivDrawer& drawer, const KivRect&) override {
        drawer.FillRectangle(GetWindowRect(), colour, KivDrawingMode::kCopy);
    }
    void OnMouseDown(KivPoint point, KivMouseButton button, uint8_t state) override {
        log.push_back("down " + std::to_string(point.x) + "," + std::to_string(point.y) + " b" +
                      std::to_string(static_cast<int>(button)) + " s" + std::to_string(state));
        if (captureOnDown) GetWindow()->SetCapture(this);
    }
    void OnMouseUp(KivPoint, KivMouseButton, uint8_t) override {
        log.push_back("up");
        GetWindow()->SetCapture(nullptr);
    }
    void OnMouseMove(KivPoint point, uint8_t) override {
        log.push_back("move " + std::to_string(point.x) + "," + std::to_string(point.y));
    }
    bool OnMouseWheel(KivPoint, int32_t delta, uint8_t) override {
        log.push_back("wheel " + std::to_string(delta));
        return takesWheel;
    }
    void OnMouseEnter() override { log.push_back("enter"); }
    void OnMouseLeave() override { log.push_back("leave"); }
    bool OnKeyDown(uint32_t key, uint8_t) override {
        log.push_back("key " + std::to_string(key));
        return true;
    }
    bool CanTakeFocus() override { return focusable; }
    void OnTimer() override { ++ticks; }

    KivColor colour;
    bool focusable;
    bool captureOnDown = false;
    bool takesWheel = false;
    int ticks = 0;
    std::vector<std::string> log;
};

class Offscreen : public ::testing::Test {
protected:
    void SetUp() override {
        system = new KivWindowSystemOffscreen();
        windows = std::make_unique<KivWindows>(system);
        window = new KivWindow();
        window->SetBounds(KivRect{100, 100, 100 + 63, 100 + 47});  // 64 x 48
        window->SetBackground(kBlue);
        child = new Swatch(kRed, true);
        child->SetBounds(KivRect{8, 4, 8 + 15, 4 + 9});  // 16 x 10 at (8, 4)
        window->AddChild(child);
        window->Show();
        system->ProcessPendingEvents();
    }
    void TearDown() override {
        delete window;
        windows.reset();
    }
    // Waits (bounded) until the invalidator has handed something to the GUI thread.
    bool WaitForQueuedRepaint() {
        for (int i = 0; i < 200; ++i) {
            if (windows->HasQueued()) return true;
            KivPlatform::SleepMilliseconds(10);
        }
        return false;
    }

    KivWindowSystemOffscreen* system = nullptr;
    std::unique_ptr<KivWindows> windows;
    KivWindow* window = nullptr;
    Swatch* child = nullptr;
};

TEST_F(Offscreen, ShowPaintsTheWholeTreeThroughTheBackBuffer) {
    const KivBitmap* screen = system->GetScreen(*window);
    ASSERT_NE(screen, nullptr);
    ASSERT_EQ(screen->Width(), 64);
    ASSERT_EQ(screen->Height(), 48);
    EXPECT_EQ(screen->At(0, 0), kBlue);
    EXPECT_EQ(screen->At(8, 4), kRed);
    EXPECT_EQ(screen->At(23, 13), kRed);
    EXPECT_EQ(screen->At(24, 13), kBlue);
    EXPECT_EQ(screen->At(23, 14), kBlue);
    EXPECT_EQ(system->TakePaintedRects(), (std::vector<KivRect>{KivRect{0, 0, 63, 47}}));
    EXPECT_EQ(system->GetName(), KivString("Offscreen window-system"));
}

TEST_F(Offscreen, TwoInvalidationsWithinFiftyMillisecondsGiveOneRepaintOfTheirUnion) {
    system->TakePaintedRects();
    const int64_t paints = system->GetPaintCount();
    child->colour = kBlue;
    const KivRect first{0, 0, 3, 3};
    const KivRect second{10, 6, 12, 8};
    child->Invalidate(&first);
    child->Invalidate(&second);
    ASSERT_TRUE(WaitForQueuedRepaint());
    system->ProcessPendingEvents();
    EXPECT_EQ(system->GetPaintCount(), paints + 1);
    // Child coordinates (0..12, 0..8) are window (8..20, 4..12).
    EXPECT_EQ(system->TakePaintedRects(), (std::vector<KivRect>{KivRect{8, 4, 20, 12}}));
    EXPECT_EQ(system->GetScreen(*window)->At(20, 12), kBlue);
    EXPECT_EQ(system->GetScreen(*window)->At(21, 13), kRed);  // outside the union: old pixels
}

TEST_F(Offscreen, EmptyInvalidationAndIdleWindowsPaintNothing) {
    system->TakePaintedRects();
    const int64_t paints = system->GetPaintCount();
    const int64_t passes = windows->GetInvalidatorThread().GetPassCount();
    const KivRect empty{5, 5, 4, 9};  // right < left
    child->Invalidate(&empty);
    window->Invalidate(&empty);
    KivPlatform::SleepMilliseconds(150);
    system->ProcessPendingEvents();
    EXPECT_FALSE(windows->HasQueued());
    EXPECT_EQ(system->GetPaintCount(), paints);
    // The invalidator thread did not even wake up.
    EXPECT_EQ(windows->GetInvalidatorThread().GetPassCount(), passes);
    EXPECT_TRUE(system->TakePaintedRects().empty());
}

TEST_F(Offscreen, InvalidationsFromOtherThreadsArriveMerged) {
    system->TakePaintedRects();
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([this, i] {
            const KivRect rect{i, i, i, i};
            for (int n = 0; n < 100; ++n) window->Invalidate(&rect);
        });
    }
    for (auto& thread : threads) thread.join();
    ASSERT_TRUE(WaitForQueuedRepaint());
    system->ProcessPendingEvents();
    EXPECT_EQ(system->TakePaintedRects(), (std::vector<KivRect>{KivRect{0, 0, 3, 3}}));
}

TEST_F(Offscreen, MouseInputReachesTheControlUnderTheCursorOrTheCapture) {
    system->SetInputState(KivInputState::kShift | KivInputState::kLeftButton);
    EXPECT_EQ(system->GetInputState(), 65);
    child->captureOnDown = true;
    system->InjectMouseMove(*window, KivPoint{10, 5});
    system->InjectMouseDown(*window, KivPoint{10, 5}, KivMouseButton::kLeft);
    system->InjectMouseMove(*window, KivPoint{50, 40});  // outside, but captured
    system->InjectMouseUp(*window, KivPoint{50, 40}, KivMouseButton::kLeft);
    system->InjectMouseMove(*window, KivPoint{51, 40});  // released: the window gets it
    system->ProcessPendingEvents();
    EXPECT_EQ(child->log, (std::vector<std::string>{"enter", "move 2,1", "down 2,1 b0 s65", "leave", "move 42,36",
                                                    "up"}));
    EXPECT_EQ(window->GetFocus(), child);
    EXPECT_FALSE(system->HasMouseCapture(*window));
    EXPECT_TRUE(system->IsTrackingMouseLeave(*window));
}

TEST_F(Offscreen, WheelBubblesAndKeysGoToTheFocus) {
    auto* inner = new Swatch(kRed);
    inner->SetBounds(KivRect{1, 1, 4, 4});
    child->AddChild(inner);
    child->takesWheel = true;
    system->InjectMouseWheel(*window, KivPoint{10, 6}, -120);
    system->InjectKeyDown(*window, 0x41);
    system->ProcessPendingEvents();
    EXPECT_EQ(inner->log, (std::vector<std::string>{"wheel -120"}));
    EXPECT_EQ(child->log, (std::vector<std::string>{"wheel -120"}));
    window->SetFocus(child);
    system->InjectKeyDown(*window, 0x42);
    system->ProcessPendingEvents();
    EXPECT_EQ(child->log.back(), "key 66");
}

TEST_F(Offscreen, TimersTickUntilStoppedWithIntervalZero) {
    system->SetTimer(*child, 100);
    system->AdvanceClock(99);
    system->ProcessPendingEvents();
    EXPECT_EQ(child->ticks, 0);
    system->AdvanceClock(1);
    system->ProcessPendingEvents();
    EXPECT_EQ(child->ticks, 1);
    system->AdvanceClock(100);
    system->ProcessPendingEvents();
    EXPECT_EQ(child->ticks, 2);
    system->SetTimer(*child, 0);
    EXPECT_EQ(child->GetTimerInterval(), 0);
    system->AdvanceClock(1000);
    system->ProcessPendingEvents();
    EXPECT_EQ(child->ticks, 2);
    // A dying control takes its timer with it.
    system->SetTimer(*child, 10);
    delete child;
    system->AdvanceClock(1000);
    system->ProcessPendingEvents();
}

struct ModalEnder : KivEventTarget {
    void OnNotify(KivOnNotifyParams&) {
        window->EndModal(42);
        window->EndModal(43);  // a second end of the same run only leaves a trace
    }
    KivWindow* window = nullptr;
};

std::vector<std::string>* traces = nullptr;
void Collect(const KivString& text) {
    if (traces != nullptr) traces->push_back(text.ToUTF8());
}

TEST_F(Offscreen, ModalLoopEndsWhenAnotherThreadPostsTheEnd) {
    std::vector<std::string> collected;
    traces = &collected;
    KivTrace::Sink previous = KivTrace::SetSink(&Collect);
    ModalEnder ender;
    ender.window = window;
    KivEvent<KivOnNotifyParams> event;
    event.AddHandler(&ender, &ModalEnder::OnNotify);
    std::thread worker([&] {
        KivPlatform::SleepMilliseconds(20);
        windows->Post(event, KivOnNotifyParams{});
    });
    const int32_t result = window->RunModal();
    worker.join();
    KivTrace::SetSink(previous);
    traces = nullptr;
    EXPECT_EQ(result, 43);
    EXPECT_FALSE(window->IsModal());
    EXPECT_NE(std::find(collected.begin(), collected.end(), "KivWindowSystemOffscreen::EndModal called more than once"),
              collected.end());
}

TEST_F(Offscreen, CloseRequestAndResize) {
    system->InjectResize(*window, KivPoint{80, 20});
    system->ProcessPendingEvents();
    ASSERT_EQ(system->GetScreen(*window)->Width(), 80);
    EXPECT_EQ(system->GetScreen(*window)->Height(), 20);
    EXPECT_EQ(system->GetScreen(*window)->At(79, 19), kBlue);
    system->InjectCloseRequest(*window);
    system->ProcessPendingEvents();
    EXPECT_FALSE(window->HasNativeWindow());
    EXPECT_EQ(system->GetNativeWindowCount(), 0);
}

TEST_F(Offscreen, ARepaintQueuedForAWindowThatDiesIsDropped) {
    auto* other = new KivWindow();
    other->SetBounds(KivRect{0, 0, 15, 15});
    other->Show();
    system->ProcessPendingEvents();
    system->TakePaintedRects();
    other->Invalidate();
    ASSERT_TRUE(WaitForQueuedRepaint());
    delete other;
    EXPECT_FALSE(windows->HasQueued());
    system->ProcessPendingEvents();
    EXPECT_TRUE(system->TakePaintedRects().empty());
}

TEST_F(Offscreen, ContentChangesRepaintAndLeaveIsToldOnlyWhenTracked) {
    auto* label = new KivControlContent();
    label->SetBounds(KivRect{40, 30, 49, 39});
    window->AddChild(label);
    ASSERT_TRUE(WaitForQueuedRepaint());
    system->ProcessPendingEvents();
    system->TakePaintedRects();
    label->SetText(KivString("Ratio"));
    label->SetText(KivString("Ratio"));  // unchanged: no second request
    ASSERT_TRUE(WaitForQueuedRepaint());
    system->ProcessPendingEvents();
    EXPECT_EQ(system->TakePaintedRects(), (std::vector<KivRect>{KivRect{40, 30, 49, 39}}));

    system->InjectMouseLeave(*window);  // nothing asked for it yet
    system->ProcessPendingEvents();
    EXPECT_TRUE(child->log.empty());
    system->InjectMouseMove(*window, KivPoint{9, 5});
    system->ProcessPendingEvents();
    system->InjectMouseLeave(*window);
    system->ProcessPendingEvents();
    EXPECT_EQ(child->log, (std::vector<std::string>{"enter", "move 1,1", "leave"}));
    EXPECT_EQ(window->GetHover(), nullptr);
}

// A main window whose user declines to close.
struct StubbornWindow : KivWindow {
    bool Confirm(const KivString& question) override {
        asked = question.ToUTF8();
        return false;
    }
    std::string asked;
};

TEST_F(Offscreen, MainWindowCloseAsksFirstAndClosingStopsTimers) {
    StubbornWindow main;
    main.SetBounds(KivRect{0, 0, 31, 31});
    main.SetApplicationMainWindow(true);
    main.Show();
    system->InjectCloseRequest(main);
    system->ProcessPendingEvents();
    EXPECT_EQ(main.asked, "Are you sure you want to close the application?");
    EXPECT_TRUE(main.HasNativeWindow());

    system->SetTimer(*child, 10);
    window->Close();
    EXPECT_EQ(child->GetTimerInterval(), 0);
    system->AdvanceClock(100);
    system->ProcessPendingEvents();
    EXPECT_EQ(child->ticks, 0);
}

TEST_F(Offscreen, StateOfAutoSavingControlsRoundTrips) {
    KivXMLItem description(KivString("window"));
    description.SetAttribute(KivString("autosavestate"), KivString("1"));
    description.SetAttribute(KivString("posx"), KivString("12"));
    description.SetAttribute(KivString("sizex"), KivString("30"));
    description.SetAttribute(KivString("collapsed"), KivString("1"));
    KivControl saved;
    saved.LoadAttributes(description);
    EXPECT_EQ(saved.GetBounds().left, 12);
    EXPECT_EQ(saved.GetSize().x, 30);
    KivXMLItem state(KivString("state"));
    saved.SaveState(state);
    EXPECT_EQ(state.GetAttribute(KivString("windowposx")), KivString("12"));
    EXPECT_EQ(state.GetAttribute(KivString("collapsed")), KivString("1"));

    KivControl restored;
    restored.SetAutoSaveState(true);
    restored.LoadState(state);
    EXPECT_EQ(restored.GetBounds().left, 12);
    EXPECT_TRUE(restored.IsCollapsed());
    KivControl ignoring;  // without "autosavestate" nothing is stored or restored
    KivXMLItem empty(KivString("state"));
    ignoring.SaveState(empty);
    EXPECT_EQ(empty.GetAttributeCount(), 0);
}

using KivThreadCount::ThreadCount;

TEST_F(Offscreen, OpeningAndClosingAThousandWindowsLeavesNothingBehind) {
    const int threads = ThreadCount();
    for (int i = 0; i < 1000; ++i) {
        auto* other = new KivWindow();
        other->SetBounds(KivRect{0, 0, 31, 31});
        other->AddChild(new Swatch(kRed));
        other->Show();
        system->ProcessPendingEvents();
        other->Invalidate();
        delete other;
    }
    system->ProcessPendingEvents();
    EXPECT_EQ(system->GetNativeWindowCount(), 1);  // the fixture's window
    EXPECT_EQ(ThreadCount(), threads);
}

TEST(KivWindows, StopsItsThreadsWithTheWindowSystem) {
    std::vector<std::string> collected;
    traces = &collected;
    KivTrace::Sink previous = KivTrace::SetSink(&Collect);
    const int threads = ThreadCount();
    {
        KivWindows windows(new KivWindowSystemOffscreen());
        EXPECT_EQ(KivWindows::Instance(), &windows);
        if (threads > 0) {
            EXPECT_EQ(ThreadCount(), threads + 2);
        }
    }
    KivTrace::SetSink(previous);
    traces = nullptr;
    EXPECT_EQ(KivWindows::Instance(), nullptr);
    EXPECT_EQ(ThreadCount(), threads);
    EXPECT_EQ(collected, (std::vector<std::string>{"Destroying invalidator thread", "Destroying force execute thread"}));
}

// A window system that cannot start (no display, say): the failed start leaves no instance
// for other threads to find, no thread running, and the way open for the next start.
TEST(KivWindows, AFailedStartLeavesNothingBehind) {
    struct Unstartable : KivWindowSystemOffscreen {
        void Initialize() override { throw KivException(KivString("no display")); }
    };
    const int threads = ThreadCount();
    EXPECT_THROW(KivWindows windows(new Unstartable()), KivException);
    EXPECT_EQ(KivWindows::Instance(), nullptr);
    EXPECT_EQ(ThreadCount(), threads);
    KivWindows windows(new KivWindowSystemOffscreen());
    EXPECT_EQ(KivWindows::Instance(), &windows);
    EXPECT_THROW(KivWindows second(new KivWindowSystemOffscreen()), KivException);  // one at a time
    EXPECT_EQ(KivWindows::Instance(), &windows);
}

}  // namespace
