#include <cmath>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

#include "base/kiv_exception.h"
#include "dynamics/detector/kiv_dynamics_processor_follower.h"

namespace {

using Follower = KivDynamicsProcessorFollower;
using Mode = KivAttackReleaseMode;
constexpr double kRate = 48000.0;

struct Rig {
    Follower follower;
    Follower::ChannelState states[Follower::kChannelCount];
    Follower::Settings settings;

    explicit Rig(double attack = 0.01, double release = 0.01, Mode attackShape = Mode::kFast,
                 Mode releaseShape = Mode::kFast) {
        settings.sampleRate = kRate;
        settings.attack = attack;
        settings.release = release;
        settings.attackShape = attackShape;
        settings.releaseShape = releaseShape;
        follower.SetTrueRMS(false);
    }
    void Apply() {
        follower.ApplySettings(settings);
        for (auto& s : states) {
            follower.ConfigureChannel(s);
            follower.ResetChannel(s);
            follower.ConfigureChannel(s);
        }
    }
    // Follows a constant power for `count` samples and returns the envelopes.
    std::vector<double> Run(double power, int32_t count, int32_t channel = 0) {
        std::vector<double> buffer(count, power);
        follower.Follow(states[channel], buffer.data(), count);
        return buffer;
    }
};

// Samples until the envelope first reaches `target` (from below when rising).
int32_t SamplesTo(const std::vector<double>& e, double target, bool rising) {
    for (size_t i = 0; i < e.size(); ++i) {
        if (rising ? e[i] >= target : e[i] <= target) return static_cast<int32_t>(i + 1);
    }
    return -1;
}

int32_t CeilSamples(double value) { return static_cast<int32_t>(std::ceil(value)); }

}  // namespace

// Every attack shape from silence to full scale, 10 ms at 48 kHz: k = exp(-1/480).
TEST(FollowerShapes, AttackReachesFractionsAtClosedFormTimes) {
    const double lnk = -1.0 / 480.0;
    struct Case {
        Mode mode;
        int32_t half, ninety;
    };
    const Case cases[] = {
        {Mode::kFast, CeilSamples(std::log(0.5) / lnk), CeilSamples(std::log(0.1) / lnk)},   // 1 - k^n
        {Mode::kFastest, CeilSamples(std::log(0.75) / lnk), CeilSamples(std::log(0.19) / lnk)},  // sqrt(1 - k^n)
        {Mode::kSlow, CeilSamples(std::log(1 - std::sqrt(0.5)) / lnk),
         CeilSamples(std::log(1 - std::sqrt(0.9)) / lnk)},  // (1 - k^n)^2
        // 1e-15^(k^n): k^n = ln f / ln 1e-15
        {Mode::kSlowest, CeilSamples(std::log(std::log(0.5) / std::log(1e-15)) / lnk),
         CeilSamples(std::log(std::log(0.9) / std::log(1e-15)) / lnk)},
        {Mode::kMedium, 1048, 1836},   // iterated in python3
        {Mode::kExtreme, 423, 917},
    };
    for (const Case& c : cases) {
        Rig rig(0.01, 0.01, c.mode, Mode::kFast);
        rig.Apply();
        const auto e = rig.Run(1.0, 20000);
        EXPECT_EQ(SamplesTo(e, 0.5, true), c.half) << static_cast<int>(c.mode);
        EXPECT_EQ(SamplesTo(e, 0.9, true), c.ninety) << static_cast<int>(c.mode);
    }
}

// Every release shape from full scale to silence (the detector value of silence is 1e-15).
TEST(FollowerShapes, ReleaseReachesFractionsAtClosedFormTimes) {
    const double lnk = -1.0 / 480.0, lnx = std::log(1e-15);
    struct Case {
        Mode mode;
        int32_t half, milli;
    };
    const Case cases[] = {
        {Mode::kSlow, CeilSamples(std::log(0.5) / lnk), CeilSamples(std::log(1e-3) / lnk)},          // k^n
        {Mode::kSlowest, CeilSamples(2 * std::log(0.5) / lnk), CeilSamples(2 * std::log(1e-3) / lnk)},  // k^(n/2)
        {Mode::kMedium, CeilSamples(std::log(0.5) / (2 * lnk)), CeilSamples(std::log(1e-3) / (2 * lnk))},  // k^(2n)
        // x^(1 - k^n): k^n = 1 - ln f / ln x
        {Mode::kFast, CeilSamples(std::log(1 - std::log(0.5) / lnx) / lnk),
         CeilSamples(std::log(1 - std::log(1e-3) / lnx) / lnk)},
        {Mode::kFastest, 6, 107},  // iterated in python3
        {Mode::kExtreme, 2, 110},
    };
    for (const Case& c : cases) {
        Rig rig(0.01, 0.01, Mode::kFast, c.mode);
        rig.Apply();
        rig.states[0].envelope.envelope = 1.0 - 1e-15;
        const auto e = rig.Run(0.0, 20000);
        EXPECT_EQ(SamplesTo(e, 0.5, false), c.half) << static_cast<int>(c.mode);
        EXPECT_EQ(SamplesTo(e, 1e-3, false), c.milli) << static_cast<int>(c.mode);
    }
}

TEST(FollowerShapes, ZeroAttackJumpsAndEqualValueTakesRelease) {
    Rig rig(0.0, 0.01, Mode::kFast, Mode::kSlow);
    rig.Apply();
    EXPECT_NEAR(rig.Run(0.25, 1)[0], 0.5, 1e-12);
    // x == e: the linear release keeps e where it is.
    rig.states[0].envelope.envelope = 0.5 + 1e-15 - 1e-15;
    EXPECT_NEAR(rig.Run(0.25, 1)[0], 0.5, 1e-12);
}

class FixedShape final : public KivFollowerShape {
public:
    double Value(double) noexcept override { return 0.5; }
};

// Custom: m = min(1, (0.25 + 1e-10)(1 - k)), e += (x - e) m: 1 - (1 - m)^n.
TEST(FollowerShapes, CustomShapeScalesTheStep) {
    FixedShape shape;
    Rig rig(0.01, 0.01, Mode::kCustom, Mode::kCustom);
    rig.follower.SetCustomShapes(&shape, &shape);
    rig.Apply();
    const double m = (0.25 + 1e-10) * (1.0 - std::exp(-1.0 / 480.0));
    const auto e = rig.Run(1.0, 3000);
    EXPECT_EQ(SamplesTo(e, 0.5, true), CeilSamples(std::log(0.5) / std::log(1 - m)));
}

// A sine of amplitude A reads A / sqrt(2) through either RMS; true RMS over whole periods is
// exact, the one-pole average ripples a little.
TEST(FollowerRms, SineReadsItsRmsLevel) {
    for (bool trueRms : {false, true}) {
        Rig rig(0.0, 0.0, Mode::kFast, Mode::kSlow);
        rig.settings.rmsLength = 0.01;  // 480 samples: 10 periods of 1 kHz
        rig.follower.SetTrueRMS(trueRms);
        rig.Apply();
        const double a = 0.8;
        std::vector<double> p(9600);
        for (size_t i = 0; i < p.size(); ++i) {
            const double x = a * std::sin(2 * std::numbers::pi * 1000.0 * i / kRate);
            p[i] = x * x;
        }
        rig.follower.Follow(rig.states[0], p.data(), static_cast<int32_t>(p.size()));
        for (size_t i = 4800; i < p.size(); ++i) {
            EXPECT_NEAR(p[i], a / std::sqrt(2.0), trueRms ? 1e-6 : 0.006 * a) << trueRms << " " << i;
        }
    }
}

TEST(FollowerRms, TrueRmsBlocksGiveTheSameBitsAsValueByValue) {
    // Rings shorter than a block, one that turns inside blocks of odd length, and one longer
    // than the block passes; a loud burst in the middle leaves rounding residue to restart from.
    for (int32_t length : {1, 48, 301, 1000}) {
        KivTrueRmsRing byValue, byBlock;
        byValue.Build(length);
        byBlock.Build(length);
        std::vector<double> powers(5000);
        for (size_t i = 0; i < powers.size(); ++i)
            powers[i] = (i > 1500 && i < 1700 ? 1e6 : 1.0) * (0.3 + 0.2 * std::sin(0.01 * i)) / (1.0 + i % 7);
        std::vector<double> blocks = powers;
        for (size_t start = 0, n = 1; start < blocks.size(); start += n, n = n * 3 % 511 + 1)
            byBlock.AverageBlock(blocks.data() + start, static_cast<int32_t>(std::min(n, blocks.size() - start)));
        for (size_t i = 0; i < powers.size(); ++i)
            ASSERT_EQ(byValue.Average(powers[i]), blocks[i]) << "length " << length << ", sample " << i;
    }
}

TEST(FollowerShapes, LogarithmicShapeModeGetsTheLogarithmsOfTheSameEnvelopes) {
    // Only a logarithmic release keeps logarithms; the envelope itself (and so the next
    // block) must not change with the form the levels are handed out in.
    for (Mode release : {Mode::kFast, Mode::kSlow}) {
        Rig linear(0.002, 0.05, Mode::kFast, release), logarithmic(0.002, 0.05, Mode::kFast, release);
        linear.settings.shapeMode = 1;
        logarithmic.settings.shapeMode = 2;
        linear.Apply();
        logarithmic.Apply();
        EXPECT_EQ(logarithmic.follower.LevelsAreLogarithms(), release == Mode::kFast);
        for (int32_t block = 0; block < 6; ++block) {
            std::vector<double> a(700), b;
            for (size_t i = 0; i < a.size(); ++i) a[i] = (block % 2 ? 0.5 : 1e-4) * (1.2 + std::sin(0.02 * i));
            b = a;
            linear.follower.Follow(linear.states[0], a.data(), 700);
            logarithmic.follower.Follow(logarithmic.states[0], b.data(), 700);
            for (size_t i = 0; i < a.size(); ++i) {
                const double expected = logarithmic.follower.LevelsAreLogarithms() ? std::log(a[i]) : a[i];
                ASSERT_NEAR(b[i], expected, 1e-13 * std::fabs(expected)) << "block " << block << ", sample " << i;
            }
            EXPECT_EQ(logarithmic.states[0].envelope.envelope, linear.states[0].envelope.envelope);
            EXPECT_NEAR(logarithmic.states[0].blockMaximum, linear.states[0].blockMaximum,
                        1e-15 * linear.states[0].blockMaximum);
        }
    }
}

TEST(FollowerRms, PeakModeHoldsAndDecaysByTheHoldTime) {
    Rig rig(0.0, 0.0, Mode::kFast, Mode::kSlow);
    rig.settings.peakHold = 0.1;  // h = exp(-1/4800)
    rig.Apply();
    EXPECT_TRUE(rig.follower.IsPeakMode());
    std::vector<double> p(4801, 0.0);
    p[0] = 1.0;
    rig.follower.Follow(rig.states[0], p.data(), 4801);
    // Power falls by h per sample, the amplitude by sqrt(h): e^-0.5 after 4800 samples.
    EXPECT_NEAR(p[4800], std::exp(-0.5), 1e-9);
    rig.settings.peakHold = 0.0;
    rig.Apply();
    EXPECT_NEAR(rig.Run(1.0, 1)[0], 1.0, 1e-12);
    EXPECT_LT(rig.Run(0.0, 1)[0], 1e-14);
}

// The release coefficient each mode settles on for a steady level e = 0.65 (T = 0.3).
TEST(FollowerReleaseModes, CoefficientsFollowTheLevel) {
    const double attack = 0.002, release = 0.2, e = 0.65, t = 0.3;
    auto coefficient = [](double seconds) { return std::exp(-1.0 / (seconds * kRate)); };
    struct Case {
        KivReleaseMode mode;
        double expected;
    };
    const Case cases[] = {
        {KivReleaseMode::kManual, coefficient(release)},
        {KivReleaseMode::kLinear1, coefficient(attack + (release - attack) * std::sqrt((e - t) / (1 - t)))},
        {KivReleaseMode::kLinear2, coefficient(attack + (e - t) * (release - attack) / (1 - t))},
        {KivReleaseMode::kOpto, coefficient(release + (e - t) * (attack - release) / (1 - t))},
    };
    for (const Case& c : cases) {
        Rig rig(attack, release);
        rig.settings.releaseMode = c.mode;
        rig.Apply();
        rig.states[0].envelope.envelope = e - 1e-15;
        rig.Run((e - 1e-15) * (e - 1e-15) - 1e-30, 32);
        EXPECT_NEAR(rig.states[0].envelope.release.releaseCoefficient, c.expected, 1e-9) << static_cast<int>(c.mode);
    }
    // Without a threshold Linear 2 uses the whole level: start + min(e, 1) k0.
    Rig rig(attack, release);
    rig.settings.releaseMode = KivReleaseMode::kLinear2;
    rig.settings.lowestThreshold = 0.0;
    rig.Apply();
    rig.states[0].envelope.envelope = e - 1e-15;
    rig.Run((e - 1e-15) * (e - 1e-15) - 1e-30, 16);
    EXPECT_NEAR(rig.states[0].envelope.release.releaseCoefficient, coefficient(attack + e * (release - attack)), 1e-9);
}

// Automatic fast, auto speed 1 s at 48 kHz: 16 samples of release time per 16 samples.
TEST(FollowerReleaseModes, AutomaticTimesMoveAtTheAutoSpeed) {
    Rig rig(0.0, 1.0);
    rig.settings.releaseMode = KivReleaseMode::kAutomaticFast;
    rig.settings.autoSpeed = 1.0;
    rig.Apply();
    rig.Run(0.25, 1600);  // e = 0.5 > T: 100 updates up from 0
    EXPECT_NEAR(rig.states[0].envelope.release.automaticTime, 1600.0, 1e-9);
    EXPECT_NEAR(rig.states[0].envelope.release.releaseCoefficient, std::exp(-1.0 / 1600.0), 1e-12);
    rig.states[0].envelope.envelope = 0.0;
    rig.Run(0.0, 160);  // below T: 10 updates down, not below attack' = 48 samples
    EXPECT_NEAR(rig.states[0].envelope.release.automaticTime, 1440.0, 1e-9);
    rig.Run(0.0, 48000);
    EXPECT_NEAR(rig.states[0].envelope.release.automaticTime, 48.0, 1e-9);

    // Automatic: in proportion to the level above T, (0.5 - 0.3) * 16 per update.
    Rig proportional(0.0, 1.0);
    proportional.settings.releaseMode = KivReleaseMode::kAutomatic;
    proportional.settings.autoSpeed = 1.0;
    proportional.Apply();
    proportional.Run(0.25, 160);
    EXPECT_NEAR(proportional.states[0].envelope.release.automaticTime, 10 * 0.2 * 16, 1e-6);
}

// Two uncorrelated channels (a tone and a different tone) under each link amount.
TEST(FollowerLinking, PowerMixesTheChannelsByTheLinkAmount) {
    Rig rig;
    rig.settings.inputGain = 2.0;
    std::vector<float> a(64), b(64);
    for (int i = 0; i < 64; ++i) {
        a[i] = static_cast<float>(std::sin(0.1 * i));
        b[i] = static_cast<float>(0.5 * std::sin(0.37 * i + 1));
    }
    const float* signals[2] = {a.data(), b.data()};
    Follower::ChannelState* states[2] = {&rig.states[0], &rig.states[1]};
    for (double link : {1.0, 0.5, 0.0}) {
        rig.follower.SetLinkAmount(link);
        rig.Apply();
        const bool shared = rig.follower.ComputePower(states, signals, 2, 64);
        EXPECT_EQ(shared, link == 1.0);
        for (int i = 0; i < 64; ++i) {
            const double xa = double(a[i]) * a[i], xb = double(b[i]) * b[i];
            const double own = 1 - link + link / 2, other = link / 2;
            EXPECT_NEAR(rig.states[0].levels[i], 4 * (own * xa + other * xb), 1e-12);
            if (!shared) {
                EXPECT_NEAR(rig.states[1].levels[i], 4 * (own * xb + other * xa), 1e-12);
            }
        }
    }
    // Equal content: linked power equals the unlinked power of one channel.
    const float* same[2] = {a.data(), a.data()};
    rig.follower.SetLinkAmount(1.0);
    rig.follower.ComputePower(states, same, 2, 64);
    for (int i = 0; i < 64; ++i) EXPECT_NEAR(rig.states[0].levels[i], 4.0 * a[i] * a[i], 1e-12);
}

TEST(FollowerLinking, LinkChangesCopyOrResetTheFollowers) {
    Rig rig;
    rig.Apply();
    Follower::ChannelState* states[3] = {&rig.states[0], &rig.states[1], &rig.states[2]};
    rig.states[0].envelope.envelope = 0.7;
    rig.states[0].envelope.release.automaticTime = 99.0;
    rig.follower.SetLinkAmount(0.5);
    rig.follower.LinkChanged(3, states);
    EXPECT_EQ(rig.states[2].envelope.envelope, 0.7);
    EXPECT_EQ(rig.states[2].envelope.release.automaticTime, 99.0);
    rig.follower.SetLinkAmount(1.0);
    rig.follower.LinkChanged(3, states);
    EXPECT_EQ(rig.states[1].envelope.envelope, 1e-15);  // the reset envelope
    EXPECT_EQ(rig.states[0].envelope.envelope, 0.7);
}

namespace {

bool Clean(double v) { return v == 0.0 || (std::isnormal(v) && std::fabs(v) >= 1e-35); }

void RunSignal(Rig& rig, const std::vector<float>& x, std::vector<double>& envelope) {
    const float* sources[1] = {x.data()};
    Follower::ChannelState* states[1] = {&rig.states[0]};
    rig.follower.Detect(states, sources, 1, static_cast<int32_t>(x.size()));
    envelope.assign(rig.states[0].levels.Data(), rig.states[0].levels.Data() + x.size());
}

}  // namespace

// NaN and infinite input in every kind of accumulator: once it stops, the detector returns
// to finite values within the release time and then to the level of the signal.
TEST(FollowerRobustness, RecoversFromNaNAndInfinity) {
    for (int variant = 0; variant < 4; ++variant) {
        Rig rig(0.001, 0.05, Mode::kFast, variant == 3 ? Mode::kExtreme : Mode::kFast);
        rig.settings.rmsLength = variant == 0 ? 0.0 : 0.005;
        rig.follower.SetTrueRMS(variant == 2);
        rig.follower.Filter().settings.psychoAcoustic = variant >= 1;
        rig.follower.Filter().settings.spectralSmoothing = variant == 3;
        rig.Apply();
        std::vector<float> x(4800);
        std::vector<double> e;
        for (size_t i = 0; i < x.size(); ++i) x[i] = 0.5f * static_cast<float>(std::sin(0.13 * i));
        x[100] = NAN;
        x[200] = INFINITY;
        x[300] = -INFINITY;
        RunSignal(rig, x, e);
        for (size_t i = 300 + 2400; i < e.size(); ++i) ASSERT_TRUE(std::isfinite(e[i])) << variant << " " << i;
        for (int block = 0; block < 20; ++block) {
            x[100] = x[200] = x[300] = 0.5f;
            RunSignal(rig, x, e);
        }
        for (double v : e) ASSERT_TRUE(std::isfinite(v));
        EXPECT_NEAR(e.back(), 0.5 * (variant == 0 ? 1.0 : 1 / std::sqrt(2.0)), 0.25) << variant;
        EXPECT_LT(e.back(), 1.0) << variant;
    }
}

// Long silence and denormal-range input leave every state exactly 0 or well clear of the
// denormal range.
TEST(FollowerRobustness, SilenceProducesNoDenormals) {
    for (int variant = 0; variant < 2; ++variant) {
        Rig rig(0.001, 0.01, Mode::kFast, Mode::kSlowest);
        rig.settings.rmsLength = variant == 0 ? 0.0 : 0.002;
        rig.settings.peakHold = 0.01;
        rig.follower.Filter().settings.psychoAcoustic = variant == 1;
        rig.follower.Filter().settings.enabledSideChain = variant == 1;
        rig.follower.Filter().settings.minFrequency = 80.0;
        rig.follower.Filter().settings.spectralSmoothing = variant == 1;
        rig.Apply();
        std::vector<float> x(48000);
        std::vector<double> e;
        for (size_t i = 0; i < x.size(); ++i) x[i] = static_cast<float>(std::sin(0.05 * i));
        RunSignal(rig, x, e);
        for (int second = 0; second < 10; ++second) {
            std::fill(x.begin(), x.end(), second % 2 ? 0.0f : 1e-40f);
            RunSignal(rig, x, e);
        }
        const auto& s = rig.states[0];
        EXPECT_TRUE(Clean(s.rmsAccumulator)) << s.rmsAccumulator;
        EXPECT_TRUE(Clean(s.envelope.envelope)) << s.envelope.envelope;
        for (double v : e) ASSERT_TRUE(Clean(v));
        for (const auto& b : s.filter.weighting) EXPECT_TRUE(Clean(b.s1) && Clean(b.s2)) << b.s1 << " " << b.s2;
        EXPECT_TRUE(Clean(s.filter.highPass.s1) && Clean(s.filter.highPass.s2));
        for (const auto& b : s.filter.splitter.a) EXPECT_TRUE(Clean(b.s1) && Clean(b.s2));
        for (const auto& b : s.filter.splitter.b) EXPECT_TRUE(Clean(b.s1) && Clean(b.s2));
    }
}

// A release shorter than the attack turns the Linear modes' slopes negative; in every mode the
// release coefficient stays in [0, 1) for any level (loud, full scale, far above it), so the
// envelope always comes back down.
TEST(FollowerReleaseModes, EveryModeKeepsItsCoefficientBelowOne) {
    const KivReleaseMode modes[] = {KivReleaseMode::kManual,   KivReleaseMode::kAutomatic, KivReleaseMode::kAutomaticFast,
                                    KivReleaseMode::kLinear1,  KivReleaseMode::kLinear2,   KivReleaseMode::kOpto};
    for (KivReleaseMode mode : modes) {
        for (double threshold : {0.3, 0.0}) {
            Rig rig(0.2, 0.05, Mode::kFast, Mode::kFast);
            rig.settings.releaseMode = mode;
            rig.settings.lowestThreshold = threshold;
            rig.Apply();
            for (double level : {0.5, 1.0, 4.0, 1e6}) {
                rig.Run(level * level, 4800);
                const double k = rig.states[0].envelope.release.releaseCoefficient;
                EXPECT_GE(k, 0.0) << static_cast<int>(mode) << " " << threshold << " " << level;
                EXPECT_LT(k, 1.0) << static_cast<int>(mode) << " " << threshold << " " << level;
            }
            // 2 s of a level far below: the envelope is back within 1% of it.
            const std::vector<double> e = rig.Run(1e-4, 96000);
            EXPECT_NEAR(e.back(), 1e-2, 1e-4) << static_cast<int>(mode) << " " << threshold;
        }
    }
}

// Simple RMS with peak hold: after a steady power P the average holds and decays by the hold
// time alone (it is longer than the RMS length), s_n = P h^n with h = exp(-1/(hold x rate));
// with attack and release 0 the envelope is its square root.
TEST(FollowerRms, SimpleRmsWithPeakHoldDecaysByTheHoldTime) {
    Rig rig(0.0, 0.0);
    rig.settings.rmsLength = 0.001;
    rig.settings.peakHold = 0.01;
    rig.Apply();
    rig.Run(0.25, 4800);
    const std::vector<double> e = rig.Run(0.0, 480);
    for (int32_t n : {1, 48, 240, 480}) EXPECT_NEAR(e[n - 1], 0.5 * std::exp(-n / (2.0 * 480.0)), 1e-9) << n;
}

// A true-RMS ring first configured at one sample (shorter than 2) is built and averages over
// that one sample: the envelope follows the level itself.
TEST(FollowerRms, TrueRmsRingOfOneSample) {
    Rig rig(0.0, 0.0);
    rig.follower.SetTrueRMS(true);
    rig.settings.rmsLength = 1.5 / kRate;
    rig.Apply();
    const std::vector<double> e = rig.Run(0.36, 100);
    EXPECT_NEAR(e.back(), 0.6, 1e-6);
}

// Four channels at half link: each hears (1 - L) of its own power and L times the mean of all.
TEST(FollowerLinking, MoreThanTwoChannelsShareTheMeanPower) {
    Rig rig;
    rig.follower.SetLinkAmount(0.5);
    rig.Apply();
    const float values[4] = {0.1f, 0.2f, 0.4f, 0.8f};
    std::vector<std::vector<float>> x(4);
    const float* signals[4];
    Follower::ChannelState* states[4];
    for (int c = 0; c < 4; ++c) {
        x[c].assign(16, values[c]);
        signals[c] = x[c].data();
        states[c] = &rig.states[c];
    }
    EXPECT_FALSE(rig.follower.ComputePower(states, signals, 4, 16));
    double mean = 0.0;
    for (float v : values) mean += double(v) * v / 4.0;
    for (int c = 0; c < 4; ++c)
        EXPECT_NEAR(rig.states[c].levels[5], 0.5 * double(values[c]) * values[c] + 0.5 * mean, 1e-9) << c;
    // Fully linked: one envelope from the mean power of all four.
    rig.follower.SetLinkAmount(1.0);
    EXPECT_TRUE(rig.follower.ComputePower(states, signals, 4, 16));
    EXPECT_NEAR(rig.states[0].levels[5], mean, 1e-9);
}

// Silence does not age a fresh channel, and where the blocks fall does not matter: the same
// sound after 0, 1 or 37 silent samples, in blocks of any length, gives the same envelopes to
// the bit (automatic release, whose update runs every 16th sample).
TEST(FollowerRest, EnvelopesDoNotDependOnLeadingSilenceOrBlocks) {
    auto render = [](int32_t silence, int32_t block) {
        Rig rig(0.001, 0.05);
        rig.settings.releaseMode = KivReleaseMode::kAutomatic;
        rig.settings.rmsLength = 0.001;
        rig.Apply();
        std::vector<double> powers(silence, 1e-30);
        for (int32_t i = 0; i < 4000; ++i) powers.push_back(1e-30 + (i / 1000 % 2 ? 0.5 : 0.01) * (1 + std::sin(0.01 * i)));
        for (size_t start = 0; start < powers.size(); start += block)
            rig.follower.Follow(rig.states[0], powers.data() + start,
                                static_cast<int32_t>(std::min<size_t>(block, powers.size() - start)));
        return std::vector<double>(powers.begin() + silence, powers.end());
    };
    const std::vector<double> reference = render(0, 4000);
    for (int32_t silence : {1, 37})
        for (int32_t block : {1, 64, 333}) {
            const std::vector<double> out = render(silence, block);
            size_t first = 0;
            while (first < out.size() && out[first] == reference[first]) ++first;
            EXPECT_EQ(first, out.size()) << silence << " " << block << ": " << (first < out.size() ? out[first] - reference[first] : 0.0);
        }
}
