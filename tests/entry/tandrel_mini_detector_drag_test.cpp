// Dragging a band of the detector's equaliser in the editor of the built VST 2.4 plug-in file
// while a tone plays: the compressor's gain follows the drag smoothly. Every small step of
// the drag designs the filter anew; the gain must move as the band does, one way only, with
// no dip and recovery at each step. The mouse is the X server's (XTest) in a private Xvfb
// server; where the drawer's controls lie comes from the same editor painted offscreen.
#if !defined(_WIN32)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "dynamics/editor/tandrel_detector_curve.h"
#include "dynamics/editor/tandrel_detector_drawer.h"
#include "dynamics/editor/tandrel_dynamics_editor.h"
#include "entry/kiv_plugin_creation.h"
#include "gui/controls/kiv_button.h"
#include "gui/core/kiv_windows.h"
#include "gui/offscreen/kiv_window_system_offscreen.h"
#include "tests/support/tandrel_mini_vst2_session.h"
#include "tests/support/tandrel_mini_vst2_x11_host.h"

// Last: Xlib's macros would break the headers above.
#include <X11/Xutil.h>

namespace {

using namespace tandrel_mini_test;

constexpr double kRate = 48000.0;
constexpr int32_t kBlock = 480;  // ten periods of the tone
constexpr double kTone = 1000.0;
constexpr double kAmplitude = 0.25;
constexpr int32_t kBand = 2;  // the peak band at 1 kHz

// Where the drawer's button and the band's handle are, in window pixels at 100%, and how many
// pixels a decibel of the curve is.
struct Layout {
    KivPoint openButton{};
    KivPoint handle{};
    double pixelsPerDecibel = 0.0;
};

Layout FindLayout() {
    Layout layout;
    auto* system = new KivWindowSystemOffscreen();
    KivWindows windows(system);
    std::unique_ptr<KivAudioPlugin> plugin = KivPluginCreation::CreatePlugin();
    auto* editor = static_cast<TandrelDynamicsEditor*>(plugin->CreateEditor(nullptr));
    if (!editor || !editor->Open(0)) return layout;
    TandrelDetectorDrawer& drawer = editor->Detector();
    drawer.SetOpen(true);
    system->ProcessPendingEvents();
    const KivRect button = drawer.OpenButton().GetWindowRect();
    layout.openButton = KivPoint{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    const KivRect curve = drawer.Curve().GetWindowRect();
    const KivPoint local = drawer.Curve().HandlePosition(kBand);
    layout.handle = KivPoint{curve.left + local.x, curve.top + local.y};
    // The documented axis: +24 dB to -24 dB down the plot's height.
    layout.pixelsPerDecibel = (drawer.Curve().GetPlotRect().Height() - 1) / 48.0;
    plugin->DestroyEditor();
    return layout;
}

// A cookbook peak (s^2 + s A/Q + 1) / (s^2 + s/(A Q) + 1), A = 10^(gain/40), through the
// bilinear transform pre-warped at its centre, in decibels at `f`.
double PeakDecibels(double f, double f0, double q, double gain) {
    const double w = std::tan(std::numbers::pi * f / kRate) / std::tan(std::numbers::pi * f0 / kRate);
    const double a = std::pow(10.0, gain / 40.0), flat = std::pow(1 - w * w, 2);
    return 10.0 * std::log10((flat + std::pow(w * a / q, 2)) / (flat + std::pow(w / (a * q), 2)));
}

// The compressor below, -30 dB at 4:1 with straight lines in decibels, for a detector level
// `heard` (the RMS of what the detector hears, dB): three quarters of the excess come off.
double StaticGain(double heard) { return -0.75 * std::max(0.0, heard + 30.0); }

// A number attribute of the chunk's "Band2" item.
double BandValue(const std::string& chunk, const std::string& key) {
    const size_t band = chunk.find("<Band" + std::to_string(kBand));
    const size_t at = chunk.find(" " + key + "=\"", band);
    if (band == std::string::npos || at == std::string::npos) return NAN;
    return std::stod(chunk.substr(at + key.size() + 3));
}

// The data folder is a private one: no editor size of another run.
class TandrelMiniDetectorDrag : public TandrelMiniVst2X11Host {};

// 1 kHz at amplitude 0.25 (-15.05 dB RMS), heard through a true RMS over one period, fast
// attack and release; the band at 1 kHz narrowed to Q 4 and dragged from 0 dB up to about
// +9 dB in steps of two pixels (about 0.2 dB), with 20 ms of audio after each step. From
// -11.21 dB = -0.75 x (-15.05 + 30) at the start the gain only falls, never rising by more
// than 0.05 dB over the lowest it has been (a band that restarted from rest at every step
// would drop the detector to its unit-gain path for a few periods: 0.5 dB up and down at
// every step), and settles where the closed form of the band the drag left puts it.
TEST_F(TandrelMiniDetectorDrag, TheGainFollowsADraggedBandWithoutFlutter) {
    KivXvfbSession::FakeInput fake;
    if (!fake.Available()) GTEST_SKIP() << "libXtst is not installed";
    const Layout layout = FindLayout();
    ASSERT_GT(layout.pixelsPerDecibel, 1.0);

    KivVst2HostSettings settings;
    settings.sampleRate = kRate;
    settings.blockSize = kBlock;
    KivVst2Plugin plugin;
    ASSERT_TRUE(plugin.Load(KIV_TANDREL_MINI_PATH, settings)) << plugin.ErrorText();
    plugin.Open();
    Set(plugin, "Mode (General parameters)", 1.0);  // Logarithmic: straight lines in decibels
    Set(plugin, "Processor 1 (Processor 1)", 1.0);
    Set(plugin, "Processor 2 (Processor 2)", 0.0);
    Set(plugin, "Gate (Gate)", 0.0);
    Set(plugin, "Threshold (Processor 1)", Threshold(-30));
    Set(plugin, "Ratio (Processor 1)", RatioCode(4));
    Set(plugin, "Knee size (Processor 1)", 0.0);
    Set(plugin, "Range (Processor 1)", 1.0);
    Set(plugin, "Attack (Dynamic detection)", 0.0);
    Set(plugin, "Release (Dynamic detection)", 0.0);
    Set(plugin, "RMS length (Dynamic detection)", std::sqrt(0.001 / 0.1));  // 1 ms on its square scale
    SetInState(plugin, {"SideChainEqEnabled"});

    std::vector<std::vector<float>> in(static_cast<size_t>(plugin.NumInputs()), std::vector<float>(kBlock, 0.0f));
    std::vector<std::vector<float>> out(static_cast<size_t>(plugin.NumOutputs()), std::vector<float>(kBlock));
    std::vector<float*> inputs, outputs;
    for (auto& channel : in) inputs.push_back(channel.data());
    for (auto& channel : out) outputs.push_back(channel.data());
    for (int32_t i = 0; i < kBlock; ++i)
        in[0][i] = in[1][i] = static_cast<float>(kAmplitude * std::sin(2 * std::numbers::pi * kTone * i / kRate));
    const double inputPower = kAmplitude * kAmplitude / 2;
    std::vector<double> gains;
    auto play = [&](int blocks) {
        for (int b = 0; b < blocks; ++b) {
            plugin.ProcessReplacing(inputs.data(), outputs.data(), kBlock);
            double power = 0.0;
            for (float x : out[0]) power += static_cast<double>(x) * x;
            gains.push_back(10.0 * std::log10(power / kBlock / inputPower));

        }
    };
    play(100);
    const double heardAtStart = Decibels(kAmplitude / std::sqrt(2.0));
    EXPECT_NEAR(gains.back(), StaticGain(heardAtStart), 0.05);

    ASSERT_TRUE(OpenEditor(plugin));
    Idle(plugin, 300);
    const int screen = DefaultScreen(display);
    fake.motion(display, screen, layout.openButton.x, layout.openButton.y, CurrentTime);
    fake.button(display, 1, True, CurrentTime);
    fake.button(display, 1, False, CurrentTime);
    Idle(plugin, 200);

    const size_t dragStart = gains.size();
    const int rise = static_cast<int>(std::lround(9.0 * layout.pixelsPerDecibel));
    fake.motion(display, screen, layout.handle.x, layout.handle.y, CurrentTime);
    Idle(plugin, 30);
    // Twelve notches of the wheel up, a sixth of an octave each: Q 4, a band that rings for
    // about 1.3 ms (2Q / 2 pi f), longer than the detector's RMS window.
    for (int notch = 0; notch < 12; ++notch) {
        fake.button(display, 4, True, CurrentTime);
        fake.button(display, 4, False, CurrentTime);
        Idle(plugin, 10);
    }
    play(100);
    fake.button(display, 1, True, CurrentTime);
    Idle(plugin, 30);
    for (int y = 2; y <= rise; y += 2) {
        fake.motion(display, screen, layout.handle.x, layout.handle.y - y, CurrentTime);
        Idle(plugin, 20);
        play(2);
    }
    fake.button(display, 1, False, CurrentTime);
    Idle(plugin, 50);
    play(50);
    plugin.Dispatch(effEditClose);

    const std::vector<uint8_t> chunk = plugin.GetChunk();
    const std::string text(chunk.begin(), chunk.end());
    const double gain = BandValue(text, "Gain"), frequency = BandValue(text, "Frequency"), q = BandValue(text, "Q");
    ASSERT_NEAR(gain, 9.0, 0.5) << "the drag did not reach the band";
    ASSERT_NEAR(q, 4.0, 1e-6) << "the wheel did not reach the band";
    const double heardAtEnd = heardAtStart + PeakDecibels(kTone, frequency, q, gain);
    EXPECT_NEAR(gains.back(), StaticGain(heardAtEnd), 0.05);

    double lowest = gains[dragStart - 1], worstRise = 0.0;
    for (size_t i = dragStart; i < gains.size(); ++i) {
        worstRise = std::max(worstRise, gains[i] - lowest);
        lowest = std::min(lowest, gains[i]);
    }
    std::printf("over the drag the gain rose at most %.3f dB above its lowest so far\n", worstRise);
    EXPECT_LT(worstRise, 0.05);
    plugin.Close();
}

}  // namespace
#endif  // !_WIN32
