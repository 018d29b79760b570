// TandrelMini's editor through the offscreen window system: meters and their held values,
// channel count, the shape and envelope editors' editability, host gestures from a knob
// drag, and no repaint while nothing changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "dynamics/editor/tandrel_advanced_settings_window.h"
#include "dynamics/editor/tandrel_dynamics_editor.h"
#include "dynamics/editor/tandrel_level_history_view.h"
#include "dynamics/editor/tandrel_level_meter.h"
#include "dynamics/editor/tandrel_reduction_meter.h"
#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_combo_edit.h"
#include "gui/controls/kiv_graph_editor.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/controls/kiv_static.h"
#include "gui/core/kiv_windows.h"
#include "gui/drawing/kiv_png_writer.h"
#include "gui/offscreen/kiv_window_system_offscreen.h"
#include "plugin/editor/kiv_house_top_bar.h"
#include "plugin/kiv_channel_mode.h"
#include "plugin/kiv_edit_history.h"
#include "plugin/kiv_kestrune_audio_effect_plugin.h"
#include "plugin/kiv_plugin_host.h"
#include "tests/dynamics/processing/tandrel_rig.h"

namespace {

struct RecordingHost : KivPluginHost {
    // Bypass is reported apart from the parameters (VST 3 gives it an identifier of its own).
    static constexpr int32_t kBypass = -1;
    struct Call {
        char kind;  // 'b' begin, 'a' automate, 'e' end
        int32_t index;
        double value = 0.0;
    };
    void SendAutomation(int32_t index, double value) override { calls.push_back({'a', index, value}); }
    void SendBypassAutomation(bool on) override { calls.push_back({'a', kBypass, on ? 1.0 : 0.0}); }
    void GenerateMIDIEvent(int32_t, const uint8_t*) override {}
    void LatencyChanged() override { ++latencyChanges; }
    void ChangeEditorSize(int32_t width, int32_t height) override { sizes.push_back({width, height}); }
    void BeginEdit(int32_t index) override { calls.push_back({'b', index}); }
    void EndEdit(int32_t index) override { calls.push_back({'e', index}); }
    // The calls about `index` as one text ("bae"), with the last value automated.
    std::string Gestures(int32_t index, double* last = nullptr) const {
        std::string kinds;
        for (const Call& call : calls) {
            if (call.index != index) continue;
            kinds += call.kind;
            if (last && call.kind == 'a') *last = call.value;
        }
        return kinds;
    }
    std::vector<Call> calls;
    std::vector<KivPoint> sizes;
    int32_t latencyChanges = 0;
};

class DynamicsEditor : public ::testing::Test {
protected:
    void SetUp() override {
        system = new KivWindowSystemOffscreen();
        windows = std::make_unique<KivWindows>(system);
        rig = std::make_unique<TandrelRig>();
        rig->plugin.SetPluginHost(&host);
        KivAudioPlugin::SetEditorFactory(&TandrelDynamicsEditor::Create);
        try {
            editor = static_cast<TandrelDynamicsEditor*>(rig->plugin.CreateEditor(nullptr));
        } catch (const KivException& exception) {
            FAIL() << exception.GetMessage().ToUTF8();
        }
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(editor->Open(0));
        Settle();
    }
    void TearDown() override {
        rig->plugin.DestroyEditor();
        KivAudioPlugin::SetEditorFactory(nullptr);
        rig.reset();
        windows.reset();
    }
    // One refresh tick, then long enough for the invalidator to hand over its repaints.
    void Tick() {
        system->AdvanceClock(TandrelDynamicsEditor::kRefreshMilliseconds);
        system->ProcessPendingEvents();
    }
    void Settle() {
        for (int i = 0; i < 3; ++i) {
            Tick();
            std::this_thread::sleep_for(std::chrono::milliseconds(70));
            system->ProcessPendingEvents();
        }
    }
    void Click(const KivControl& control) {
        system->InjectMouseDown(editor->GetWindow(), CentreOf(control), KivMouseButton::kLeft);
        system->InjectMouseUp(editor->GetWindow(), CentreOf(control), KivMouseButton::kLeft);
        Tick();
    }
    void Wheel(const KivControl& control, int32_t notches) {
        system->InjectMouseWheel(editor->GetWindow(), CentreOf(control), 120 * notches);
        Tick();
    }
    // Ctrl+Z, with shift Ctrl+Shift+Z, as the window's keys.
    void PressUndo(bool shift = false) {
        system->SetInputState(static_cast<uint8_t>(KivInputState::kControl | (shift ? KivInputState::kShift : 0)));
        system->InjectKeyDown(editor->GetWindow(), 'Z');
        system->InjectKeyUp(editor->GetWindow(), 'Z');
        Tick();
        system->SetInputState(0);
    }
    KivEditHistory& History() { return rig->plugin.GetEditHistory(); }
    KivPoint CentreOf(const KivControl& control) const {
        const KivRect r = control.GetWindowRect();
        return KivPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    KivWindowSystemOffscreen* system = nullptr;
    std::unique_ptr<KivWindows> windows;
    std::unique_ptr<TandrelRig> rig;
    RecordingHost host;
    TandrelDynamicsEditor* editor = nullptr;
};

// -60 dB at the bottom, 0 dB at the top, on a root scale.
double MeterPosition(double amplitude) { return std::sqrt((amplitude - 0.001) / 0.999); }

TEST_F(DynamicsEditor, MetersShowOutputLevelsAndHeldValuesOfTheChannelsInUse) {
    for (int32_t channel = 0; channel < TandrelDynamicsEditor::kChannels; ++channel) {
        const bool used = channel < 2;  // the rig is stereo
        EXPECT_EQ(editor->OutputMeter(channel).IsVisible(), used) << channel;
        EXPECT_EQ(editor->ReductionMeter(channel).IsVisible(), used) << channel;
    }
    // With gate and both processors off only the gains act (all 0 dB): a constant 0.5 comes
    // out as 0.5, peak and RMS alike.
    for (const char* group : {"Gate", "Processor1", "Processor2"}) {
        const int32_t index = editor->GetParameterControls().FindIndex(KivString(group));
        ASSERT_GE(index, 0) << group;
        rig->plugin.SetParameter(index, 0.0, false);
    }
    rig->RunConstant(44100, 0.5f);
    Tick();
    const double expected = MeterPosition(0.5);  // 0.70675...
    EXPECT_NEAR(editor->OutputMeter(0).GetPeak(), expected, 1e-6);
    EXPECT_NEAR(editor->OutputMeter(0).GetRMS(), expected, 1e-6);
    EXPECT_NEAR(editor->OutputMeter(1).GetSlowPeak(), expected, 1e-6);
    EXPECT_EQ(editor->HeldPeakText(0).GetText().ToUTF8(), "-6.0");
    // Gain-only mode: the reduction meters are told a gain above 1, which they show as none.
    EXPECT_GT(editor->ReductionMeter(0).GetPosition(), 1.0);
    EXPECT_GT(editor->ReductionMeter(1).GetPosition(), 1.0);

    // Two seconds at -40 dB: the fast meter has long let go, the held peak has not.
    rig->RunConstant(2 * 44100, 0.01f);
    Tick();
    EXPECT_NEAR(editor->OutputMeter(0).GetPeak(), MeterPosition(0.01), 1e-4);
    EXPECT_EQ(editor->HeldPeakText(0).GetText().ToUTF8(), "-6.0");
    // A click on any meter starts the held values again.
    system->InjectMouseDown(editor->GetWindow(), CentreOf(editor->ReductionMeter(1)), KivMouseButton::kLeft);
    system->InjectMouseUp(editor->GetWindow(), CentreOf(editor->ReductionMeter(1)), KivMouseButton::kLeft);
    Tick();
    EXPECT_EQ(editor->HeldPeakText(0).GetText().ToUTF8(), "-40");

    if (const char* path = std::getenv("TANDREL_EDITOR_PNG")) {
        Settle();
        KivPngWriter::Write(*system->GetScreen(editor->GetWindow()), path);
    }
}

TEST_F(DynamicsEditor, AKnobDragIsOneGestureForTheHostAndNothingRepaintsWhileNothingChanges) {
    const int32_t index = editor->GetParameterControls().FindIndex(KivString("threshold1"));
    ASSERT_GE(index, 0);
    KivControl* knob = editor->GetParameterControls().Find(index);
    ASSERT_NE(knob, nullptr);
    const double before = rig->plugin.GetParameter(index);
    const KivPoint centre = CentreOf(*knob);
    KivWindow& window = editor->GetWindow();
    system->InjectMouseDown(window, centre, KivMouseButton::kLeft);
    for (int step = 1; step <= 5; ++step) system->InjectMouseMove(window, KivPoint{centre.x, centre.y - 4 * step});
    system->InjectMouseUp(window, KivPoint{centre.x, centre.y - 20}, KivMouseButton::kLeft);
    system->ProcessPendingEvents();
    // 20 pixels of the 200 that cover the range.
    EXPECT_NEAR(rig->plugin.GetParameter(index), before + 0.1, 1e-9);
    // The drawn shape's points follow the threshold and are reported as automation of their own.
    std::erase_if(host.calls, [&](const auto& call) { return call.index != index && call.index >= 29; });
    ASSERT_GE(host.calls.size(), 3u);
    EXPECT_EQ(host.calls.front().kind, 'b');
    EXPECT_EQ(host.calls.back().kind, 'e');
    for (size_t i = 1; i + 1 < host.calls.size(); ++i) EXPECT_EQ(host.calls[i].kind, 'a');
    for (const auto& call : host.calls) EXPECT_EQ(call.index, index);

    // Automation from the host moves the knob at the next refresh.
    rig->plugin.SetParameter(index, 0.25, false);
    Settle();
    EXPECT_NE(system->TakePaintedRects().size(), 0u);
    const int64_t paints = system->GetPaintCount();
    for (int i = 0; i < 10; ++i) {
        Tick();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    system->ProcessPendingEvents();
    EXPECT_EQ(system->GetPaintCount(), paints);
}

// The drawn shape's points, as the effect holds them.
std::vector<std::pair<double, double>> DrawnPoints(TandrelRig& rig) {
    std::vector<std::pair<double, double>> points;
    const KivEnvelope& shape = rig.effect().DrawnShape().GetEnvelope();
    for (int32_t i = 0; i < shape.GetPointCount(); ++i) points.emplace_back(shape.GetPoint(i).x, shape.GetPoint(i).y);
    return points;
}

TEST_F(DynamicsEditor, ShapeEditorsAcceptEditsOnlyForCustomShapes) {
    auto* shape = editor->Find<KivGraphEditor>(KivString("shapeeditor"));
    ASSERT_NE(shape, nullptr);
    EXPECT_FALSE(editor->IsShapeEditable());
    // The automatic shape is shown: as many points as the effect built.
    EXPECT_EQ(shape->GetEnvelope().GetPointCount(), static_cast<int32_t>(DrawnPoints(*rig).size()));
    // Custom shape off: a drag across the plot changes nothing.
    const auto automatic = DrawnPoints(*rig);
    const KivRect plot = shape->GetPlotRect();
    const KivRect at = shape->GetWindowRect();
    const KivPoint start{at.left + plot.left + plot.Width() / 3, at.top + plot.top + plot.Height() / 4};
    auto drag = [&] {
        system->InjectMouseDown(editor->GetWindow(), start, KivMouseButton::kLeft);
        system->InjectMouseMove(editor->GetWindow(), KivPoint{start.x + 10, start.y + 20});
        system->InjectMouseUp(editor->GetWindow(), KivPoint{start.x + 10, start.y + 20}, KivMouseButton::kLeft);
        Tick();
    };
    drag();
    EXPECT_EQ(DrawnPoints(*rig), automatic);
    EXPECT_EQ(shape->GetEnvelope().GetPointCount(), static_cast<int32_t>(automatic.size()));

    auto* custom = editor->Find<KivButton>(KivString("customshape"));
    ASSERT_NE(custom, nullptr);
    system->InjectMouseDown(editor->GetWindow(), CentreOf(*custom), KivMouseButton::kLeft);
    system->InjectMouseUp(editor->GetWindow(), CentreOf(*custom), KivMouseButton::kLeft);
    Tick();
    EXPECT_EQ(rig->effect().ProductSettings().customShape, 1);
    EXPECT_TRUE(editor->IsShapeEditable());
    // Custom shape on: the same drag adds a point, and the effect draws with it. The host
    // hears of the shape's points that moved, each as one gesture.
    host.calls.clear();
    drag();
    EXPECT_EQ(DrawnPoints(*rig).size(), automatic.size() + 1);
    ASSERT_FALSE(host.calls.empty());
    std::map<int32_t, std::string> gestures;
    for (const auto& call : host.calls) gestures[call.index] += call.kind;
    for (const auto& [index, kinds] : gestures) {
        EXPECT_GE(index, 29) << "only the shape's own parameters";
        EXPECT_EQ(kinds.front(), 'b') << index;
        EXPECT_EQ(kinds.back(), 'e') << index;
        EXPECT_EQ(std::count(kinds.begin(), kinds.end(), 'b'), 1) << index;
        EXPECT_EQ(std::count(kinds.begin(), kinds.end(), 'e'), 1) << index;
    }

    TandrelAdvancedSettingsWindow settings(rig->effect());
    EXPECT_EQ(settings.AttackMode().GetSelected(), static_cast<int32_t>(KivAttackReleaseMode::kFast));
    EXPECT_FALSE(settings.AttackShape().IsEnabled());
    // Three steps down the list from "Fast": "Custom".
    for (int i = 0; i < 3; ++i) settings.AttackMode().OnKeyDown(KivKeyCode::kDown, 0);
    EXPECT_EQ(settings.AttackMode().GetItem(settings.AttackMode().GetSelected()), KivString("Custom"));
    EXPECT_TRUE(settings.AttackShape().IsEnabled());
    EXPECT_FALSE(settings.ReleaseShape().IsEnabled());
    EXPECT_EQ(rig->effect().ProductSettings().attackShape, KivAttackReleaseMode::kCustom);
    if (const char* path = std::getenv("TANDREL_SETTINGS_PNG")) {
        settings.Show();
        Settle();
        KivPngWriter::Write(*system->GetScreen(settings), path);
    }
    settings.AttackMode().OnKeyDown(KivKeyCode::kUp, 0);
    EXPECT_FALSE(settings.AttackShape().IsEnabled());
    EXPECT_EQ(rig->effect().ProductSettings().attackShape, KivAttackReleaseMode::kExtreme);
}

TEST_F(DynamicsEditor, TopBarSwitchesSlotsAndShowsHelpOfTheControlUnderTheMouse) {
    auto* slots = editor->Find<KivComboEdit>(KivString("presets"));
    ASSERT_NE(slots, nullptr);
    ASSERT_EQ(slots->GetItemCount(), 8);
    EXPECT_EQ(slots->GetItem(7), KivString("H"));
    // The wheel over the selector steps to the next slot, which becomes live.
    system->InjectMouseWheel(editor->GetWindow(), CentreOf(*slots), -120);
    Tick();
    EXPECT_EQ(rig->plugin.GetPresetSlots().GetCurrent(), 1);
    // A/B goes back to where it was.
    auto* compare = editor->Find<KivButton>(KivString("ab"));
    ASSERT_NE(compare, nullptr);
    system->InjectMouseDown(editor->GetWindow(), CentreOf(*compare), KivMouseButton::kLeft);
    system->InjectMouseUp(editor->GetWindow(), CentreOf(*compare), KivMouseButton::kLeft);
    Tick();
    EXPECT_EQ(rig->plugin.GetPresetSlots().GetCurrent(), 0);
    EXPECT_EQ(slots->GetSelected(), 0);

    auto* line = editor->Find<KivStatic>(KivString("helpline"));
    auto* help = editor->Find<KivButton>(KivString("help"));
    ASSERT_NE(line, nullptr);
    ASSERT_NE(help, nullptr);
    EXPECT_FALSE(line->IsVisible());
    system->InjectMouseDown(editor->GetWindow(), CentreOf(*help), KivMouseButton::kLeft);
    system->InjectMouseUp(editor->GetWindow(), CentreOf(*help), KivMouseButton::kLeft);
    KivControl* knob = editor->GetParameterControls().Find(editor->GetParameterControls().FindIndex(KivString("depth")));
    ASSERT_NE(knob, nullptr);
    system->InjectMouseMove(editor->GetWindow(), CentreOf(*knob));
    Tick();
    EXPECT_TRUE(line->IsVisible());
    EXPECT_EQ(line->GetText().ToUTF8(), "Dry/wet defines ratio between dry and wet signals. 100% means fully processed, 0% means no "
                                        "processing at all.");
}

// At every size of the menu the window is the layout times the size, a drag that starts on
// the threshold knob where it is drawn (its centre times the size) turns it, and a click just
// outside it does not; the host is asked for the new size each time.
TEST_F(DynamicsEditor, AtEverySizeTheKnobsTurnWhereTheyAreDrawnAndTheHostIsAskedForTheSize) {
    const int32_t index = editor->GetParameterControls().FindIndex(KivString("threshold1"));
    KivControl* knob = editor->GetParameterControls().Find(index);
    ASSERT_NE(knob, nullptr);
    KivWindow& window = editor->GetWindow();
    // The knob is 64 x 88 at (8, 26) in processor 1's panel at (10, 86).
    const KivRect at = knob->GetWindowRect();
    ASSERT_EQ(at, (KivRect{18, 112, 81, 199}));
    // The layout's size times the menu's sizes, rounded.
    const KivPoint laidOut = window.GetSize();
    ASSERT_EQ(laidOut.x, 1000);
    for (const int32_t percent : {75, 100, 125, 150, 200}) {
        SCOPED_TRACE(percent);
        const KivPoint size{1000 * percent / 100, static_cast<int32_t>(std::lround(laidOut.y * percent / 100.0))};
        editor->ChooseZoom(percent / 100.0);
        Settle();
        ASSERT_EQ(host.sizes.size() > 0 ? host.sizes.back() : KivPoint{}, size);
        const KivBitmap* screen = system->GetScreen(window);
        ASSERT_NE(screen, nullptr);
        EXPECT_EQ(screen->Width(), size.x);
        EXPECT_EQ(screen->Height(), size.y);
        const KivPoint gotSize{editor->GetSize().width, editor->GetSize().height};
        EXPECT_EQ(gotSize, size);

        // The knob's centre (49.5, 155.5) on the screen, and 4 screen pixels left of its
        // left edge (18 logical pixels from the window's).
        const double factor = percent / 100.0;
        const KivPoint centre{static_cast<int32_t>(49.5 * factor), static_cast<int32_t>(155.5 * factor)};
        const KivPoint outside{static_cast<int32_t>(18 * factor) - 4, centre.y};
        rig->plugin.SetParameter(index, 0.5, false);
        system->InjectMouseDown(window, outside, KivMouseButton::kLeft);
        system->InjectMouseMove(window, KivPoint{outside.x, outside.y - 40});
        system->InjectMouseUp(window, KivPoint{outside.x, outside.y - 40}, KivMouseButton::kLeft);
        system->ProcessPendingEvents();
        EXPECT_EQ(rig->plugin.GetParameter(index), 0.5);
        system->InjectMouseDown(window, centre, KivMouseButton::kLeft);
        system->InjectMouseMove(window, KivPoint{centre.x, centre.y - 40});
        system->InjectMouseUp(window, KivPoint{centre.x, centre.y - 40}, KivMouseButton::kLeft);
        system->ProcessPendingEvents();
        // 40 screen pixels are 40 / factor logical ones (give or take the one a screen pixel
        // rounds to), of the 200 that cover the range.
        EXPECT_NEAR(rig->plugin.GetParameter(index), 0.5 + 0.2 / factor, 0.0051);
    }
}

// The size menu offers the five sizes and shows the one in use; the wheel on it steps to the
// next, which the host is asked for.
TEST_F(DynamicsEditor, TheSizeMenuChoosesTheEditorsSize) {
    auto* menu = editor->Find<KivComboEdit>(KivString("zoom"));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->GetItemCount(), 5);
    EXPECT_EQ(menu->GetItem(0).ToUTF8(), "75%");
    EXPECT_EQ(menu->GetItem(4).ToUTF8(), "200%");
    EXPECT_EQ(menu->GetItem(menu->GetSelected()).ToUTF8(), "100%");
    system->InjectMouseWheel(editor->GetWindow(), CentreOf(*menu), -120);
    Tick();
    EXPECT_EQ(menu->GetItem(menu->GetSelected()).ToUTF8(), "125%");
    ASSERT_EQ(host.sizes.size(), 1u);
    const int32_t height = editor->GetWindow().GetSize().y;
    EXPECT_EQ(host.sizes[0], (KivPoint{1250, static_cast<int32_t>(std::lround(height * 1.25))}));
    // A size the host chose is shown as it is, among the others.
    editor->Resize(1100, static_cast<int32_t>(std::lround(height * 1.1)));
    EXPECT_EQ(menu->GetItemCount(), 6);
    EXPECT_EQ(menu->GetItem(menu->GetSelected()).ToUTF8(), "110%");
}

// The windows the editor opens (Settings, MIDI, morph, presets, and any question one of them
// asks first) open at the editor's scale, centred over it: at 200% each shows twice its
// laid-out size and is drawn at that size, not enlarged, so its text is as sharp as the
// editor's (an enlargement repeats every pixel in 2 x 2 blocks; text drawn afresh splits
// many of them).
TEST_F(DynamicsEditor, ItsWindowsOpenAtTheEditorsScale) {
    editor->ChooseZoom(2.0);
    Settle();
    KivWindow& window = editor->GetWindow();
    const KivRect editorBounds = system->GetWindowBounds(window);
    struct Seen {
        std::string title;
        double scale;
        KivPoint laidOut, shown, centre;
        int64_t blocks, split;
    };
    std::vector<Seen> seen;
    system->SetModalHook([&](KivWindow& dialog) {
        const KivBitmap* screen = system->GetScreen(dialog);
        const KivRect bounds = system->GetWindowBounds(dialog);
        Seen one{system->GetTitle(dialog).ToUTF8(), dialog.GetScale().factor, dialog.GetSize(),
                 screen ? KivPoint{screen->Width(), screen->Height()} : KivPoint{},
                 KivPoint{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2}, 0, 0};
        for (int32_t y = 0; screen && y + 1 < screen->Height(); y += 2) {
            for (int32_t x = 0; x + 1 < screen->Width(); x += 2) {
                const KivColor corner = screen->At(x, y);
                ++one.blocks;
                one.split += screen->At(x + 1, y) != corner || screen->At(x, y + 1) != corner || screen->At(x + 1, y + 1) != corner;
            }
        }
        if (const char* prefix = std::getenv("TANDREL_DIALOG_PNG"); prefix && screen)
            KivPngWriter::Write(*screen, std::string(prefix) + std::to_string(seen.size()) + ".png");
        seen.push_back(one);
        dialog.EndModal(0);
    });
    for (const char* identifier : {"Settings", "midi", "morph", "library"}) {
        const KivControl* button = editor->FindControl(KivString(identifier));
        ASSERT_NE(button, nullptr) << identifier;
        const size_t before = seen.size();
        const KivRect device = window.GetScale().ToDevice(button->GetWindowRect());
        const KivPoint centre{(device.left + device.right) / 2, (device.top + device.bottom) / 2};
        system->InjectMouseDown(window, centre, KivMouseButton::kLeft);
        system->InjectMouseUp(window, centre, KivMouseButton::kLeft);
        system->ProcessPendingEvents();
        EXPECT_GT(seen.size(), before) << identifier << " opened no window";
    }
    system->SetModalHook(nullptr);
    const KivPoint editorCentre{(editorBounds.left + editorBounds.right) / 2, (editorBounds.top + editorBounds.bottom) / 2};
    for (const Seen& one : seen) {
        SCOPED_TRACE(one.title);
        EXPECT_EQ(one.scale, 2.0);
        EXPECT_EQ(one.shown.x, 2 * one.laidOut.x);
        EXPECT_EQ(one.shown.y, 2 * one.laidOut.y);
        EXPECT_NEAR(one.centre.x, editorCentre.x, 1);
        EXPECT_NEAR(one.centre.y, editorCentre.y, 1);
        EXPECT_GT(one.split, one.blocks / 200) << one.split << " of " << one.blocks << " blocks split";
        std::printf("%s: %d x %d shown, %lld of %lld 2x2 blocks split\n", one.title.c_str(), one.shown.x, one.shown.y,
                    static_cast<long long>(one.split), static_cast<long long>(one.blocks));
    }
}

// The level history while audio plays: a frame every 25 ms of the offscreen clock with new
// columns (40 a second), the newest column on the right showing the level played, drawn at
// the row of its decibels; in silence no frame and no paint at all.
TEST_F(DynamicsEditor, LevelHistoryScrollsWhileAudioPlaysAndRepaintsNothingInSilence) {
    TandrelLevelHistoryView* history = editor->LevelHistory();
    ASSERT_NE(history, nullptr);
    // Gate and processors off: only the 0 dB gains act, so 0.5 in is 0.5 out.
    for (const char* group : {"Gate", "Processor1", "Processor2"})
        rig->plugin.SetParameter(editor->GetParameterControls().FindIndex(KivString(group)), 0.0, false);
    // The plot: 970 - 34 - 2 pixels wide, 467 columns of two pixels, 84 rows.
    const KivRect plot = history->PlotRect();
    EXPECT_EQ(history->Capacity(), (970 - 34 - 2) / 2);
    EXPECT_EQ(plot.Height(), 84);

    const int64_t framesBefore = history->GetFrameCount();
    for (int step = 0; step < 40; ++step) {
        rig->RunConstant(1103, 0.5f);  // 25 ms at 44.1 kHz
        system->AdvanceClock(TandrelLevelHistoryView::kFrameMilliseconds);
        system->ProcessPendingEvents();
    }
    // One second of offscreen clock, 40 frames: more than 30 a second.
    EXPECT_EQ(history->GetFrameCount() - framesBefore, 40);
    const TandrelLevelHistory::Column newest = history->ColumnAt(0);
    EXPECT_EQ(newest.input, 0.5f);
    EXPECT_EQ(newest.output, 0.5f);
    // Gain-only processing reduces nothing.
    EXPECT_EQ(newest.reduction, 1.0f);

    // 0.5 is -6.02 dB: a tenth of the way down the 60 dB scale, row round(0.1003 * 83) = 8
    // below the plot's top. The newest column (the plot's last two pixels) is blue from there
    // down and the plot's well above it.
    Settle();
    const KivBitmap* screen = system->GetScreen(editor->GetWindow());
    ASSERT_NE(screen, nullptr);
    const KivRect at = history->GetWindowRect();
    const int32_t x = at.left + plot.right, top = at.top + plot.top;
    EXPECT_EQ(history->RowOf(-6.0206), plot.top + 8);
    const KivColor blue = KivColor::Rgb(52, 132, 235), well = KivColor::Rgb(30, 34, 41);
    EXPECT_EQ(screen->At(x, top + 8).WithAlpha(255), blue);
    EXPECT_EQ(screen->At(x, top + 40).WithAlpha(255), blue);
    EXPECT_EQ(screen->At(x, top + 6).WithAlpha(255), well);

    // Silence: after the column that still held sound, nothing new to show and nothing of the
    // history repainted (the meters still fall meanwhile, and repaint themselves).
    rig->RunConstant(44100, 0.0f);
    system->AdvanceClock(TandrelLevelHistoryView::kFrameMilliseconds);
    Settle();
    const int64_t frames = history->GetFrameCount();
    system->TakePaintedRects();
    for (int step = 0; step < 40; ++step) {
        rig->RunConstant(1103, 0.0f);
        system->AdvanceClock(TandrelLevelHistoryView::kFrameMilliseconds);
        system->ProcessPendingEvents();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(70));
    system->ProcessPendingEvents();
    EXPECT_EQ(history->GetFrameCount(), frames);
    for (const KivRect& painted : system->TakePaintedRects())
        EXPECT_TRUE(painted.Intersection(at).IsEmpty()) << painted.left << "," << painted.top << " " << painted.right << "," << painted.bottom;
}

// A drag is one step however far it goes, a wheel notch another; undo sets the values back as
// the editor would, one host gesture each, and redo sets them again. A new gesture after an
// undo drops what could have been redone.
TEST_F(DynamicsEditor, UndoAndRedoTakeBackAndRepeatOneGestureAtATime) {
    KivParameterControls& controls = editor->GetParameterControls();
    const int32_t threshold = controls.FindIndex(KivString("threshold1"));
    const int32_t depth = controls.FindIndex(KivString("depth"));
    ASSERT_GE(threshold, 0);
    ASSERT_GE(depth, 0);
    auto* undo = editor->Find<KivButton>(KivString("undo"));
    auto* redo = editor->Find<KivButton>(KivString("redo"));
    ASSERT_NE(undo, nullptr);
    ASSERT_NE(redo, nullptr);
    EXPECT_FALSE(undo->IsEnabled());
    EXPECT_FALSE(redo->IsEnabled());

    const double thresholdBefore = rig->plugin.GetParameter(threshold);
    const double depthBefore = rig->plugin.GetParameter(depth);
    const KivPoint centre = CentreOf(*controls.Find(threshold));
    system->InjectMouseDown(editor->GetWindow(), centre, KivMouseButton::kLeft);
    for (int step = 1; step <= 5; ++step) system->InjectMouseMove(editor->GetWindow(), KivPoint{centre.x, centre.y - 4 * step});
    system->InjectMouseUp(editor->GetWindow(), KivPoint{centre.x, centre.y - 20}, KivMouseButton::kLeft);
    Tick();
    // 20 pixels of the 200 that cover the range, then one notch of 2% down.
    ASSERT_NEAR(rig->plugin.GetParameter(threshold), thresholdBefore + 0.1, 1e-9);
    Wheel(*controls.Find(depth), -1);
    ASSERT_NEAR(rig->plugin.GetParameter(depth), depthBefore - 0.02, 1e-9);
    EXPECT_EQ(History().UndoCount(), 2);
    EXPECT_TRUE(undo->IsEnabled());

    host.calls.clear();
    PressUndo();
    EXPECT_NEAR(rig->plugin.GetParameter(depth), depthBefore, 1e-12);
    EXPECT_NEAR(rig->plugin.GetParameter(threshold), thresholdBefore + 0.1, 1e-9);
    double told = -1.0;
    EXPECT_EQ(host.Gestures(depth, &told), "bae");
    EXPECT_NEAR(told, depthBefore, 1e-12);
    EXPECT_EQ(host.Gestures(threshold), "");
    Click(*undo);
    EXPECT_NEAR(rig->plugin.GetParameter(threshold), thresholdBefore, 1e-12);
    EXPECT_FALSE(undo->IsEnabled());
    EXPECT_TRUE(redo->IsEnabled());
    PressUndo();  // nothing left: nothing changes
    EXPECT_NEAR(rig->plugin.GetParameter(threshold), thresholdBefore, 1e-12);

    host.calls.clear();
    PressUndo(true);
    EXPECT_NEAR(rig->plugin.GetParameter(threshold), thresholdBefore + 0.1, 1e-9);
    EXPECT_NEAR(rig->plugin.GetParameter(depth), depthBefore, 1e-12);
    EXPECT_EQ(host.Gestures(threshold, &told), "bae");
    EXPECT_NEAR(told, thresholdBefore + 0.1, 1e-9);
    EXPECT_EQ(History().RedoCount(), 1);
    // A new gesture: the undone notch cannot come back.
    Wheel(*controls.Find(depth), -1);
    EXPECT_EQ(History().RedoCount(), 0);
    EXPECT_FALSE(redo->IsEnabled());
    PressUndo(true);
    EXPECT_NEAR(rig->plugin.GetParameter(depth), depthBefore - 0.02, 1e-9);
    EXPECT_NEAR(rig->plugin.GetParameter(threshold), thresholdBefore + 0.1, 1e-9);
}

// 105 gestures, each setting the input gain to (n + 1) / 200: the history keeps the last 100,
// so undoing all it has ends at the value the sixth gesture started from, 5 / 200.
TEST_F(DynamicsEditor, TheHistoryKeepsTheLastHundredSteps) {
    const int32_t gain = editor->GetParameterControls().FindIndex(KivString("gain"));
    ASSERT_GE(gain, 0);
    for (int32_t n = 0; n < 105; ++n) {
        rig->plugin.BeginEdit(gain);
        rig->plugin.SetParameterAutomated(gain, (n + 1) / 200.0);
        rig->plugin.EndEdit(gain);
    }
    EXPECT_EQ(History().UndoCount(), KivEditHistory::kSteps);
    int32_t undone = 0;
    while (History().Undo()) ++undone;
    EXPECT_EQ(undone, 100);
    EXPECT_NEAR(rig->plugin.GetParameter(gain), 5 / 200.0, 1e-12);
    EXPECT_EQ(History().RedoCount(), 100);
}

// Bypass and the channel mode are what the host sees: bypass reported once as the host's own
// switch, the channel mode as one gesture on its parameter; both are undone like any gesture.
// A preset loaded in a window the bar opens, the expander switch, oversampling and a reset to
// factory settings are settings steps: undo puts the whole settings back.
TEST_F(DynamicsEditor, TopBarBypassChannelModeOversamplingAndPresetLoadsAreOneStepEach) {
    auto* bypass = editor->Find<KivButton>(KivString("bypass"));
    ASSERT_NE(bypass, nullptr);
    host.calls.clear();
    Click(*bypass);
    EXPECT_TRUE(rig->plugin.IsBypassed());
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0].index, RecordingHost::kBypass);
    EXPECT_EQ(host.calls[0].value, 1.0);
    PressUndo();
    EXPECT_FALSE(rig->plugin.IsBypassed());
    EXPECT_FALSE(bypass->IsChecked());
    ASSERT_EQ(host.calls.size(), 2u);
    EXPECT_EQ(host.calls[1].value, 0.0);

    // The menu holds the core's modes for a stereo pair; a notch down picks "Left".
    const int32_t mode = editor->GetParameterControls().FindIndex(KivString("ChannelMode"));
    ASSERT_GE(mode, 0);
    auto* modes = dynamic_cast<KivComboEdit*>(editor->GetParameterControls().Find(mode));
    ASSERT_NE(modes, nullptr);
    ASSERT_EQ(modes->GetItemCount(), 7);
    EXPECT_EQ(modes->GetItem(3), KivString("Mid"));
    EXPECT_EQ(modes->GetItem(5), KivString("Mid + Side"));
    host.calls.clear();
    Wheel(*modes, -1);
    EXPECT_EQ(rig->plugin.GetChannelMode(), kKivChannelModeLeft);
    double told = -1.0;
    EXPECT_EQ(host.Gestures(mode, &told), "bae");
    EXPECT_NEAR(told, 1.0 / 6.0, 1e-12);
    PressUndo();
    EXPECT_EQ(rig->plugin.GetChannelMode(), kKivChannelModeLeftRight);

    // Oversampling 4x: two notches; the host hears of the latency each time.
    auto* oversampling = editor->Find<KivComboEdit>(KivString("oversampling"));
    ASSERT_NE(oversampling, nullptr);
    const int32_t stepsBefore = History().UndoCount();
    Wheel(*oversampling, -1);
    Wheel(*oversampling, -1);
    EXPECT_EQ(rig->plugin.GetOversampling(), 4);
    EXPECT_GE(host.latencyChanges, 1);
    EXPECT_EQ(History().UndoCount(), stepsBefore + 2);
    PressUndo();
    EXPECT_EQ(rig->plugin.GetOversampling(), 2);
    PressUndo();
    EXPECT_EQ(rig->plugin.GetOversampling(), 1);
    EXPECT_EQ(oversampling->GetSelected(), 0);

    auto* expander = editor->Find<KivButton>(KivString("Expander"));
    ASSERT_NE(expander, nullptr);
    Click(*expander);
    EXPECT_EQ(rig->effect().ProductSettings().expander1, 1);
    PressUndo();
    EXPECT_EQ(rig->effect().ProductSettings().expander1, 0);
    PressUndo(true);
    EXPECT_EQ(rig->effect().ProductSettings().expander1, 1);

    // A preset library window that loads settings with the second processor on.
    static int32_t processor2 = -1;
    processor2 = editor->GetParameterControls().FindIndex(KivString("Processor2"));
    ASSERT_GE(processor2, 0);
    ASSERT_EQ(rig->plugin.GetParameter(processor2), 0.0);
    KivHouseEditorWindows& windows = KivHouseEditorWindows::Registered();
    const KivHouseEditorWindows::Opener library = windows.presetLibrary;
    windows.presetLibrary = [](KivWindow&, KivKestruneAudioEffectPlugin& plugin) {
        KivXMLItem loaded(KivString("settings"));
        plugin.SetParameter(processor2, 1.0, false);
        plugin.StoreLiveSettings(loaded, true);
        plugin.SetParameter(processor2, 0.0, false);
        plugin.StoreLiveSettings(loaded, false);
        plugin.OnSettingsChanged();
    };
    Click(*editor->Find<KivButton>(KivString("library")));
    windows.presetLibrary = library;
    EXPECT_EQ(rig->plugin.GetParameter(processor2), 1.0);
    const int32_t steps = History().UndoCount();
    PressUndo();
    EXPECT_EQ(rig->plugin.GetParameter(processor2), 0.0);
    EXPECT_EQ(rig->effect().ProductSettings().expander1, 1);  // the step before stays
    EXPECT_EQ(History().UndoCount(), steps - 1);
    PressUndo(true);
    EXPECT_EQ(rig->plugin.GetParameter(processor2), 1.0);

    // A reset to factory settings made by mistake comes back with undo.
    Click(*editor->Find<KivButton>(KivString("factoryreset")));
    EXPECT_EQ(rig->plugin.GetParameter(processor2), 0.0);
    EXPECT_EQ(rig->effect().ProductSettings().expander1, 0);
    PressUndo();
    EXPECT_EQ(rig->plugin.GetParameter(processor2), 1.0);
    EXPECT_EQ(rig->effect().ProductSettings().expander1, 1);
}

}  // namespace

// The shape editor draws the curve the audio uses in every mode: processor 1 at -12 dB, 2:1,
// knee 100%. Logarithmic: the textbook soft knee, -12.75 dB out at the threshold and the
// straight decibel line 6 dB away (-6 dB in, -9 dB out). Linear: straight in amplitude
// between (-12 dB, -12 dB) and (0 dB, -6 dB) beyond the corner's width (0.251 amplitude).
TEST_F(DynamicsEditor, ShapeEditorDrawsTheCurveOfTheShapeMode) {
    auto* shape = editor->Find<KivGraphEditor>(KivString("shapeeditor"));
    ASSERT_NE(shape, nullptr);
    auto root = [](double decibels) { return std::sqrt(std::pow(10.0, decibels / 20.0)); };
    auto decibels = [](double rootAmplitude) { return 40.0 * std::log10(rootAmplitude); };
    rig->Compressor(-12.0, 2.0);
    rig->Set(kTandrelKneeSize1, 1.0);
    rig->SetItem(kTandrelShapeMode, 2);
    rig->effect().Reprepare();
    Tick();
    EXPECT_NEAR(decibels(shape->ValueAt(root(-12.0))), -12.75, 0.01);
    EXPECT_NEAR(decibels(shape->ValueAt(root(-6.0))), -9.0, 0.01);
    EXPECT_NEAR(decibels(shape->ValueAt(root(-30.0))), -30.0, 0.01);
    rig->SetItem(kTandrelShapeMode, 0);
    rig->effect().Reprepare();
    Tick();
    const double t = std::pow(10.0, -12.0 / 20.0), top = std::pow(10.0, -6.0 / 20.0);
    const double x = std::pow(10.0, -2.0 / 20.0);
    EXPECT_NEAR(decibels(shape->ValueAt(root(-2.0))), 20.0 * std::log10(t + (x - t) * (top - t) / (1.0 - t)), 0.01);
}
