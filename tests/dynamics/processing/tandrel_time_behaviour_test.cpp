#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "plugin/kiv_plugin_host.h"
#include "tests/dynamics/processing/tandrel_rig.h"

// Attack and release on level steps, look-ahead delay and its latency report, and recovery
// from broken input, through the whole effect. Expected values are closed forms of the
// detector's steps and of the 2:1 shape above -12 dB in decibels: gain = (-12 - E) / 2.
namespace {

constexpr double kRate = 44100.0;

double CompressorGainDecibels(double envelopeDecibels) {
    return envelopeDecibels > -12.0 ? (-12.0 - envelopeDecibels) / 2.0 : 0.0;
}

// Peak detection (RMS length 0) into processor 1 at -12 dB, 2:1, Logarithmic mode.
TandrelRig& PeakCompressor(TandrelRig& rig) {
    rig.Compressor(-12.0, 2.0);
    rig.Set(kTandrelRMSLength, 0.0);
    rig.SetItem(kTandrelShapeMode, 2);
    return rig;
}

class LatencyListener : public KivPluginHost {
public:
    explicit LatencyListener(KivAudioPlugin& plugin) : plugin_(plugin) {}
    void SendAutomation(int32_t, double) override {}
    void GenerateMIDIEvent(int32_t, const uint8_t*) override {}
    void LatencyChanged() override {
        ++reports;
        heard = plugin_.GetLatency();
    }
    void ChangeEditorSize(int32_t, int32_t) override {}
    int32_t reports = 0;
    int32_t heard = -1;

private:
    KivAudioPlugin& plugin_;
};

std::vector<float> Impulse(TandrelRig& rig, int32_t frames) {
    return rig.Run(frames, [](int32_t i) { return i == 0 ? 1.0f : 0.0f; });
}

}  // namespace

// Attack "Fast" is linear in amplitude: e = 1 + (e0 - 1) k^m with k = exp(-1/441) at 10 ms.
// Release "Fast" is linear in decibels: E = X + (E0 - X) r^m with r = exp(-1/4410) at 100 ms.
TEST(TandrelTimeBehaviour, LevelStepsFollowAttackAndReleaseClosedForms) {
    TandrelRig rig;
    PeakCompressor(rig);
    const double quiet = std::pow(10.0, -30.0 / 20.0);
    rig.RunConstant(22050, static_cast<float>(quiet));
    const auto attack = rig.RunConstant(44100, 1.0f);
    for (int32_t m : {1, 100, 441, 2000}) {
        const double e = 1.0 + (quiet - 1.0) * std::exp(-m / (0.01 * kRate));
        EXPECT_NEAR(Decibels(attack[m - 1]), CompressorGainDecibels(Decibels(e)), 0.01) << "attack sample " << m;
    }
    const auto release = rig.RunConstant(44100, static_cast<float>(quiet));
    for (int32_t m : {1, 441, 1000, 2000}) {
        const double envelope = -30.0 + 30.0 * std::exp(-m / (0.1 * kRate));
        EXPECT_NEAR(Decibels(release[m - 1] / quiet), CompressorGainDecibels(envelope), 0.01) << "release sample " << m;
    }
}

// 0.005 s at 44.1 kHz is 220.5 samples, rounded up: the audio, the bypassed audio and the
// reported latency all move by 221 samples, and the host hears of it once.
TEST(TandrelTimeBehaviour, LookAheadDelaysByTheReportedLatency) {
    TandrelRig rig;
    LatencyListener host(rig.plugin);
    rig.plugin.SetPluginHost(&host);
    EXPECT_EQ(rig.plugin.GetLatency(), 0);
    rig.Set(kTandrelLookAhead, 0.005);
    rig.RunConstant(512, 0.0f);
    EXPECT_EQ(rig.plugin.GetLatency(), 221);
    EXPECT_EQ(host.reports, 1);
    EXPECT_EQ(host.heard, 221);
    for (bool bypass : {false, true}) {
        rig.plugin.SetBypass(bypass);
        const auto out = Impulse(rig, 1024);
        for (int32_t i = 0; i < 1024; ++i) {
            // Processor 1 at its default 1:1 leaves the level alone.
            EXPECT_NEAR(out[i], i == 221 ? 1.0 : 0.0, 1e-5) << "sample " << i << (bypass ? " bypassed" : "");
        }
    }
    rig.Set(kTandrelLookAhead, 0.0);
    rig.plugin.SetBypass(false);
    // Past the 10 ms fades of the delay and of bypass, the audio is undelayed.
    rig.RunConstant(1024, 0.0f);
    EXPECT_NEAR(Impulse(rig, 64)[0], 1.0, 1e-5);
    EXPECT_EQ(host.reports, 2);
}

// The detector sees a step 5 ms before the audio does: with attack 0 the gain is already
// down when the step arrives.
TEST(TandrelTimeBehaviour, LookAheadReducesBeforeTheStepArrives) {
    TandrelRig rig;
    PeakCompressor(rig);
    rig.Set(kTandrelAttack, 0.0);
    rig.Set(kTandrelLookAhead, 0.005);
    const auto out = rig.Run(2048, [](int32_t i) { return i < 1000 ? 0.0f : 1.0f; });
    EXPECT_EQ(out[1000 + 220], 0.0f);
    EXPECT_NEAR(Decibels(out[1000 + 221]), -6.0, 0.01);
}

// Broken samples reach the detector as silence: once they stop the output never carries
// them, and the level is back within one release time.
TEST(TandrelTimeBehaviour, BrokenSamplesLeaveNoTraceOnceTheyStop) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float broken : {nan, inf, -inf}) {
        for (double lookAhead : {0.0, 0.005}) {
            TandrelRig rig;
            PeakCompressor(rig);
            rig.Set(kTandrelLookAhead, lookAhead);
            rig.RunConstant(22050, 1.0f);
            rig.Run(512, [broken](int32_t i) { return i % 3 == 0 ? broken : 1.0f; });
            const auto after = rig.RunConstant(4411, 1.0f);
            for (size_t i = 221; i < after.size(); ++i) ASSERT_TRUE(std::isfinite(after[i])) << i;
            EXPECT_NEAR(Decibels(after[4410]), -6.0, 0.1) << broken << " look-ahead " << lookAhead;
        }
    }
}

// Denormal-range input and long silence keep every output sample finite and tiny, and
// music afterwards is processed as from a fresh start.
TEST(TandrelTimeBehaviour, SilenceAndDenormalsStayClean) {
    TandrelRig rig;
    PeakCompressor(rig);
    const auto denormal = rig.RunConstant(44100, 1e-40f);
    for (float sample : denormal) ASSERT_LE(std::fabs(sample), 1e-39f);
    rig.RunConstant(10 * 44100, 0.0f);
    const auto music = rig.RunConstant(13230, 1.0f);
    EXPECT_NEAR(Decibels(music.back()), -6.0, 0.01);
}
