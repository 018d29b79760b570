#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/plugin/fixtures/unity_gain_effect.h"
#include "tests/support/kiv_test_print.h"

namespace {

constexpr int32_t kDeclaredBlock = 64;

double Tone(int32_t i) { return 0.5 * std::sin(0.01 * i); }

struct LongBlockCase {
    int32_t factor;
    int32_t connectedOutputs;  // 1: the host says the second output is not connected
    bool replacing;
};

class OversampledLongBlockTest : public ::testing::TestWithParam<LongBlockCase> {};

// Blocks far longer than the declared maximum, with the second output absent (a null pointer
// or declared unconnected): every buffer the block points at must be grown before a pointer
// into it is taken. Under AddressSanitizer a stale pointer fails here; in any build the
// connected output must still be the tone, delayed by the reported latency.
TEST_P(OversampledLongBlockTest, LongerBlocksThanDeclaredKeepTheSignal) {
    const LongBlockCase c = GetParam();
    UnityGainPlugin unity(0, kDeclaredBlock);
    unity.plugin.SetOversampling(c.factor);
    unity.plugin.SetConnectedChannels(2, c.connectedOutputs);
    unity.plugin.InitProcessing();
    const int32_t latency = unity.plugin.GetLatency();
    std::vector<float> played;
    int32_t position = 0;
    for (int32_t length : {kDeclaredBlock, 1000, 4096, 333, 8192, 17}) {
        std::vector<float> left(length), right(length), out(length, 0.0f);
        for (int32_t i = 0; i < length; ++i) left[i] = right[i] = static_cast<float>(Tone(position + i));
        float* inputs[2] = {left.data(), right.data()};
        float* outputs[2] = {out.data(), nullptr};
        unity.plugin.ProcessAudio(inputs, outputs, length, c.replacing);
        played.insert(played.end(), out.begin(), out.end());
        position += length;
    }
    for (int32_t i = 4 * latency + 64; i < position; ++i)
        ASSERT_NEAR(played[i], Tone(i - latency), 2e-3) << "sample " << i;
}

INSTANTIATE_TEST_SUITE_P(Factors, OversampledLongBlockTest,
                         ::testing::Values(LongBlockCase{2, 2, true}, LongBlockCase{4, 1, true},
                                           LongBlockCase{8, 1, true}, LongBlockCase{8, 1, false},
                                           LongBlockCase{1, 1, true}));

}  // namespace
