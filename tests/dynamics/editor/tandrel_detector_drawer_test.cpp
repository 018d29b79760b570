// The detector drawer of TandrelMini's editor, driven with the mouse through the offscreen
// window system: the response it draws against closed-form magnitudes of the filters, what
// the detector hears after an edit (through the plug-in's processing), the host's view of
// the one host parameter in it, and every setting through a state and back.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "base/kiv_byte_buffer.h"
#include "base/stream/kiv_memory_stream.h"
#include "base/xml/kiv_xml_item.h"
#include "dynamics/editor/tandrel_detector_curve.h"
#include "dynamics/editor/tandrel_detector_drawer.h"
#include "dynamics/editor/tandrel_dynamics_editor.h"
#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_check_box.h"
#include "gui/controls/kiv_knob.h"
#include "gui/core/kiv_windows.h"
#include "gui/drawing/kiv_png_writer.h"
#include "gui/offscreen/kiv_window_system_offscreen.h"
#include "plugin/editor/kiv_parameter_controls.h"
#include "dynamics/parameters/tandrel_enumerations.h"
#include "plugin/kiv_edit_history.h"
#include "plugin/kiv_plugin_host.h"
#include "plugin/state/kiv_state_document.h"
#include "tests/dynamics/processing/tandrel_rig.h"

namespace {

struct GestureHost : KivPluginHost {
    void SendAutomation(int32_t index, double) override { calls += 'a' + std::to_string(index) + ' '; }
    void GenerateMIDIEvent(int32_t, const uint8_t*) override {}
    void LatencyChanged() override {}
    void ChangeEditorSize(int32_t, int32_t) override {}
    void BeginEdit(int32_t index) override { calls += 'b' + std::to_string(index) + ' '; }
    void EndEdit(int32_t index) override { calls += 'e' + std::to_string(index) + ' '; }
    void SettingsChanged() override { calls += "s "; }
    std::string calls;
};

class DetectorDrawer : public ::testing::Test {
protected:
    void SetUp() override {
        system = new KivWindowSystemOffscreen();
        windows = std::make_unique<KivWindows>(system);
        rig = std::make_unique<TandrelRig>();
        rig->plugin.SetPluginHost(&host);
        KivAudioPlugin::SetEditorFactory(&TandrelDynamicsEditor::Create);
        editor = static_cast<TandrelDynamicsEditor*>(rig->plugin.CreateEditor(nullptr));
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(editor->Open(0));
        system->ProcessPendingEvents();
    }
    void TearDown() override {
        rig->plugin.DestroyEditor();
        KivAudioPlugin::SetEditorFactory(nullptr);
        rig.reset();
        windows.reset();
    }
    TandrelDetectorDrawer& Drawer() { return editor->Detector(); }
    KivWindow& Window() { return editor->GetWindow(); }
    // One refresh tick: what other threads changed shows.
    void Tick() {
        system->AdvanceClock(TandrelDynamicsEditor::kRefreshMilliseconds);
        system->ProcessPendingEvents();
    }
    static KivPoint CentreOf(const KivControl& control) {
        const KivRect r = control.GetWindowRect();
        return KivPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Click(const KivControl& control) {
        system->InjectMouseDown(Window(), CentreOf(control), KivMouseButton::kLeft);
        system->InjectMouseUp(Window(), CentreOf(control), KivMouseButton::kLeft);
        system->ProcessPendingEvents();
    }
    // Ctrl+Z, with shift Ctrl+Shift+Z, as the window's keys.
    void PressUndo(bool shift = false) {
        system->SetInputState(static_cast<uint8_t>(KivInputState::kControl | (shift ? KivInputState::kShift : 0)));
        system->InjectKeyDown(Window(), 'Z');
        system->InjectKeyUp(Window(), 'Z');
        Tick();
        system->SetInputState(0);
    }
    // Refresh ticks with time for the invalidator, which merges repaints for 50 ms.
    void Settle() {
        for (int i = 0; i < 3; ++i) {
            Tick();
            std::this_thread::sleep_for(std::chrono::milliseconds(70));
            system->ProcessPendingEvents();
        }
    }
    // A point of the curve control in window coordinates.
    KivPoint OnCurve(KivPoint local) {
        const KivRect box = Drawer().Curve().GetWindowRect();
        return KivPoint{box.left + local.x, box.top + local.y};
    }
    // Drags a handle of the curve to `to` (the curve's own coordinates) in four steps.
    void DragHandle(int32_t handle, KivPoint to) {
        const KivPoint from = OnCurve(Drawer().Curve().HandlePosition(handle));
        const KivPoint target = OnCurve(to);
        system->InjectMouseDown(Window(), from, KivMouseButton::kLeft);
        for (int step = 1; step <= 4; ++step)
            system->InjectMouseMove(Window(), KivPoint{from.x + (target.x - from.x) * step / 4, from.y + (target.y - from.y) * step / 4});
        system->InjectMouseUp(Window(), target, KivMouseButton::kLeft);
        system->ProcessPendingEvents();
    }
    // The plot's column of `frequency` and its row of `decibels`, by the documented axes:
    // 20 Hz to 20 kHz logarithmically over the plot's width, +24 dB to -24 dB down its height.
    int32_t ColumnOf(double frequency) {
        const KivRect plot = Drawer().Curve().GetPlotRect();
        return plot.left + static_cast<int32_t>(std::lround(std::log10(frequency / 20.0) / 3.0 * (plot.Width() - 1)));
    }
    double RowOf(double decibels) {
        const KivRect plot = Drawer().Curve().GetPlotRect();
        return plot.top + (24.0 - decibels) / 48.0 * (plot.Height() - 1);
    }
    // The whole window painted afresh.
    const KivBitmap& Repainted() {
        editor->Close();
        EXPECT_TRUE(editor->Open(0));
        system->ProcessPendingEvents();
        return *system->GetScreen(Window());
    }
    void WritePicture(const char* variable) {
        if (const char* path = std::getenv(variable)) KivPngWriter::Write(Repainted(), path);
    }

    KivWindowSystemOffscreen* system = nullptr;
    std::unique_ptr<KivWindows> windows;
    std::unique_ptr<TandrelRig> rig;
    GestureHost host;
    TandrelDynamicsEditor* editor = nullptr;
};

std::string Text(const KivXMLItem& item) {
    KivMemoryStream stream;
    item.Save(stream, KivString("utf-8"));
    const KivByteBuffer contents = stream.GetContents();
    return std::string(contents.Data(), contents.Data() + contents.Size());
}

void RemoveEverywhere(KivXMLItem& item, const char* name) {
    if (item.HasAttribute(KivString(name))) item.RemoveAttribute(KivString(name));
    for (int32_t i = 0; i < item.GetSubItemCount(); ++i) RemoveEverywhere(item.GetSubItemAt(i), name);
}

// Closed forms of the cookbook sections, from their analogue prototypes through the bilinear
// transform pre-warped at the corner: the digital response at f is the analogue one at
// W = tan(pi f / rate) / tan(pi f0 / rate).
double Warped(double f, double f0, double rate) {
    return std::tan(std::numbers::pi * f / rate) / std::tan(std::numbers::pi * f0 / rate);
}
// High-pass s^2 / (s^2 + s/Q + 1).
double HighPassDecibels(double f, double f0, double q, double rate) {
    const double w = Warped(f, f0, rate);
    return 10.0 * std::log10(std::pow(w, 4) / (std::pow(1 - w * w, 2) + std::pow(w / q, 2)));
}
// Peak (s^2 + s A/Q + 1) / (s^2 + s/(A Q) + 1), A = 10^(gain/40).
double PeakDecibels(double f, double f0, double q, double gain, double rate) {
    const double w = Warped(f, f0, rate), a = std::pow(10.0, gain / 40.0);
    const double flat = std::pow(1 - w * w, 2);
    return 10.0 * std::log10((flat + std::pow(w * a / q, 2)) / (flat + std::pow(w / (a * q), 2)));
}

// The curve's row in a painted column: the centre of the amber pixels (red well above blue;
// the grid, labels, handles and the faint tint under the curve have little or none of that).
double CurveRowIn(const KivBitmap& screen, int32_t x, int32_t top, int32_t bottom) {
    double weight = 0.0, sum = 0.0;
    for (int32_t y = top; y <= bottom; ++y) {
        const KivColor c = screen.At(x, y);
        const double w = std::max(0.0, static_cast<double>(c.r) - c.b - 60.0);
        weight += w;
        sum += w * y;
    }
    return weight > 0.0 ? sum / weight : -1.0;
}

TEST_F(DetectorDrawer, DrawsTheFiltersResponseAsTheirClosedFormsGiveIt) {
    const double rate = 44100.0;
    // The panel opens from the Detection section and covers the sections above it.
    EXPECT_FALSE(Drawer().IsOpen());
    Click(Drawer().OpenButton());
    EXPECT_TRUE(Drawer().IsOpen());
    EXPECT_TRUE(Drawer().OpenButton().IsChecked());
    // High-pass at 200 Hz with Q 0.707; peaks of +12 dB at 1 kHz (Q 2) and -9 dB at 5 kHz (Q 1.5).
    {
        KivSynchronizerGuard lock(rig->effect().GetEffectMutex());
        KivDetectorFilterSettings& s = rig->effect().Follower().Filter().settings;
        s.enabledSideChain = true;
        s.lowPass = false;
        s.minFrequency = 200.0;
        s.highPassQuality = 0.707;
        s.equalizerEnabled = true;
        s.equalizer.bands[2] = {1000.0, 2.0, 12.0};
        s.equalizer.bands[4] = {5000.0, 1.5, -9.0};
    }
    rig->effect().Reprepare();
    Tick();
    EXPECT_TRUE(Drawer().HighPass().IsChecked());
    EXPECT_FALSE(Drawer().LowPass().IsChecked());
    const KivRect box = Drawer().Curve().GetWindowRect();
    const KivRect plot = Drawer().Curve().GetPlotRect().Offset(box.left, box.top);
    const double pixelDecibels = 48.0 / (plot.Height() - 1);
    // At 100% and at 200%, where a logical pixel is two device pixels each way.
    for (double scale : {1.0, 2.0}) {
        Window().SetScale(scale);
        const KivBitmap& screen = Repainted();
        ASSERT_EQ(screen.Width(), static_cast<int32_t>(std::lround(1000 * scale)));
        const auto logical = [scale](double device) { return (device + 0.5) / scale - 0.5; };
        double worst = 0.0;
        // Between the handles, where only the curve is drawn.
        for (double frequency : {60.0, 200.0, 600.0, 1500.0, 7000.0}) {
            const int32_t device = static_cast<int32_t>(std::lround((box.left + ColumnOf(frequency) + 0.5) * scale - 0.5));
            const double f = 20.0 * std::pow(1000.0, (logical(device) - plot.left) / (plot.Width() - 1));
            const double expected = HighPassDecibels(f, 200.0, 0.707, rate) + PeakDecibels(f, 1000.0, 2.0, 12.0, rate) +
                                    PeakDecibels(f, 5000.0, 1.5, -9.0, rate);
            const double row = CurveRowIn(screen, device, static_cast<int32_t>(plot.top * scale),
                                          static_cast<int32_t>((plot.bottom + 1) * scale) - 1);
            ASSERT_GT(row, 0.0) << frequency << " Hz at " << scale << ": no curve in its column";
            const double drawn = logical(row) - box.top;
            EXPECT_NEAR(drawn, RowOf(expected), 1.0) << frequency << " Hz at " << scale << ": expected " << expected << " dB";
            worst = std::max(worst, std::fabs(drawn - RowOf(expected)));
        }
        std::printf("at %.0f%% the drawn curve lies within %.2f px (%.2f dB) of the closed form\n", scale * 100, worst,
                    worst * pixelDecibels);
    }
    // Hand values of the closed forms themselves: +12 dB at the peak, -3.01 dB at the corner.
    EXPECT_NEAR(PeakDecibels(1000.0, 1000.0, 2.0, 12.0, rate), 12.0, 1e-9);
    EXPECT_NEAR(HighPassDecibels(200.0, 200.0, 0.707, rate), 20 * std::log10(0.707), 1e-9);
    WritePicture("TANDREL_DETECTOR_PNG");
}

// Hosts destroy the editor with its window: the instance's next editor opens the drawer as
// the user left it, open or closed, while another instance's opens it closed.
TEST_F(DetectorDrawer, TheNextEditorOpensTheDrawerAsItWasLeft) {
    auto reopen = [&] {
        rig->plugin.DestroyEditor();
        editor = static_cast<TandrelDynamicsEditor*>(rig->plugin.CreateEditor(nullptr));
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(editor->Open(0));
        system->ProcessPendingEvents();
    };
    Click(Drawer().OpenButton());
    reopen();
    EXPECT_TRUE(Drawer().IsOpen());
    EXPECT_TRUE(Drawer().OpenButton().IsChecked());
    // What shows is the drawer, over the sections it covers.
    const KivPoint inside = CentreOf(Drawer().Curve());
    EXPECT_EQ(Window().ControlAt(inside), &Drawer().Curve());

    TandrelRig other;
    std::unique_ptr<KivAudioPlugin::KivEditor> otherEditor(TandrelDynamicsEditor::Create(other.plugin));
    ASSERT_NE(otherEditor, nullptr);
    EXPECT_FALSE(static_cast<TandrelDynamicsEditor&>(*otherEditor).Detector().IsOpen());
    otherEditor.reset();

    Click(Drawer().OpenButton());
    reopen();
    EXPECT_FALSE(Drawer().IsOpen());
    EXPECT_FALSE(Drawer().OpenButton().IsChecked());
}

// The compressor (-12 dB, 4:1, no knee, straight lines in dB) hears a 100 Hz sine of
// amplitude 1 through a 20 ms true RMS, two whole periods: -3.01 dB, 8.99 dB over the
// threshold, so the gain is -8.99 x 0.75 = -6.74 dB. The panel's high-pass at 1 kHz (Q 0.5)
// takes the tone down by 40 dB, below the threshold: no gain change at all. A peak band
// moved onto 100 Hz and up 6 dB adds its gain to what the detector hears: a sine of half that
// amplitude (-9.03 dB) is heard at -3.03 dB and gains (-12 + 3.03) x 0.75 = -6.73 dB.
TEST_F(DetectorDrawer, APanelEditChangesWhatTheDetectorHears) {
    rig->Compressor(-12.0, 4.0);
    rig->SetItem(kTandrelShapeMode, 2);
    rig->Set(kTandrelRMSLength, 0.02);
    auto gainOfTone = [&](double amplitude) {
        const double step = 2.0 * std::numbers::pi * 100.0 / 44100.0;
        const std::vector<float> out =
            rig->Run(66150, [=](int32_t i) { return static_cast<float>(amplitude * std::sin(step * i)); });
        double in2 = 0.0, out2 = 0.0;
        for (int32_t i = 44100; i < 66150; ++i) {
            in2 += std::pow(amplitude * std::sin(step * i), 2);
            out2 += static_cast<double>(out[i]) * out[i];
        }
        return 10.0 * std::log10(out2 / in2);
    };
    EXPECT_NEAR(gainOfTone(1.0), (-12.0 + 10 * std::log10(2.0)) * 0.75, 0.1);

    Click(Drawer().OpenButton());
    Click(Drawer().HighPass());
    // Switched on at its open end, the high-pass starts where it is heard.
    EXPECT_NEAR(Drawer().Curve().Settings().minFrequency, 80.0, 1e-9);
    KivPoint target = Drawer().Curve().HandlePosition(TandrelDetectorCurve::kHighPassHandle);
    target.x = ColumnOf(1000.0);
    DragHandle(TandrelDetectorCurve::kHighPassHandle, target);
    double highPass = 0.0;
    {
        KivSynchronizerGuard lock(rig->effect().GetEffectMutex());
        const KivDetectorFilterSettings& s = rig->effect().Follower().Filter().settings;
        EXPECT_TRUE(s.enabledSideChain && s.highPass && !s.lowPass);
        highPass = s.minFrequency;
    }
    EXPECT_NEAR(highPass, 1000.0, 20.0);  // one pixel is 1.7% of frequency
    // The knob follows: 20 Hz to 20 kHz logarithmically over its travel.
    EXPECT_NEAR(Drawer().HighPassFrequency().GetPosition(), std::log10(highPass / 20.0) / 3.0, 1e-6);
    EXPECT_NEAR(HighPassDecibels(100.0, highPass, 0.5, 44100.0), -40.1, 0.5);
    EXPECT_NEAR(gainOfTone(1.0), 0.0, 0.01);

    // High-pass off again, equaliser on, band 2 dragged onto 100 Hz and up.
    Click(Drawer().HighPass());
    Click(Drawer().Equalizer());
    DragHandle(1, KivPoint{ColumnOf(100.0), static_cast<int32_t>(std::lround(RowOf(6.0)))});
    const KivSideChainEqualizer::Band band = Drawer().Curve().Settings().equalizer.bands[1];
    EXPECT_NEAR(band.gainDecibels, 6.0, 0.25);
    // Half the amplitude (-9.03 dB RMS), so that what the detector hears stays below 0 dB, where
    // the shape holds its output.
    const double heard = 20 * std::log10(0.5 / std::sqrt(2.0)) + PeakDecibels(100.0, band.frequency, band.quality, band.gainDecibels, 44100.0);
    EXPECT_NEAR(heard, -3.03, 0.3);
    EXPECT_NEAR(gainOfTone(0.5), (-12.0 - heard) * 0.75, 0.1);
}

// Listening plays what the detector hears instead of the processed audio: with no filter
// the tone itself (not the -6.74 dB the compressor gives it), through the high-pass at 1 kHz
// the tone 40 dB down as the closed form says.
TEST_F(DetectorDrawer, ListeningPlaysWhatTheDetectorHears) {
    rig->Compressor(-12.0, 4.0);
    rig->SetItem(kTandrelShapeMode, 2);
    const double step = 2.0 * std::numbers::pi * 100.0 / 44100.0;
    auto gainOfTone = [&] {
        const std::vector<float> out = rig->Run(44100, [step](int32_t i) { return static_cast<float>(std::sin(step * i)); });
        double in2 = 0.0, out2 = 0.0;
        for (int32_t i = 22050; i < 44100; ++i) {
            in2 += std::pow(std::sin(step * i), 2);
            out2 += static_cast<double>(out[i]) * out[i];
        }
        return 10.0 * std::log10(out2 / in2);
    };
    EXPECT_LT(gainOfTone(), -6.0);
    Click(Drawer().OpenButton());
    Click(Drawer().Listen());
    EXPECT_NEAR(gainOfTone(), 0.0, 1e-4);
    Click(Drawer().HighPass());
    KivPoint target = Drawer().Curve().HandlePosition(TandrelDetectorCurve::kHighPassHandle);
    target.x = ColumnOf(1000.0);
    DragHandle(TandrelDetectorCurve::kHighPassHandle, target);
    const double corner = Drawer().Curve().Settings().minFrequency;
    EXPECT_NEAR(gainOfTone(), HighPassDecibels(100.0, corner, 0.5, 44100.0), 0.05);
}

// Automation of a parameter outside the drawer repaints its knob and none of the drawer,
// whether the drawer is open or hidden (the editor shows the detector settings again after
// every preparation; unchanged, they must not repaint the sections under a hidden drawer).
TEST_F(DetectorDrawer, AutomationElsewhereRepaintsNothingOfTheDrawer) {
    const int32_t index = editor->GetParameterControls().FindIndex(KivString("linkchannels"));
    ASSERT_GE(index, 0);
    const KivControl* knob = editor->GetParameterControls().Find(index);
    ASSERT_NE(knob, nullptr);
    // The drawer's part over the processor sections: the Transfer section's shape editor,
    // under the rest of it, repaints after every preparation of its own accord.
    KivRect drawer = editor->FindControl(KivString("detector"))->GetWindowRect();
    drawer.right = editor->FindControl(KivString("shapeeditor"))->GetWindowRect().left - 1;
    double value = 0.3;
    for (bool open : {false, true}) {
        Drawer().SetOpen(open);
        Settle();
        system->TakePaintedRects();
        rig->plugin.SetParameter(index, value += 0.1, false);
        Settle();
        const std::vector<KivRect> painted = system->TakePaintedRects();
        bool knobPainted = false;
        for (const KivRect& rect : painted) {
            EXPECT_TRUE(rect.Intersection(drawer).IsEmpty()) << (open ? "open " : "hidden ") << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom;
            knobPainted = knobPainted || !rect.Intersection(knob->GetWindowRect()).IsEmpty();
        }
        EXPECT_TRUE(knobPainted);
    }
}

// "Side-chain" is a host parameter: the panel's list changes it as one gesture.
TEST_F(DetectorDrawer, TheSideChainChoiceReachesTheHostAsOneGesture) {
    Click(Drawer().OpenButton());
    const int32_t index = editor->GetParameterControls().FindIndex(KivString("sidechain"));
    ASSERT_GE(index, 0);
    KivControl* list = editor->GetParameterControls().Find(index);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->IsVisible());
    host.calls.clear();
    system->InjectMouseWheel(Window(), CentreOf(*list), -120);
    Tick();
    EXPECT_EQ(rig->table().Record(kTandrelSideChain).values.asEnumeration.index, kTandrelSideChainExternal);
    const std::string i = std::to_string(index);
    EXPECT_EQ(host.calls, "b" + i + " a" + i + " e" + i + " ");
}

// Every setting of the panel, changed with the mouse, goes into a state and comes back from
// it after the panel changed it all again; a state saved before the filters had switches of
// their own shows both filters as its one switch said.
TEST_F(DetectorDrawer, EverySettingComesBackFromAState) {
    Click(Drawer().OpenButton());
    for (KivCheckBox* box : {&Drawer().HighPass(), &Drawer().LowPass(), &Drawer().Equalizer(), &Drawer().Listen(),
                             &Drawer().PsychoAcoustic(), &Drawer().ThreePhase(), &Drawer().TrueRMS()})
        Click(*box);
    // Frequencies by their knobs, a band by the curve, Qs by the wheel.
    system->InjectMouseWheel(Window(), CentreOf(Drawer().HighPassFrequency()), 3 * 120);
    system->InjectMouseWheel(Window(), CentreOf(Drawer().LowPassFrequency()), -2 * 120);
    DragHandle(4, KivPoint{ColumnOf(4000.0), static_cast<int32_t>(std::lround(RowOf(-7.0)))});
    system->InjectMouseWheel(Window(), OnCurve(Drawer().Curve().HandlePosition(4)), 2 * 120);
    system->InjectMouseWheel(Window(), OnCurve(Drawer().Curve().HandlePosition(TandrelDetectorCurve::kLowPassHandle)), -120);
    system->ProcessPendingEvents();

    // The effect's detector settings as the text of their keys.
    auto stored = [&] {
        KivSynchronizerGuard lock(rig->effect().GetEffectMutex());
        KivDynamicsProcessorFollower& follower = rig->effect().Follower();
        KivXMLItem item(KivString("detector"));
        follower.Filter().Store(item, true);
        item.SetAttribute(KivString("listen"), KivString(follower.GetSideChainPlay() ? "1" : "0"));
        item.SetAttribute(KivString("truerms"), KivString(follower.GetTrueRMS() ? "1" : "0"));
        return Text(item);
    };
    const std::string edited = stored();
    const KivDetectorFilterSettings chosen = Drawer().Curve().Settings();
    EXPECT_TRUE(chosen.enabledSideChain && chosen.highPass && chosen.lowPass && chosen.equalizerEnabled &&
                chosen.psychoAcoustic && chosen.spectralSmoothing);
    EXPECT_GT(chosen.minFrequency, 80.0);
    EXPECT_LT(chosen.maxFrequency, 8000.0);
    EXPECT_NEAR(chosen.equalizer.bands[4].gainDecibels, -7.0, 0.25);
    EXPECT_NEAR(chosen.equalizer.bands[4].quality, 1.0 * std::pow(2.0, 2.0 / 6.0), 1e-9);
    EXPECT_NEAR(chosen.lowPassQuality, 0.707 / std::pow(2.0, 1.0 / 6.0), 1e-9);
    EXPECT_TRUE(Drawer().Listen().IsChecked());
    EXPECT_FALSE(Drawer().TrueRMS().IsChecked());  // on by default

    KivXMLItem state(KivString("state"));
    rig->plugin.StoreSettings(state, true);
    // Everything back the other way, then the state loaded.
    for (KivCheckBox* box : {&Drawer().HighPass(), &Drawer().LowPass(), &Drawer().Equalizer(), &Drawer().Listen(),
                             &Drawer().PsychoAcoustic(), &Drawer().ThreePhase(), &Drawer().TrueRMS()})
        Click(*box);
    DragHandle(4, KivPoint{ColumnOf(9000.0), static_cast<int32_t>(std::lround(RowOf(3.0)))});
    EXPECT_NE(stored(), edited);
    rig->plugin.StoreSettings(state, false);
    Tick();
    EXPECT_EQ(stored(), edited);
    EXPECT_TRUE(Drawer().HighPass().IsChecked());
    EXPECT_TRUE(Drawer().Listen().IsChecked());
    EXPECT_FALSE(Drawer().TrueRMS().IsChecked());
    EXPECT_NEAR(Drawer().Curve().Settings().equalizer.bands[4].frequency, chosen.equalizer.bands[4].frequency, 1e-6);
    EXPECT_NEAR(Drawer().HighPassFrequency().GetPosition(), std::log10(chosen.minFrequency / 20.0) / 3.0, 1e-6);

    // An older state: the one switch, no own switches.
    KivXMLItem older(KivString("state"));
    rig->plugin.StoreSettings(older, true);
    RemoveEverywhere(older, "SideChainHighPass");
    RemoveEverywhere(older, "SideChainLowPass");
    Click(Drawer().HighPass());  // now only the low-pass is on
    rig->plugin.StoreSettings(older, false);
    Tick();
    EXPECT_TRUE(Drawer().HighPass().IsChecked());
    EXPECT_TRUE(Drawer().LowPass().IsChecked());
}

// Every drawer edit is one undo step: a switch, a whole drag of a curve handle (however
// many moves), a whole drag of a frequency knob, a wheel notch on a handle. Undo takes each
// back exactly: the state a host saves is byte for byte the one it saved before the edit,
// the detector runs it and the drawer shows it; redo brings each edit back the same way. The
// host is told the settings changed, as after a preset load, and sees no parameter gesture
// (none of these settings is a host parameter).
TEST_F(DetectorDrawer, EachEditIsOneUndoStepThatTakesTheHostsStateBackExactly) {
    KivEditHistory& history = rig->plugin.GetEditHistory();
    auto hostState = [&] {
        const KivByteBuffer document = KivStateDocument::Save(rig->plugin);
        return std::string(document.Data(), document.Data() + document.Size());
    };
    auto live = [&] {
        KivSynchronizerGuard lock(rig->effect().GetEffectMutex());
        return rig->effect().Follower().Filter().settings;
    };
    Click(Drawer().OpenButton());
    EXPECT_EQ(history.UndoCount(), 0);  // opening the drawer is no edit

    std::vector<std::string> states{hostState()};
    std::vector<KivDetectorFilterSettings> shown{Drawer().Curve().Settings()};
    auto edited = [&] {
        Tick();
        states.push_back(hostState());
        shown.push_back(Drawer().Curve().Settings());
        EXPECT_NE(states.back(), states[states.size() - 2]);
        EXPECT_EQ(history.UndoCount(), static_cast<int32_t>(states.size() - 1));
    };
    Click(Drawer().HighPass());
    edited();
    Click(Drawer().Equalizer());
    edited();
    // Band 3 from 1 kHz, 0 dB to 2 kHz, +9 dB in four moves.
    DragHandle(2, KivPoint{ColumnOf(2000.0), static_cast<int32_t>(std::lround(RowOf(9.0)))});
    edited();
    EXPECT_NEAR(shown.back().equalizer.bands[2].gainDecibels, 9.0, 0.25);
    // The low-pass knob dragged 20 pixels down in five moves: a tenth of its logarithmic
    // travel below 20 kHz, 20 Hz x 1000^0.9 = 10 024 Hz.
    const KivPoint knob = CentreOf(Drawer().LowPassFrequency());
    system->InjectMouseDown(Window(), knob, KivMouseButton::kLeft);
    for (int step = 1; step <= 5; ++step) system->InjectMouseMove(Window(), KivPoint{knob.x, knob.y + 4 * step});
    system->InjectMouseUp(Window(), KivPoint{knob.x, knob.y + 20}, KivMouseButton::kLeft);
    system->ProcessPendingEvents();
    edited();
    EXPECT_NEAR(shown.back().maxFrequency, 10023.7, 0.1);
    // Two notches up on band 3: its Q from 1 to 2^(2/6), one step per notch.
    system->InjectMouseWheel(Window(), OnCurve(Drawer().Curve().HandlePosition(2)), 120);
    edited();
    system->InjectMouseWheel(Window(), OnCurve(Drawer().Curve().HandlePosition(2)), 120);
    edited();
    EXPECT_NEAR(shown.back().equalizer.bands[2].quality, std::pow(2.0, 2.0 / 6.0), 1e-9);
    Click(Drawer().Listen());
    edited();
    const size_t steps = states.size() - 1;
    ASSERT_EQ(steps, 7u);

    auto same = [](const KivDetectorFilterSettings& a, const KivDetectorFilterSettings& b) {
        KivXMLItem first(KivString("detector")), second(KivString("detector"));
        KivDetectorFilter one, other;
        one.settings = a;
        other.settings = b;
        one.Store(first, true);
        other.Store(second, true);
        return Text(first) == Text(second);
    };
    host.calls.clear();
    for (size_t step = steps; step-- > 0;) {
        PressUndo();
        EXPECT_EQ(hostState(), states[step]) << "undoing edit " << step + 1;
        EXPECT_TRUE(same(live(), shown[step])) << "undoing edit " << step + 1;
        EXPECT_TRUE(same(Drawer().Curve().Settings(), shown[step])) << "undoing edit " << step + 1;
    }
    std::string told;
    for (size_t i = 0; i < steps; ++i) told += "s ";
    EXPECT_EQ(host.calls, told);
    EXPECT_FALSE(Drawer().HighPass().IsChecked());
    EXPECT_FALSE(Drawer().Listen().IsChecked());
    EXPECT_EQ(history.UndoCount(), 0);

    for (size_t step = 1; step <= steps; ++step) {
        PressUndo(true);
        EXPECT_EQ(hostState(), states[step]) << "redoing edit " << step;
        EXPECT_TRUE(same(live(), shown[step])) << "redoing edit " << step;
        EXPECT_TRUE(same(Drawer().Curve().Settings(), shown[step])) << "redoing edit " << step;
    }
    EXPECT_TRUE(Drawer().HighPass().IsChecked());
    EXPECT_TRUE(Drawer().Listen().IsChecked());
    EXPECT_NEAR(Drawer().LowPassFrequency().GetPosition(), 0.9, 1e-9);
}

}  // namespace
