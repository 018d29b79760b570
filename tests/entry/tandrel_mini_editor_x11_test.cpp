// TandrelMini's editor in a VST 2.4 host on X11, through the built plug-in file: the host
// asks for the size, opens the editor in its own window and idles it; the editor shows what
// the offscreen window system paints, a mouse drag on a knob reaches the host as one
// gesture, and opening and closing it again and again while audio runs leaves nothing
// behind. Runs under a private Xvfb server; skips without one.
#if !defined(_WIN32)
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>
#include <algorithm>
#include <vector>

#include <unistd.h>

#include "dynamics/editor/tandrel_dynamics_editor.h"
#include "entry/kiv_plugin_creation.h"
#include "gui/core/kiv_windows.h"
#include "gui/drawing/kiv_png_writer.h"
#include "gui/offscreen/kiv_window_system_offscreen.h"
#include "plugin/editor/kiv_parameter_controls.h"
#include "tests/support/kiv_xvfb_host_test.h"
#include "tools/vst2host/kiv_vst2_plugin.h"

// Last: Xlib's macros would break the headers above.
#include <X11/Xutil.h>

namespace {

using Report = KivVst2AutomationReport;

// The editor's size.
constexpr int kWidth = 1000;
constexpr int kHeight = 712;

// What the offscreen window system paints for a fresh instance's editor, and where the
// threshold knob of processor 1 sits in it.
struct Reference {
    KivBitmap picture{1, 1};
    KivRect knob{};
    int32_t thresholdIndex = -1;
    KivRect saveDefault{};
    KivRect factoryReset{};
};

Reference PaintOffscreen() {
    Reference reference;
    auto* system = new KivWindowSystemOffscreen();
    KivWindows windows(system);
    std::unique_ptr<KivAudioPlugin> plugin = KivPluginCreation::CreatePlugin();
    // Stereo, as the VST 2.4 adapter sets it up.
    plugin->SetHostChannels(2, 2);
    plugin->SetConnectedChannels(2, 2);
    plugin->InitProcessing();
    auto* editor = static_cast<TandrelDynamicsEditor*>(plugin->CreateEditor(nullptr));
    if (!editor || !editor->Open(0)) return reference;
    for (int i = 0; i < 5; ++i) {
        system->AdvanceClock(TandrelDynamicsEditor::kRefreshMilliseconds);
        system->ProcessPendingEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
    }
    system->ProcessPendingEvents();
    reference.picture = system->GetScreen(editor->GetWindow())->Clone();
    reference.thresholdIndex = editor->GetParameterControls().FindIndex(KivString("threshold1"));
    reference.knob = editor->GetParameterControls().Find(reference.thresholdIndex)->GetWindowRect();
    if (const KivControl* button = editor->FindControl(KivString("savedefault"))) reference.saveDefault = button->GetWindowRect();
    if (const KivControl* button = editor->FindControl(KivString("factoryreset"))) reference.factoryReset = button->GetWindowRect();
    plugin->DestroyEditor();
    return reference;
}

class TandrelMiniEditorX11 : public KivXvfbHostTest {
protected:
    void SetUp() override {
        KivXvfbHostTest::SetUp();
        if (!Ready()) return;
        parent = OpenHostWindow(kWidth, kHeight);
        ASSERT_TRUE(plugin.Load(KIV_TANDREL_MINI_PATH)) << plugin.ErrorText();
        plugin.Open();
    }
    void TearDown() override {
        plugin.Close();
        KivXvfbHostTest::TearDown();
    }
    int32_t KivParameterLookupIndex(const std::string& name) {
        for (int32_t index = 0; index < plugin.NumParams(); ++index)
            if (plugin.ParameterName(index) == name) return index;
        return -1;
    }
    ERect* Rect() {
        ERect* rect = nullptr;
        return plugin.Dispatch(effEditGetRect, 0, 0, &rect) != 0 ? rect : nullptr;
    }
    bool OpenEditor() { return plugin.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(parent)) != 0; }
    // Idles the editor as a host's GUI thread does, for about `milliseconds`.
    void Idle(int milliseconds) {
        for (int elapsed = 0; elapsed < milliseconds; elapsed += 10) {
            plugin.Dispatch(effEditIdle);
            XSync(display, False);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    // Idle as the fake input's pump.
    Pump IdlePump() {
        return [this](int milliseconds) { Idle(milliseconds); };
    }
    // The host window's pixels as the X server has them.
    KivBitmap Capture() {
        KivBitmap captured(kWidth, kHeight);
        XImage* image = XGetImage(display, parent, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
        if (!image) return captured;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const unsigned long pixel = XGetPixel(image, x, y);
                captured.Set(x, y, KivColor::Rgb(static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
                                                   static_cast<uint8_t>(pixel)));
            }
        }
        XDestroyImage(image);
        return captured;
    }
    int CountDifferentPixels(const KivBitmap& expected) {
        const KivBitmap captured = Capture();
        if (const char* path = std::getenv("TANDREL_X11_PNG")) {
            KivPngWriter::Write(captured, path);
            KivPngWriter::Write(expected, std::string(path) + ".offscreen.png");
        }
        int wrong = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (captured.At(x, y) != expected.At(x, y).WithAlpha(255)) ++wrong;
            }
        }
        return wrong;
    }

    Window parent = 0;
    KivVst2Plugin plugin;
};

TEST_F(TandrelMiniEditorX11, ShowsTheOffscreenPictureAndADragIsOneGesture) {
    const Reference reference = PaintOffscreen();
    ASSERT_GE(reference.thresholdIndex, 0);
    ASSERT_TRUE(plugin.HasFlag(effFlagsHasEditor));
    // The size comes before the window exists and stays the same after.
    ERect* before = Rect();
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(before->right - before->left, kWidth);
    EXPECT_EQ(before->bottom - before->top, kHeight);
    ASSERT_TRUE(OpenEditor());
    ERect* after = Rect();
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->right - after->left, kWidth);
    EXPECT_EQ(after->bottom - after->top, kHeight);
    Idle(400);
    EXPECT_EQ(CountDifferentPixels(reference.picture), 0);

    KivXvfbSession::FakeInput fake;
    if (!fake.Available()) GTEST_SKIP() << "libXtst is not installed";
    const float start = plugin.GetParameter(reference.thresholdIndex);
    const int x = (reference.knob.left + reference.knob.right) / 2;
    const int y = (reference.knob.top + reference.knob.bottom) / 2;
    plugin.Host().ClearReports();
    FakeDragUp(fake, x, y, IdlePump());
    Idle(100);
    // 30 pixels up of the 200 that span the range.
    EXPECT_NEAR(plugin.GetParameter(reference.thresholdIndex), start + 0.15f, 1e-4);
    // The drawn shape's points follow the threshold and are reported as automation of their own.
    std::vector<Report> reports = plugin.Host().AutomationReports();
    std::erase_if(reports, [&](const Report& report) { return report.index != reference.thresholdIndex && report.index >= 29; });
    ASSERT_GE(reports.size(), 3u);
    EXPECT_EQ(reports.front().kind, Report::kBeginEdit);
    EXPECT_EQ(reports.back().kind, Report::kEndEdit);
    for (size_t i = 1; i + 1 < reports.size(); ++i) EXPECT_EQ(reports[i].kind, Report::kValue) << i;
    for (const Report& report : reports) EXPECT_EQ(report.index, reference.thresholdIndex);
    EXPECT_NEAR(reports[reports.size() - 2].value, start + 0.15f, 1e-4);

    plugin.Dispatch(effEditClose);
    EXPECT_EQ(ChildCount(parent), 0u);
}

// Keys the host passes on (effEditKeyDown/Up) move the knob that has the focus, as its own
// keys do: one notch of 2% up, a tenth of it with shift; keys no control wants go back to the
// host. The automation comes from the host's own thread.
TEST_F(TandrelMiniEditorX11, HostKeysMoveTheFocusedKnob) {
    const Reference reference = PaintOffscreen();
    ASSERT_GE(reference.thresholdIndex, 0);
    ASSERT_TRUE(OpenEditor());
    Idle(200);
    constexpr intptr_t kUp = 12, kDown = 14, kSpace = 7;  // VST 2.4 virtual keys
    constexpr float kShift = 1.0f;
    // Nothing has the focus yet: the host keeps its keys.
    EXPECT_EQ(plugin.Dispatch(effEditKeyDown, 0, kUp, nullptr, 0.0f), 0);
    KivXvfbSession::FakeInput fake;
    if (!fake.Available()) GTEST_SKIP() << "libXtst is not installed";
    const int x = (reference.knob.left + reference.knob.right) / 2;
    const int y = (reference.knob.top + reference.knob.bottom) / 2;
    FakeClick(fake, x, y, IdlePump());
    Idle(100);
    const float start = plugin.GetParameter(reference.thresholdIndex);
    plugin.Host().ClearReports();
    EXPECT_EQ(plugin.Dispatch(effEditKeyDown, 0, kUp, nullptr, 0.0f), 1);
    EXPECT_EQ(plugin.Dispatch(effEditKeyUp, 0, kUp, nullptr, 0.0f), 0);
    EXPECT_NEAR(plugin.GetParameter(reference.thresholdIndex), start + 0.02f, 1e-5);
    EXPECT_EQ(plugin.Dispatch(effEditKeyDown, 0, kDown, nullptr, kShift), 1);
    EXPECT_NEAR(plugin.GetParameter(reference.thresholdIndex), start + 0.018f, 1e-5);
    EXPECT_EQ(plugin.Dispatch(effEditKeyDown, ' ', kSpace, nullptr, 0.0f), 0);
    // The drawn shape's points follow the threshold and are reported as automation of their own.
    std::vector<Report> reports = plugin.Host().AutomationReports();
    std::erase_if(reports, [&](const Report& report) { return report.index != reference.thresholdIndex && report.index >= 29; });
    ASSERT_FALSE(reports.empty());
    for (const Report& report : reports) {
        EXPECT_EQ(report.index, reference.thresholdIndex);
        EXPECT_EQ(report.thread, std::this_thread::get_id());
    }
    EXPECT_NEAR(reports.back().kind == Report::kValue ? reports.back().value : reports[reports.size() - 2].value,
                start + 0.018f, 1e-5);
    plugin.Dispatch(effEditClose);
}

// "Save as default" and "Reset to factory settings" in the top bar, clicked as a user does:
// the saved settings are what the next instance starts with; the reset brings the factory
// values back as one whole change the host hears of on its own thread (the one that idles the
// editor), and leaves the saved defaults alone.
TEST_F(TandrelMiniEditorX11, SaveAsDefaultAndResetToFactorySettings) {
    const Reference reference = PaintOffscreen();
    ASSERT_GE(reference.thresholdIndex, 0);
    ASSERT_GT(reference.saveDefault.right, reference.saveDefault.left);
    ASSERT_GT(reference.factoryReset.right, reference.factoryReset.left);
    const std::string folder = "/tmp/kiv-editor-defaults-" + std::to_string(getpid());
    std::filesystem::remove_all(folder);
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
    const auto fresh = [&] {
        KivVst2Plugin other;
        EXPECT_TRUE(other.Load(KIV_TANDREL_MINI_PATH)) << other.ErrorText();
        return other.GetParameter(reference.thresholdIndex);
    };
    const float factory = fresh();
    ASSERT_NE(factory, 0.3f);

    ASSERT_TRUE(OpenEditor());
    Idle(200);
    KivXvfbSession::FakeInput fake;
    if (!fake.Available()) GTEST_SKIP() << "libXtst is not installed";
    const auto click = [&](const KivRect& rect) {
        FakeClick(fake, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2, IdlePump());
        Idle(150);
    };
    plugin.SetParameter(reference.thresholdIndex, 0.3f);
    Idle(150);
    click(reference.saveDefault);
    EXPECT_TRUE(std::filesystem::exists(folder + "/Kestrune/TandrelMini/Tandrel.settings.xml"));
    EXPECT_FLOAT_EQ(fresh(), 0.3f);

    plugin.Host().ClearReports();
    click(reference.factoryReset);
    EXPECT_FLOAT_EQ(plugin.GetParameter(reference.thresholdIndex), factory);
    const std::vector<KivVst2HostCall> calls = plugin.Host().Calls();
    size_t told = 0;
    for (const KivVst2HostCall& call : calls) {
        if (call.opcode == audioMasterUpdateDisplay) ++told;
        EXPECT_EQ(call.thread, std::this_thread::get_id()) << "opcode " << call.opcode;
    }
    EXPECT_EQ(told, 1u);
    // The saved defaults stay.
    EXPECT_FLOAT_EQ(fresh(), 0.3f);
    plugin.Dispatch(effEditClose);
    unsetenv("XDG_DATA_HOME");
    std::filesystem::remove_all(folder);
}

// The top bar in a VST 2.4 host: a click on Bypass and a wheel notch on the channel-mode menu
// each reach the host as beginEdit, one automate and endEdit, bypass on the parameter after
// the plug-in's own; Ctrl+Z from the host's keys undoes the mode as a gesture again.
TEST_F(TandrelMiniEditorX11, BypassAndChannelModeAreOneGestureEach) {
    KivXvfbSession::FakeInput fake;
    if (!fake.Available()) GTEST_SKIP() << "libXtst is not installed";
    const int32_t bypass = plugin.NumParams() - 1;
    ASSERT_EQ(plugin.ParameterName(bypass), "Bypass");
    const int32_t mode = KivParameterLookupIndex("Channel mode");
    ASSERT_EQ(mode, 50);  // after the simple parameters, the shape's points and the side-chain
    ASSERT_TRUE(OpenEditor());
    Idle(300);
    auto reportsOn = [&](int32_t index) {
        std::string kinds;
        for (const Report& report : plugin.Host().AutomationReports()) {
            if (report.index != index) continue;
            kinds += report.kind == Report::kBeginEdit ? 'b' : report.kind == Report::kEndEdit ? 'e' : 'a';
        }
        return kinds;
    };
    auto lastValueOn = [&](int32_t index) {
        float value = -1.0f;
        for (const Report& report : plugin.Host().AutomationReports())
            if (report.index == index && report.kind == Report::kValue) value = report.value;
        return value;
    };
    // The bypass button (72 x 24 at (14, 44)) and the menu (150 x 24 at (164, 44)).
    plugin.Host().ClearReports();
    FakeClick(fake, 50, 56, IdlePump());
    Idle(150);
    EXPECT_EQ(reportsOn(bypass), "bae");
    EXPECT_EQ(lastValueOn(bypass), 1.0f);
    EXPECT_EQ(plugin.GetParameter(bypass), 1.0f);
    EXPECT_EQ(plugin.Host().AutomationReports().size(), 3u);

    plugin.Host().ClearReports();
    fake.motion(display, DefaultScreen(display), 239, 56, CurrentTime);
    Idle(50);
    fake.button(display, 5, True, CurrentTime);  // the wheel, one notch down
    fake.button(display, 5, False, CurrentTime);
    Idle(150);
    EXPECT_EQ(reportsOn(mode), "bae");
    EXPECT_FLOAT_EQ(lastValueOn(mode), 1.0f / 6.0f);
    EXPECT_EQ(plugin.ParameterDisplay(mode), "Left");
    EXPECT_EQ(plugin.Host().AutomationReports().size(), 3u);

    constexpr float kControl = 4.0f;  // VST 2.4 modifier bits
    plugin.Host().ClearReports();
    EXPECT_EQ(plugin.Dispatch(effEditKeyDown, 'z', 0, nullptr, kControl), 1);
    plugin.Dispatch(effEditKeyUp, 'z', 0, nullptr, kControl);
    Idle(100);
    EXPECT_EQ(reportsOn(mode), "bae");
    EXPECT_EQ(lastValueOn(mode), 0.0f);
    EXPECT_EQ(plugin.ParameterDisplay(mode), "Left + Right");
    plugin.Dispatch(effEditClose);
}

TEST_F(TandrelMiniEditorX11, OpensAndClosesFiftyTimesWhileAudioRuns) {
    const int threads = KivXvfbSession::ThreadCount();
    std::atomic<bool> running{true};
    std::thread audio([&] {
        std::vector<float> left(512), right(512), silent(512);
        // One input per pin the plug-in declares: the side-chain pair stays silent.
        std::vector<float*> inputs(static_cast<size_t>(std::max(2, plugin.NumInputs())), silent.data());
        inputs[0] = left.data();
        inputs[1] = right.data();
        std::vector<float> outLeft(512), outRight(512);
        float* outputs[2] = {outLeft.data(), outRight.data()};
        for (int i = 0; running.load(); ++i) {
            for (size_t n = 0; n < left.size(); ++n) left[n] = right[n] = 0.5f * static_cast<float>((n + i) % 64) / 64.0f;
            plugin.Effect()->processReplacing(plugin.Effect(), inputs.data(), outputs, 512);
        }
    });
    for (int round = 0; round < 50; ++round) {
        ASSERT_NE(Rect(), nullptr) << round;
        ASSERT_TRUE(OpenEditor()) << round;
        Idle(30);
        plugin.Dispatch(effEditClose);
    }
    running.store(false);
    audio.join();
    EXPECT_EQ(KivXvfbSession::ThreadCount(), threads);
}

// A host that destroys its window before it closes the editor: the X server destroys the
// editor's window with it, and the requests the editor makes on it afterwards fail on the
// plug-in's own connection, never reaching the host's error handler (whose default ends the
// process). The editor opens again in a new window afterwards. The pause after each close
// lets the error of the editor's last request arrive before the next open reads its
// connection, where it is read as an event rather than with a reply: the errors that only
// a connection's own error table keeps from the process-wide handler.
TEST_F(TandrelMiniEditorX11, SurvivesTheHostDestroyingItsWindowFirst) {
    KivXvfbSession::ProcessErrors errors(display);
    for (int round = 0; round < 5; ++round) {
        ASSERT_TRUE(OpenEditor());
        Idle(50);
        DestroyHostWindow(parent);
        Idle(50);
        plugin.Dispatch(effEditClose);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        parent = OpenHostWindow(1000, 560);
    }
    ASSERT_TRUE(OpenEditor());
    Idle(50);
    EXPECT_GE(ChildCount(parent), 1u);  // the editor is back in the new window
    plugin.Dispatch(effEditClose);
    XSync(display, False);
    for (const std::string& error : errors.Texts()) ADD_FAILURE() << error;
}

}  // namespace
#endif  // !_WIN32
