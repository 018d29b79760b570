// Switching things mid-stream through the built TandrelMini library, in both of its faces
// (VST 2.4 with its soft bypass, VST 3 with its "Bypass" parameter): bypass, look-ahead
// changes, every processor switched off and on. The expected output is worked out here from
// the input alone: a plain delay by the reported latency, times the output gain.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "tests/support/tandrel_mini_faces.h"
#include "tests/support/tandrel_mini_vst2_session.h"

namespace {

using namespace tandrel_mini_test;

constexpr int32_t kRate = 44100;
constexpr int32_t kBlock = 512;
// 10 ms at 44.1 kHz.
constexpr int32_t kFade = 441;

// A tone on a DC offset, 0.1 .. 0.7: never 0, so output over delayed input is a gain at
// every sample.
float Input(int32_t n) { return static_cast<float>(0.4 + 0.3 * std::sin(2.0 * std::numbers::pi * 440.0 * n / kRate)); }

// The host values: output gain runs -24 .. +24 dB on a linear scale; the look-ahead knob runs
// 0 .. 1 s under a fourth-power curve, so 0.005 s (220.5 samples, which round up to 221) sits
// at 0.005^(1/4).
constexpr double kOutputDb = -6.0;
double OutputGainValue() { return (kOutputDb + 24.0) / 48.0; }
double LookAheadValue(double seconds) { return std::pow(seconds, 0.25); }
double OutputGain() { return std::pow(10.0, kOutputDb / 20.0); }

std::unique_ptr<Face> Open(FaceKind kind) {
    std::unique_ptr<Face> face = MakeFace(kind);
    EXPECT_TRUE(face->Open({kRate, kBlock})) << face->Error();
    return face;
}

// One block of a stereo pair through the face.
void Process(Face& face, const float* left, const float* right, float* outLeft, float* outRight, int32_t count) {
    float* main[2] = {const_cast<float*>(left), const_cast<float*>(right)};
    float* out[2] = {outLeft, outRight};
    face.Process(main, nullptr, out, count);
}

// The reported latency, as a host reads it after restarting the plug-in.
int32_t Latency(Face& face) {
    face.Restart();
    return face.Latency();
}

// Runs `blocks` blocks of `signal`, calling `before(block)` ahead of each; the left output,
// which the right one must equal.
template <typename Before>
std::vector<float> RunBlocks(Face& face, int32_t blocks, Before before, float (*signal)(int32_t) = Input) {
    std::vector<float> input(static_cast<size_t>(blocks * kBlock)), left(input.size()), right(input.size());
    for (size_t n = 0; n < input.size(); ++n) input[n] = signal(static_cast<int32_t>(n));
    for (int32_t block = 0; block < blocks; ++block) {
        before(block);
        const size_t at = static_cast<size_t>(block * kBlock);
        Process(face, input.data() + at, input.data() + at, left.data() + at, right.data() + at, kBlock);
    }
    EXPECT_EQ(left, right);
    return left;
}

// Output over the input `latency` samples earlier.
double GainAt(const std::vector<float>& output, int32_t n, int32_t latency) { return output[n] / Input(n - latency); }

class Transitions : public ::testing::TestWithParam<FaceKind> {};

// Bypass on, off and on again, at latency 0 and 221 samples, over an output gain of -6 dB:
// between the fades the output is exactly the input delayed by the latency (bypassed) or that
// times the output gain (processed; ratio 1:1 is the identity); each fade takes 10 ms and its
// gain moves monotonically between the two, with weights summing to 1 (processed and dry are
// the same audio at the same time).
TEST_P(Transitions, BypassIsTheInputDelayedByTheLatencyWithTenMillisecondFades) {
    for (const int32_t latency : {0, 221}) {
        SCOPED_TRACE(latency);
        std::unique_ptr<Face> face = Open(GetParam());
        if (!face->Bypass(false, 0)) GTEST_SKIP() << face->Name() << " offers no bypass";
        face->Automate(Face::Index("Output gain (General parameters)"), OutputGainValue());
        if (latency > 0) face->Automate(Face::Index("Look-ahead"), LookAheadValue(0.005));
        // VST 3 switches 100 samples into a block, VST 2.4 at the block's start.
        const int32_t offset = GetParam() == FaceKind::kVst3 ? 100 : 0;
        const std::vector<int32_t> toggles{10 * kBlock + offset, 20 * kBlock + offset, 30 * kBlock + offset};
        const std::vector<float> output = RunBlocks(*face, 40, [&](int32_t block) {
            for (size_t t = 0; t < toggles.size(); ++t) {
                if (toggles[t] / kBlock == block) face->Bypass(t % 2 == 0, toggles[t] % kBlock);
            }
        });
        ASSERT_EQ(Latency(*face), latency);
        const double g = OutputGain();
        int32_t bypassedSamples = 0;
        // From well after the start (gain ramp and look-ahead settled) to the end.
        for (int32_t n = 4 * kBlock; n < static_cast<int32_t>(output.size()); ++n) {
            int32_t segment = 0;
            while (segment < 3 && n >= toggles[segment]) ++segment;
            const bool bypassed = segment % 2 == 1;
            const int32_t sinceToggle = segment > 0 ? n - toggles[segment - 1] : kFade;
            if (sinceToggle < kFade) {
                // Inside a fade: between the two gains, moving one way only.
                const double gain = GainAt(output, n, latency), previous = GainAt(output, n - 1, latency);
                EXPECT_GE(gain, g - 1e-6) << n;
                EXPECT_LE(gain, 1.0 + 1e-6) << n;
                if (bypassed) {
                    EXPECT_GE(gain, previous - 1e-6) << n;
                } else {
                    EXPECT_LE(gain, previous + 1e-6) << n;
                }
                // The weights sin^2 and cos^2 over 441 samples move by at most pi / (2 x 441)
                // per sample, so the gain by at most (1 - g) times that: no jump.
                EXPECT_LE(std::fabs(gain - previous), (1.0 - g) * std::numbers::pi / (2.0 * kFade) * 1.01) << n;
                // Halfway, both sides are heard equally.
                if (sinceToggle == kFade / 2) {
                    EXPECT_NEAR(gain, (1.0 + g) / 2.0, 0.01 * (1.0 - g)) << n;
                }
                continue;
            }
            if (bypassed) {
                ASSERT_EQ(output[n], Input(n - latency)) << n;
                ++bypassedSamples;
            } else {
                ASSERT_NEAR(GainAt(output, n, latency), g, 2e-6) << n;
            }
        }
        EXPECT_EQ(bypassedSamples, (toggles[1] - toggles[0] - kFade) + (40 * kBlock - toggles[2] - kFade));
    }
}

// Processor 1 as a 4:1 compressor at -20 dB, knee 0, in the logarithmic mode, on a peak
// detector (RMS length 0).
void SetCompressor(Face& face) {
    face.Automate(Face::Index("Threshold (Processor 1)"), Threshold(-20));
    face.Automate(Face::Index("Ratio (Processor 1)"), RatioCode(4));
    face.Automate(Face::Index("Knee size (Processor 1)"), 0.0);
    face.Automate(Face::Index("Mode (General parameters)"), 1.0);
    face.Automate(Face::Index("RMS length (Dynamic detection)"), 0.0);
}

double LargestStep(const std::vector<float>& output, int32_t from, int32_t to) {
    double largest = 0.0;
    for (int32_t n = from + 1; n < to; ++n) largest = std::max(largest, std::fabs(double(output[n]) - output[n - 1]));
    return largest;
}

// Look-ahead switched from 0 to 5 ms (221 samples) and back on a running tone at ratio 1:1:
// the output moves from the input to the input 221 samples earlier and back, each time in a
// 10 ms fade, and never leaves the signal's range 0.1 .. 0.7 (the fade's weights cos and sin
// sum to at least 1 and both sides are the real input: no silence, no old audio). Its largest
// step stays within what the tone itself does, 0.3 x 2 pi 440 / 44100 = 0.0188 per sample,
// times at most sqrt 2 from the weights, plus 0.7 sqrt 2 x pi / (2 x 441) from their movement:
// 0.030.
TEST_P(Transitions, LookAheadChangesFadeBetweenTheDelaysWithoutAGap) {
    std::unique_ptr<Face> face = Open(GetParam());
    const int32_t lookAhead = Face::Index("Look-ahead");
    const int32_t on = 10 * kBlock, off = 20 * kBlock;
    const std::vector<float> output = RunBlocks(*face, 30, [&](int32_t block) {
        if (block * kBlock == on) face->Automate(lookAhead, LookAheadValue(0.005));
        if (block * kBlock == off) face->Automate(lookAhead, 0.0);
    });
    for (int32_t n = 0; n < static_cast<int32_t>(output.size()); ++n) {
        const bool fading = (n >= on && n < on + kFade) || (n >= off && n < off + kFade);
        const int32_t latency = n >= on + kFade && n < off ? 221 : 0;
        if (fading) {
            ASSERT_GE(output[n], 0.1f - 1e-6f) << n;
            ASSERT_LE(output[n], 0.7f * std::numbers::sqrt2 + 1e-6f) << n;
        } else {
            ASSERT_EQ(output[n], Input(n - latency)) << n;
        }
    }
    EXPECT_LE(LargestStep(output, 1, static_cast<int32_t>(output.size())), 0.030);
    EXPECT_EQ(Latency(*face), 0);
}

// Processor 1 switched off (all off: the gain-only path) and on again over a steady 0.5, as a
// 4:1 compressor at -20 dB with knee 0 in the logarithmic mode, which takes 0.5 (-6.02 dB) to
// -20 + 13.98 / 4 = -16.5 dB: each switch fades the gain in 10 ms, monotonically and by at most
// (0.5 - compressed) x pi / (2 x 441) per sample, to exactly 0.5 off and back to the
// compressed level on. The detector keeps following while the processor is off, so the
// compressor is at its level at once when it comes back (a detector restarting from silence
// would let the first 10 ms attack through nearly unattenuated). With 221 samples of
// look-ahead as well, where the delayed audio must run on through both switches.
TEST_P(Transitions, ProcessorSwitchedOffAndOnFadesWithTheDetectorCarriedOver) {
    for (const bool withLookAhead : {false, true}) {
        SCOPED_TRACE(withLookAhead);
        std::unique_ptr<Face> face = Open(GetParam());
        SetCompressor(*face);
        if (withLookAhead) face->Automate(Face::Index("Look-ahead"), LookAheadValue(0.005));
        const int32_t processor = Face::Index("Processor 1 (Processor 1)");
        const int32_t off = 20 * kBlock, on = 30 * kBlock;
        const std::vector<float> output = RunBlocks(
            *face, 40,
            [&](int32_t block) {
                if (block * kBlock == off) face->Automate(processor, 0.0);
                if (block * kBlock == on) face->Automate(processor, 1.0);
            },
            [](int32_t) { return 0.5f; });
        const double compressed = 0.5 * std::pow(10.0, (-20.0 + (20.0 * std::log10(0.5) + 20.0) / 4.0 - 20.0 * std::log10(0.5)) / 20.0);
        const double bound = (0.5 - compressed) * std::numbers::pi / (2.0 * kFade) * 1.01;
        for (int32_t n = off - kBlock; n < static_cast<int32_t>(output.size()); ++n) {
            const bool fadingOut = n >= off && n < off + kFade, fadingIn = n >= on && n < on + kFade;
            if (fadingOut || fadingIn) {
                ASSERT_GE(output[n], compressed - 1e-4) << n;
                ASSERT_LE(output[n], 0.5 + 1e-6) << n;
                if (fadingOut) {
                    ASSERT_GE(output[n], output[n - 1] - 1e-7) << n;
                } else {
                    ASSERT_LE(output[n], output[n - 1] + 1e-7) << n;
                }
                ASSERT_LE(std::fabs(double(output[n]) - output[n - 1]), bound) << n;
            } else if (n >= off && n < on) {
                ASSERT_EQ(output[n], 0.5f) << n;
            } else {
                ASSERT_NEAR(output[n], compressed, 1e-4) << n;
            }
        }
    }
}

// "Maximize" switched on while the output gain goes from +12 dB to 0 dB in the same host step,
// in either order (VST 3: at offsets 0 and 1 of one block; VST 2.4: one after the other before
// it), on a steady 0.5 into the 4:1 compressor at -20 dB. Before: 0.5 x 10^((-16.505 + 6.021 +
// 12) / 20) = 0.5936, the shape's -16.505 dB out for -6.021 dB in raised by 12 dB. After: the
// shape raised by 15 dB, its distance below 0 dB out at 0 dB in (-20 + 20 / 4 = -15): 0.8386.
// No sample lies above the louder of the two (the new shape with the old gain, played through
// the switch's fade, reached towards 0.5 x 10^((-16.505 + 6.021 + 27) / 20) = 3.34, 12 dB over),
// and 20 ms on the output is the new level.
TEST_P(Transitions, MaximizeAndOutputGainChangedTogetherStayWithinBothSettings) {
    const double before = 0.5 * std::pow(10.0, (-16.505149978 + 6.020599913 + 12.0) / 20.0);
    const double after = 0.5 * std::pow(10.0, (-16.505149978 + 6.020599913 + 15.0) / 20.0);
    for (const bool maximizeFirst : {true, false}) {
        SCOPED_TRACE(maximizeFirst);
        std::unique_ptr<Face> face = Open(GetParam());
        SetCompressor(*face);
        const int32_t output = Face::Index("Output gain (General parameters)");
        const int32_t maximize = Face::Index("Maximize signal strength to 0dB (General parameters)");
        face->Automate(output, (12.0 + 24.0) / 48.0);
        const int32_t at = 20 * kBlock;
        const std::vector<float> out = RunBlocks(
            *face, 30,
            [&](int32_t block) {
                if (block * kBlock != at) return;
                face->Automate(maximizeFirst ? maximize : output, maximizeFirst ? 1.0 : 0.5, 0);
                face->Automate(maximizeFirst ? output : maximize, maximizeFirst ? 0.5 : 1.0, 1);
            },
            [](int32_t) { return 0.5f; });
        ASSERT_NEAR(out[at - 1], before, 1e-4);
        EXPECT_LE(*std::max_element(out.begin() + at, out.end()), after * (1.0 + 1e-5));
        for (int32_t n = at + 2 * kFade; n < static_cast<int32_t>(out.size()); ++n) ASSERT_NEAR(out[n], after, 1e-4) << n;
    }
}

// The gain of a 4:1 compressor at -20 dB (knee 0, logarithmic mode) at a steady level.
double Compression(double level) {
    const double db = 20.0 * std::log10(level);
    return db <= -20.0 ? 1.0 : std::pow(10.0, ((-20.0 + (db + 20.0) / 4.0) - db) / 20.0);
}

// Link channels stepped from 0 to 100% and back between two blocks, on a steady 0.5 left and
// 0.05 right, with a peak detector that attacks at once (attack 0, RMS length 0, release
// 1 ms). Unlinked, each side is compressed by its own level (0.05 lies below the threshold);
// fully linked, both by the level of their mean power, sqrt((0.25 + 0.0025) / 2) = 0.3553.
// The amount moves over 5 ms, so each side's output changes by at most a twentieth of its
// whole change per sample, where a stepped amount makes the side whose level rises jump at
// once (the right one going linked, the left one going unlinked).
TEST_P(Transitions, LinkAmountMovesSampleBySample) {
    std::unique_ptr<Face> face = Open(GetParam());
    SetCompressor(*face);
    face->Automate(Face::Index("Attack (Dynamic detection)"), 0.0);
    face->Automate(Face::Index("Release (Dynamic detection)"), 0.0);
    const int32_t link = Face::Index("Link channels");
    face->Automate(link, 0.0);
    constexpr int32_t kBlocks = 30, linked = 10 * kBlock, unlinked = 20 * kBlock;
    const std::vector<float> inLeft(kBlock, 0.5f), inRight(kBlock, 0.05f);
    std::vector<float> left(kBlocks * kBlock), right(kBlocks * kBlock);
    for (int32_t block = 0; block < kBlocks; ++block) {
        if (block * kBlock == linked) face->Automate(link, 1.0);
        if (block * kBlock == unlinked) face->Automate(link, 0.0);
        Process(*face, inLeft.data(), inRight.data(), left.data() + block * kBlock, right.data() + block * kBlock, kBlock);
    }
    const double shared = Compression(std::sqrt((0.25 + 0.0025) / 2.0));
    const double own[2] = {0.5 * Compression(0.5), 0.05};
    const double both[2] = {0.5 * shared, 0.05 * shared};
    const std::vector<float>* outputs[2] = {&left, &right};
    for (int32_t side = 0; side < 2; ++side) {
        SCOPED_TRACE(side);
        const std::vector<float>& output = *outputs[side];
        EXPECT_NEAR(output[linked - 1], own[side], 1e-4);
        EXPECT_NEAR(output[unlinked - 1], both[side], 1e-4);
        EXPECT_NEAR(output.back(), own[side], 1e-4);
        const double change = std::fabs(own[side] - both[side]);
        EXPECT_LE(LargestStep(output, linked - 1, unlinked), change / 20.0);
        EXPECT_LE(LargestStep(output, unlinked - 1, kBlocks * kBlock), change / 20.0);
    }
}

INSTANTIATE_TEST_SUITE_P(BothFaces, Transitions, ::testing::Values(FaceKind::kVst2, FaceKind::kVst3), FaceName);

}  // namespace
