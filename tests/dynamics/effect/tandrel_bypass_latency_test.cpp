#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "tests/dynamics/processing/tandrel_rig.h"

// The bypass lines carry the input delayed by the delay the effect plays. While a new
// look-ahead is prepared but waits to be installed (here behind a gain path switch's 10 ms
// fade), the delay reported and the delay played differ; a bypass fade in that window must
// still fade between two copies of the same audio at the same time.
namespace {

constexpr int32_t kBlock = 64;
constexpr int32_t kBlocks = 48;
constexpr int32_t kLookAhead = 480;  // 10 ms at 48 kHz
// 50 Hz at 48 kHz: a period of 960 samples, so that two copies 480 samples apart cancel.
double Tone(int64_t t) { return 0.25 * std::sin(2.0 * 3.14159265358979323846 * static_cast<double>(t) / 960.0); }

// Block 10 switches processor 1 off (a gain path switch, faded over 480 samples, up to block
// 17); block 11 switches it back on with a look-ahead of 480 samples, a setup that waits for
// that fade to end. The tone stays 12 dB under the threshold, so either path is unity gain.
std::vector<float> Play(int32_t bypassOn, int32_t bypassOff) {
    TandrelRig rig(48000, kBlock);
    rig.Compressor(0.0, 2.0);
    rig.Set(kTandrelLookAhead, 0.0);
    std::vector<float> result;
    for (int32_t b = 0; b < kBlocks; ++b) {
        if (b == 10) {
            rig.table().Switches().processor1 = 0;
            rig.effect().Reprepare();
        }
        if (b == 11) {
            rig.table().Switches().processor1 = 1;
            rig.Set(kTandrelLookAhead, 0.01);
            EXPECT_EQ(rig.plugin.GetLatency(), kLookAhead);
        }
        if (b == bypassOn) rig.plugin.SetBypass(true);
        if (b == bypassOff) rig.plugin.SetBypass(false);
        for (int32_t i = 0; i < kBlock; ++i) rig.in[0][i] = rig.in[1][i] = static_cast<float>(Tone(b * kBlock + i));
        float* inputs[2] = {rig.in[0].data(), rig.in[1].data()};
        float* outputs[2] = {rig.out[0].data(), rig.out[1].data()};
        rig.plugin.ProcessAudio(inputs, outputs, kBlock, true);
        result.insert(result.end(), rig.out[0].begin(), rig.out[0].end());
    }
    return result;
}

// At unity gain the processed side and the bypass side are the same audio, so a bypass
// switched on or off at any moment is not heard: every sample is where it is without the
// switch. Switched in the window, a dry side already at 480 samples while the effect still
// plays 0 faded the tone into its own inverse: it fell to 4% of its level half-way.
TEST(TandrelBypassLatency, AtUnityABypassFadeWhileALookAheadWaitsIsNotHeard) {
    const std::vector<float> plain = Play(-1, -1);
    // The reference itself, worked out by hand: the tone undelayed until the look-ahead is
    // installed (after the switch's fade, in block 17 or 18), delayed by 480 samples once the
    // look-ahead lines' own 10 ms fade has ended (block 26 on).
    for (int32_t t = 0; t < 17 * kBlock; ++t) ASSERT_NEAR(plain[t], Tone(t), 2e-6) << t;
    for (int32_t t = 26 * kBlock; t < kBlocks * kBlock; ++t) ASSERT_NEAR(plain[t], Tone(t - kLookAhead), 2e-6) << t;
    const struct {
        int32_t on, off;
    } toggles[] = {{11, 30}, {12, 16}, {15, 18}, {16, 24}, {10, 14}};
    for (const auto& toggle : toggles) {
        const std::vector<float> switched = Play(toggle.on, toggle.off);
        for (int32_t t = 0; t < kBlocks * kBlock; ++t)
            ASSERT_NEAR(switched[t], plain[t], 2e-6) << "bypass on in block " << toggle.on << ", off in block "
                                                     << toggle.off << ", sample " << t;
    }
}

}  // namespace
