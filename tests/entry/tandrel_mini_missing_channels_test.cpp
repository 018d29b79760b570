// A host that leaves channels out of a block (null pointers), or hands one buffer out twice,
// in both faces of the built TandrelMini file. A missing output is written nowhere and takes
// nothing from its neighbour: the other output is, sample for sample, what it is with both
// outputs connected, with the channels linked or not, processing, fading into bypass or
// bypassed, oversampled, in blocks far longer than declared, replacing or adding. A missing
// input, main or side-chain, plays exactly as silence would. A buffer given to two outputs
// holds the first one's result, as if the second were missing; an input that an output of the
// same call writes over is heard as it was when the call began. The host's pointer arrays are
// left as the host filled them.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/support/tandrel_mini_faces.h"

using namespace tandrel_mini_test;

namespace {

constexpr double kRate = 48000.0;
constexpr int32_t kDeclaredBlock = 512;
constexpr int32_t kFrames = 3 * 8192;
// 4 : 1 on the ratio's scale of -1 .. 20; the threshold stays at its default, -12 dB.
constexpr double kRatioValue = 5.0 / 21.0;
// What the outputs hold before a block: a replacing call writes over it, an adding one adds.
constexpr float kBed = 0.125f;

struct Variant {
    const char* name;
    double link;          // "Link channels", 0 .. 1
    int32_t oversampling;  // 1: off
    int32_t block;
    int32_t bypassFrom;  // the block starting at this frame switches bypass on; -1: never
};

// The bypass fade is 10 ms, 480 samples: it lies inside the block that switches it.
const Variant kVariants[] = {
    {"unlinked", 0.0, 1, kDeclaredBlock, -1},
    {"linked", 1.0, 1, kDeclaredBlock, -1},
    {"bypassed from the start", 1.0, 1, kDeclaredBlock, 0},
    {"fading into bypass", 0.0, 1, kDeclaredBlock, 4096},
    {"oversampled 4x, fading into bypass", 1.0, 4, kDeclaredBlock, 8192},
    {"blocks of 8192, oversampled 2x, fading into bypass", 0.0, 2, 8192, 8192},
};

// The left channel is loud (peaks at -4.4 dB, above the threshold), the right one quiet and
// of another pitch, so that a channel carrying its neighbour's result differs everywhere. The
// key is loud binary noise on the left only.
struct Signals {
    Signals() : left(kFrames), right(kFrames), keyLeft(kFrames), keyRight(kFrames, 0.0f) {
        uint32_t seed = 7;
        for (int32_t i = 0; i < kFrames; ++i) {
            left[i] = 0.6f * std::sin(0.031f * static_cast<float>(i));
            right[i] = 0.15f * std::sin(0.0123f * static_cast<float>(i) + 1.0f);
            seed = seed * 1664525u + 1013904223u;
            keyLeft[i] = (seed & 0x80000000u) ? 0.5f : -0.5f;
        }
    }
    std::vector<float> left, right, keyLeft, keyRight;
};

// What the host hands over as a null pointer.
struct LeftOut {
    bool leftOutput = false;
    bool rightOutput = false;
    bool rightInput = false;
    bool rightKey = false;
};

struct HostCalls {
    FaceKind kind = FaceKind::kVst2;
    bool accumulating = false;  // VST 2.4 only
    bool external = false;      // "Side-chain" on External
};

// Which buffers the host hands over for the main inputs (L, R) and the outputs.
enum class Sharing {
    kNone,              // four buffers of their own
    kOneOutput,         // outputs: one buffer for both (the left's)
    kOneOutputOnLeft,   // outputs: the left input's buffer for both
    kCrossed,           // outputs: the right input's buffer for the left, the left's for the right
    kInPlace,           // outputs: each input's own buffer, the usual pair
};

// Both outputs of the variant played through a new instance: what the buffers the host handed
// over as outputs hold afterwards (an output sharing another's buffer reads as untouched).
std::vector<std::vector<float>> Play(const HostCalls& run, const Variant& variant, const Signals& signals, LeftOut out,
                                     Sharing sharing = Sharing::kNone) {
    std::unique_ptr<Face> face = MakeFace(run.kind);
    FaceSettings settings;
    settings.sampleRate = kRate;
    settings.maxBlock = kDeclaredBlock;
    EXPECT_TRUE(face->Open(settings)) << face->Error();
    if (run.accumulating) static_cast<Vst2Face&>(*face).SetAccumulating(true);
    if (variant.oversampling > 1) {
        face->AddToState("Oversampling", std::to_string(variant.oversampling));
        EXPECT_GT(face->Latency(), 0) << variant.name;
    }
    face->Set("P1 Ratio", kRatioValue);
    face->Set("Link channels", variant.link);
    face->Set("Side-chain", run.external ? 1.0 : 0.0);
    std::vector<std::vector<float>> output(2, std::vector<float>(kFrames, kBed));
    // The host's own copies of the inputs, which an output sharing their buffers writes over.
    std::vector<float> left = signals.left;
    std::vector<float> right = signals.right;
    float* const leftBuffer = left.data();
    float* const rightBuffer = right.data();
    float* outputBuffers[2] = {output[0].data(), output[1].data()};
    if (sharing == Sharing::kOneOutput) outputBuffers[1] = outputBuffers[0];
    if (sharing == Sharing::kOneOutputOnLeft) outputBuffers[0] = outputBuffers[1] = leftBuffer;
    if (sharing == Sharing::kCrossed) {
        outputBuffers[0] = rightBuffer;
        outputBuffers[1] = leftBuffer;
    }
    if (sharing == Sharing::kInPlace) {
        outputBuffers[0] = leftBuffer;
        outputBuffers[1] = rightBuffer;
    }
    for (int32_t start = 0; start < kFrames; start += variant.block) {
        const int32_t length = std::min(variant.block, kFrames - start);
        if (start == variant.bypassFrom) face->Bypass(true);
        const auto at = [&](float* channel, bool missing) { return missing ? nullptr : channel + start; };
        float* main[2] = {at(leftBuffer, false), at(rightBuffer, out.rightInput)};
        float* key[2] = {at(const_cast<float*>(signals.keyLeft.data()), false),
                         at(const_cast<float*>(signals.keyRight.data()), out.rightKey)};
        float* outputs[2] = {at(outputBuffers[0], out.leftOutput), at(outputBuffers[1], out.rightOutput)};
        face->Process(main, key, outputs, length);
        EXPECT_EQ(main[1], at(rightBuffer, out.rightInput));
        EXPECT_EQ(outputs[0], at(outputBuffers[0], out.leftOutput));
        EXPECT_EQ(outputs[1], at(outputBuffers[1], out.rightOutput));
    }
    if (outputBuffers[0] != output[0].data()) output[0].assign(outputBuffers[0], outputBuffers[0] + kFrames);
    if (outputBuffers[1] != output[1].data() && outputBuffers[1] != outputBuffers[0])
        output[1].assign(outputBuffers[1], outputBuffers[1] + kFrames);
    return output;
}

// The first sample where the two differ, or -1.
int32_t FirstDifference(const std::vector<float>& a, const std::vector<float>& b) {
    for (int32_t i = 0; i < kFrames; ++i)
        if (a[i] != b[i]) return i;
    return -1;
}

class MissingChannels : public ::testing::TestWithParam<FaceKind> {};

TEST_P(MissingChannels, AMissingOutputLeavesTheOtherAsItIs) {
    const Signals signals;
    for (const Variant& variant : kVariants) {
        const HostCalls run{GetParam()};
        const std::vector<std::vector<float>> both = Play(run, variant, signals, {});
        // Teeth: a left output carrying the right channel's result would differ everywhere.
        ASSERT_GE(FirstDifference(both[0], both[1]), 0) << variant.name;
        if (variant.bypassFrom == 0) {
            // Bypassed before the first block and without latency: the input itself.
            EXPECT_EQ(FirstDifference(both[0], signals.left), -1) << variant.name;
        } else if (variant.bypassFrom < 0) {
            // Compressing: the left peak of 0.6 (-4.4 dB) lies 7.6 dB above the threshold, so
            // 4 : 1 takes off well over the 1 dB checked here.
            float peak = 0.0f;
            for (int32_t i = kFrames - 4096; i < kFrames; ++i) peak = std::max(peak, std::fabs(both[0][i]));
            EXPECT_LT(peak, 0.6f * 0.891f) << variant.name;
        }
        const std::vector<std::vector<float>> leftOnly = Play(run, variant, signals, {.rightOutput = true});
        EXPECT_EQ(FirstDifference(leftOnly[0], both[0]), -1) << variant.name;
        EXPECT_EQ(leftOnly[1], std::vector<float>(kFrames, kBed)) << variant.name;
        // And the mirror image: the right output plays with the left one left out.
        const std::vector<std::vector<float>> rightOnly = Play(run, variant, signals, {.leftOutput = true});
        EXPECT_EQ(FirstDifference(rightOnly[1], both[1]), -1) << variant.name;
        EXPECT_EQ(rightOnly[0], std::vector<float>(kFrames, kBed)) << variant.name;
    }
}

// A right input or right side-chain channel left out plays exactly as a silent one: neither
// output hears the left channel in its place.
TEST_P(MissingChannels, AMissingInputPlaysAsSilence) {
    const Signals signals;
    Signals silentRight;
    silentRight.right.assign(kFrames, 0.0f);
    for (const Variant& variant : {kVariants[1], kVariants[3]}) {
        const HostCalls run{GetParam()};
        const std::vector<std::vector<float>> silent = Play(run, variant, silentRight, {});
        const std::vector<std::vector<float>> leftOnly = Play(run, variant, signals, {.rightInput = true});
        EXPECT_EQ(FirstDifference(leftOnly[0], silent[0]), -1) << variant.name;
        EXPECT_EQ(FirstDifference(leftOnly[1], silent[1]), -1) << variant.name;
        // The key's right channel is silent in the signals already.
        const HostCalls keyed{GetParam(), false, true};
        const std::vector<std::vector<float>> key = Play(keyed, variant, signals, {});
        const std::vector<std::vector<float>> keyLeftOnly = Play(keyed, variant, signals, {.rightKey = true});
        EXPECT_EQ(FirstDifference(keyLeftOnly[0], key[0]), -1) << variant.name;
        EXPECT_EQ(FirstDifference(keyLeftOnly[1], key[1]), -1) << variant.name;
    }
}

// One buffer handed out for both outputs holds the left channel's result, exactly what the
// left output holds when the host hands over two: never the right's written over it, never
// the two mixed or a gain applied twice. The right channel's result goes nowhere, as it does
// when the right output is missing. The same when that buffer is the left input's.
TEST_P(MissingChannels, OneBufferForBothOutputsHoldsTheLeftChannelsResult) {
    const Signals signals;
    for (const Variant& variant : kVariants) {
        const HostCalls run{GetParam()};
        const std::vector<std::vector<float>> both = Play(run, variant, signals, {});
        ASSERT_GE(FirstDifference(both[0], both[1]), 0) << variant.name;
        const std::vector<std::vector<float>> one = Play(run, variant, signals, {}, Sharing::kOneOutput);
        EXPECT_EQ(FirstDifference(one[0], both[0]), -1) << variant.name;
        const std::vector<std::vector<float>> onLeft = Play(run, variant, signals, {}, Sharing::kOneOutputOnLeft);
        EXPECT_EQ(FirstDifference(onLeft[0], both[0]), -1) << variant.name;
    }
}

// Outputs crossed over the inputs (the left result into the right input's buffer and back)
// play what separate buffers play: each channel reads its input as it was when the call
// began, before the other channel's result was written over it. In place, the usual pair,
// too.
TEST_P(MissingChannels, OutputsWrittenOverAnotherChannelsInputPlayAsSeparateBuffersDo) {
    const Signals signals;
    for (const Variant& variant : kVariants) {
        const HostCalls run{GetParam()};
        const std::vector<std::vector<float>> both = Play(run, variant, signals, {});
        for (const Sharing sharing : {Sharing::kCrossed, Sharing::kInPlace}) {
            const std::vector<std::vector<float>> shared = Play(run, variant, signals, {}, sharing);
            EXPECT_EQ(FirstDifference(shared[0], both[0]), -1) << variant.name;
            EXPECT_EQ(FirstDifference(shared[1], both[1]), -1) << variant.name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Faces, MissingChannels, ::testing::Values(FaceKind::kVst2, FaceKind::kVst3), FaceName);

// The older VST 2.4 entry adds into the outputs: the left output is the bed plus the left
// channel's result, with the right output connected or not.
TEST(MissingChannelsVst2, AnAddingCallWithAMissingRightOutputAddsTheLeftChannelOnly) {
    const Signals signals;
    for (const Variant& variant : kVariants) {
        const std::vector<std::vector<float>> replaced = Play({FaceKind::kVst2}, variant, signals, {});
        const HostCalls adding{FaceKind::kVst2, true};
        const std::vector<std::vector<float>> added = Play(adding, variant, signals, {});
        for (int32_t i = 0; i < kFrames; ++i)
            ASSERT_NEAR(added[0][i], kBed + replaced[0][i], 1e-6) << variant.name << " sample " << i;
        const std::vector<std::vector<float>> leftOnly = Play(adding, variant, signals, {.rightOutput = true});
        EXPECT_EQ(FirstDifference(leftOnly[0], added[0]), -1) << variant.name;
    }
}

// An adding call in place (the input's buffer is also the output's) adds each channel's
// result to what the buffer held, the input: input + result, whether processing, bypassed or
// fading between them, never the result of a silenced input.
TEST(MissingChannelsVst2, AnAddingCallInPlaceAddsTheResultToTheInput) {
    const Signals signals;
    for (const Variant& variant : kVariants) {
        const std::vector<std::vector<float>> replaced = Play({FaceKind::kVst2}, variant, signals, {});
        const std::vector<std::vector<float>> added =
            Play({FaceKind::kVst2, true}, variant, signals, {}, Sharing::kInPlace);
        for (int32_t i = 0; i < kFrames; ++i) {
            ASSERT_NEAR(added[0][i], signals.left[i] + replaced[0][i], 1e-6) << variant.name << " sample " << i;
            ASSERT_NEAR(added[1][i], signals.right[i] + replaced[1][i], 1e-6) << variant.name << " sample " << i;
        }
    }
}

}  // namespace
