#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "plugin/kiv_channel_mode.h"
#include "tests/dynamics/processing/tandrel_rig.h"

// Channel mode switches while TandrelMini plays: the effect is made once for the most channels
// a mode needs and takes the new count at a block boundary, so a switch re-initialises nothing
// and the audio thread waits for nothing. What it must sound like is worked out by hand below.
namespace {

constexpr int32_t kBlock = 256;

// Two channels that differ, so that a mode that routed them wrongly shows.
float Left(int64_t t) { return 0.3f * static_cast<float>(std::sin(0.013 * static_cast<double>(t))); }
float Right(int64_t t) { return 0.2f * static_cast<float>(std::sin(0.029 * static_cast<double>(t) + 1.0)); }

struct Player {
    explicit Player(TandrelRig& rig) : rig(rig) {}

    // One block of the two tones (or of `level` on both channels when given); the outputs stay
    // in rig.out.
    void Block(float level = -1.0f) {
        for (int32_t i = 0; i < kBlock; ++i) {
            rig.in[0][i] = level >= 0.0f ? level : Left(time + i);
            rig.in[1][i] = level >= 0.0f ? level : Right(time + i);
        }
        float* inputs[2] = {rig.in[0].data(), rig.in[1].data()};
        float* outputs[2] = {rig.out[0].data(), rig.out[1].data()};
        rig.plugin.ProcessAudio(inputs, outputs, kBlock, true);
        time += kBlock;
    }

    TandrelRig& rig;
    int64_t time = 0;
};

double Weight(int32_t p, int32_t length) {
    const double s = std::sin(0.5 * 3.14159265358979323846 * p / length);
    return s * s;
}

}  // namespace

// Nothing processed (gain only at 0 dB), every mode gives the input back delayed by the
// latency, "Left + Right (neg)" aside, which inverts the right channel. So switching between
// them must too, at every sample of the switch and after it: a sample of the mode before
// played through the new one (the look-ahead lines hold 10 ms of it), or a channel taken up
// again with its line's audio from when it was left, would show here.
TEST(TandrelChannelModeSwitch, AtUnityEverySwitchPlaysTheInputDelayedByTheLatency) {
    TandrelRig rig(48000, kBlock);
    rig.table().Switches().processor1 = 0;
    rig.Set(kTandrelLookAhead, 0.01);
    ASSERT_EQ(rig.plugin.GetLatency(), 480);
    Player player(rig);
    for (int32_t b = 0; b < 4; ++b) player.Block();
    const int32_t order[] = {kKivChannelModeLeft,   kKivChannelModeRight,     kKivChannelModeMid,
                             kKivChannelModeSide,   kKivChannelModeMidSide,   kKivChannelModeLeftRight,
                             kKivChannelModeMid,    kKivChannelModeLeft,      kKivChannelModeSide,
                             kKivChannelModeRight,  kKivChannelModeMidSide,   kKivChannelModeLeft,
                             kKivChannelModeLeftRight};
    for (const int32_t mode : order) {
        rig.plugin.SetChannelMode(mode);
        // The fade out, a block to take the mode, the latency unheard and the fade in, with room.
        for (int32_t b = 0; b < 12; ++b) {
            player.Block();
            for (int32_t i = 0; i < kBlock; ++i) {
                const int64_t source = player.time - kBlock + i - 480;
                ASSERT_NEAR(rig.out[0][i], Left(source), 2e-6) << "to mode " << mode << ", block " << b << ", " << i;
                ASSERT_NEAR(rig.out[1][i], Right(source), 2e-6) << "to mode " << mode << ", block " << b << ", " << i;
            }
        }
        EXPECT_EQ(rig.plugin.GetPlayingChannelMode(), mode);
    }
}

// Compressing, a switch fades through the uncompressed input and back, never jumping. Processor
// 1 at -12 dB, 2:1 turns DC at 0 dBFS into -6 dB (gain g = 10^(-6/20) = 0.501187). From "Left +
// Right" to "Left" without look-ahead (latency 0, so nothing waits unheard): in the block after
// the request both channels go from g to 1 as g (1 - w) + w, w = sin^2(pi/2 p/480), p = 1 ...
// 480 (10 ms at 48 kHz), and stay at 1 to its end; the next block takes the mode and fades back
// over p = 479 ... 0: the left channel, still compressed by its own detector, to g; the right
// channel, now passed unprocessed, stays at 1.
TEST(TandrelChannelModeSwitch, CompressingTheSwitchFadesThroughTheInputAndBack) {
    TandrelRig rig(48000, 512);
    rig.Compressor(-12.0, 2.0);
    rig.Set(kTandrelLookAhead, 0.0);
    ASSERT_EQ(rig.plugin.GetLatency(), 0);
    const double g = std::pow(10.0, -6.0 / 20.0);
    constexpr int32_t kFade = 480;
    const auto block = [&] {
        for (int32_t i = 0; i < 512; ++i) rig.in[0][i] = rig.in[1][i] = 1.0f;
        float* inputs[2] = {rig.in[0].data(), rig.in[1].data()};
        float* outputs[2] = {rig.out[0].data(), rig.out[1].data()};
        rig.plugin.ProcessAudio(inputs, outputs, 512, true);
    };
    for (int32_t b = 0; b < 60; ++b) block();  // 0.64 s: settled
    ASSERT_NEAR(rig.out[0][511], g, 1e-4);
    ASSERT_NEAR(rig.out[1][511], g, 1e-4);

    rig.plugin.SetChannelMode(kKivChannelModeLeft);
    block();
    for (int32_t i = 0; i < 512; ++i) {
        const double w = Weight(std::min(i + 1, kFade), kFade);
        ASSERT_NEAR(rig.out[0][i], g * (1.0 - w) + w, 1e-4) << i;
        ASSERT_NEAR(rig.out[1][i], g * (1.0 - w) + w, 1e-4) << i;
    }
    block();
    for (int32_t i = 0; i < 512; ++i) {
        const double w = Weight(std::max(kFade - (i + 1), 0), kFade);
        ASSERT_NEAR(rig.out[0][i], g * (1.0 - w) + w, 1e-4) << i;
        ASSERT_NEAR(rig.out[1][i], 1.0, 1e-6) << i;
    }
    block();
    for (int32_t i = 0; i < 512; ++i) {
        ASSERT_NEAR(rig.out[0][i], g, 1e-4) << i;
        ASSERT_EQ(rig.out[1][i], 1.0f) << i;
    }
}

// Oversampled, the new mode's first samples also pass the resamplers' filters before they are
// heard: a switch at unity must still give what an instance that never switched gives (the
// filters' ripple aside, far below 1e-3 for these low tones: a leftover of the mode before
// would differ by a tenth).
TEST(TandrelChannelModeSwitch, OversampledSwitchesPlayWhatAnInstanceThatNeverSwitchedPlays) {
    for (const int32_t factor : {2, 8}) {
        TandrelRig switching(48000, kBlock);
        TandrelRig steady(48000, kBlock);
        for (TandrelRig* rig : {&switching, &steady}) {
            rig->table().Switches().processor1 = 0;
            rig->Set(kTandrelLookAhead, 0.005);
            rig->plugin.ChangeOversampling(factor);
        }
        Player a(switching);
        Player b(steady);
        double worst = 0.0;
        for (const int32_t mode : {kKivChannelModeMid, kKivChannelModeLeft, kKivChannelModeMidSide,
                                   kKivChannelModeRight, kKivChannelModeLeftRight}) {
            switching.plugin.SetChannelMode(mode);
            for (int32_t block = 0; block < 12; ++block) {
                a.Block();
                b.Block();
                for (int32_t c = 0; c < 2; ++c) {
                    for (int32_t i = 0; i < kBlock; ++i) {
                        worst = std::max(worst, std::fabs(static_cast<double>(switching.out[c][i]) - steady.out[c][i]));
                    }
                }
            }
            EXPECT_EQ(switching.plugin.GetPlayingChannelMode(), mode);
        }
        EXPECT_LT(worst, 1e-3) << "oversampling " << factor;
    }
}

// Side mode processes the side and passes the mid through; the pair is converted back after the
// effect (L = M + S, R = M - S). A look-ahead change moves both to the new delay in a cross-fade
// of equal powers, and only when both fade with the same weights at the same samples does the
// pair stay a pair. Left at 0.5 and right silent make mid and side both 0.25, so the right
// output is 0.25 x (mid's fade weight sum - side's): zero to rounding when they agree, up to
// 0.1 when one fades alone (sqrt 2 - 1 of 0.25). The left output, both taps of a constant
// weighted by cos and sin, stays within 0.5 x sqrt 2. The look-ahead is asked for while a
// switched-on processor fades in, so the effect plays the new delay only when that fade ends,
// well after the latency was reported: a pass-through line that followed the report faded
// early. Processor 1 at 1:1 with a threshold far above the signal changes no gain.
TEST(TandrelChannelModeSwitch, SideModeFadesMidAndSideBetweenLookAheadsTogether) {
    constexpr int32_t kSmall = 64;
    TandrelRig rig(48000, kSmall);
    rig.table().Switches().processor1 = 0;
    rig.Set(kTandrelLookAhead, 0.0);
    rig.plugin.SetChannelMode(kKivChannelModeSide);
    const auto block = [&] {
        for (int32_t i = 0; i < kSmall; ++i) {
            rig.in[0][i] = 0.5f;
            rig.in[1][i] = 0.0f;
        }
        float* inputs[2] = {rig.in[0].data(), rig.in[1].data()};
        float* outputs[2] = {rig.out[0].data(), rig.out[1].data()};
        rig.plugin.ProcessAudio(inputs, outputs, kSmall, true);
    };
    const auto expectAPair = [&](const char* when, int32_t b) {
        for (int32_t i = 0; i < kSmall; ++i) {
            ASSERT_NEAR(rig.out[1][i], 0.0f, 1e-6) << when << ", block " << b << ", sample " << i;
            ASSERT_LE(std::fabs(rig.out[0][i]), 0.5 * std::sqrt(2.0) + 1e-6) << when << ", block " << b << ", " << i;
        }
    };
    for (int32_t b = 0; b < 40; ++b) block();
    ASSERT_EQ(rig.plugin.GetPlayingChannelMode(), kKivChannelModeSide);
    for (int32_t i = 0; i < kSmall; ++i) ASSERT_NEAR(rig.out[0][i], 0.5f, 1e-6);
    rig.Compressor(0.0, 1.0);
    rig.table().Switches().processor1 = 1;
    rig.effect().Reprepare();
    block();
    expectAPair("processor switched on", 0);
    // Switched off again, the path switches a second time, so this setup waits for the fade.
    rig.table().Switches().processor1 = 0;
    rig.Set(kTandrelLookAhead, 0.004);
    ASSERT_EQ(rig.plugin.GetLatency(), 192);
    for (int32_t b = 0; b < 30; ++b) {
        block();
        expectAPair("look-ahead 0 to 4 ms", b);
    }
    // Settled: both channels play the input 192 samples late, all of which was the constant.
    for (int32_t i = 0; i < kSmall; ++i) ASSERT_NEAR(rig.out[0][i], 0.5f, 1e-6);
    rig.Set(kTandrelLookAhead, 0.001);
    rig.Set(kTandrelLookAhead, 0.003);
    for (int32_t b = 0; b < 30; ++b) {
        block();
        expectAPair("look-ahead 4 to 1 to 3 ms", b);
    }
}

// A broken sample (NaN, infinity) in the channel a single-channel mode leaves unprocessed, with
// nothing processed (gain only at 0 dB) and a 480-sample look-ahead: the output is the input
// delayed by 480, the broken samples played as silence. In "Left" and "Right" only the channel
// that carried them is silent there; in "Mid" and "Side" the broken left sample spoils mid and
// side alike, so both outputs are silent at that sample and nowhere else.
TEST(TandrelChannelModeSwitch, BrokenSamplesInTheUnprocessedChannelPlayAsSilence) {
    constexpr int32_t kLatency = 480;
    constexpr int32_t kBlocks = 8;
    const float broken[] = {std::nanf(""), std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity()};
    for (const int32_t mode : {kKivChannelModeLeft, kKivChannelModeRight, kKivChannelModeMid, kKivChannelModeSide}) {
        TandrelRig rig(48000, kBlock);
        rig.table().Switches().processor1 = 0;
        rig.Set(kTandrelLookAhead, 0.01);
        ASSERT_EQ(rig.plugin.GetLatency(), kLatency);
        rig.plugin.SetChannelMode(mode);
        // Left mode leaves the right channel unprocessed; every other mode here takes its
        // unprocessed channel (right, mid or side) from the left input too.
        const int32_t carrier = mode == kKivChannelModeLeft ? 1 : 0;
        const bool spoilsBoth = mode == kKivChannelModeMid || mode == kKivChannelModeSide;
        std::vector<float> in[2];
        for (int32_t t = 0; t < kBlocks * kBlock; ++t) {
            in[0].push_back(Left(t));
            in[1].push_back(Right(t));
        }
        const int32_t spots[] = {kBlock, 3 * kBlock + 17, 3 * kBlock + 18};
        for (int32_t k = 0; k < 3; ++k) in[carrier][spots[k]] = broken[k];
        for (int32_t b = 0; b < kBlocks; ++b) {
            for (int32_t c = 0; c < 2; ++c) std::copy_n(in[c].begin() + b * kBlock, kBlock, rig.in[c].begin());
            float* inputs[2] = {rig.in[0].data(), rig.in[1].data()};
            float* outputs[2] = {rig.out[0].data(), rig.out[1].data()};
            rig.plugin.ProcessAudio(inputs, outputs, kBlock, true);
            for (int32_t i = 0; i < kBlock; ++i) {
                const int32_t source = b * kBlock + i - kLatency;
                const bool carried = source >= 0 && !std::isfinite(in[carrier][source]);
                for (int32_t c = 0; c < 2; ++c) {
                    const bool silent = carried && (spoilsBoth || c == carrier);
                    const double expected = source < 0 || silent ? 0.0 : in[c][source];
                    ASSERT_NEAR(rig.out[c][i], expected, 2e-6) << "mode " << mode << ", channel " << c << ", block "
                                                                << b << ", " << i;
                }
            }
        }
    }
}
