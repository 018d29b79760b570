// Oversampling as a host meets it in the built TandrelMini file (VST 2.4 face): the setting
// travels in the state ("Oversampling", absent when off), the latency the host is told is the
// delay an impulse really takes at every factor, with and without look-ahead, blocks longer
// than declared with an output missing play safely, and a state without the setting plays as
// before: the input unchanged, sample for sample.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "base/kiv_byte_buffer.h"
#include "base/stream/kiv_memory_stream.h"
#include "base/xml/kiv_xml_item.h"
#include "plugin/state/kiv_complete_document.h"
#include "tests/support/kiv_state_bytes.h"
#include "tools/render/kiv_parameter_lookup.h"
#include "tools/vst2host/kiv_vst2_plugin.h"

namespace {

constexpr int32_t kRate = 48000;
constexpr int32_t kFrames = 16384;
constexpr int32_t kImpulseAt = 1000;
// Far below every threshold: the dynamics leave it alone, only the delay shows.
constexpr float kImpulse = 0.001f;

using KivStateBytes::Bytes;
using KivStateBytes::Parse;

// The chunk with "Oversampling" set to `factor`, or without it for 0.
std::vector<uint8_t> WithOversampling(const std::vector<uint8_t>& chunk, int32_t factor) {
    KivXMLItem root;
    Parse(chunk, root);
    if (factor > 0) root.SetAttribute(KivString("Oversampling"), KivString::FromUTF8(std::to_string(factor)));
    else root.RemoveAttribute(KivString("Oversampling"));
    return Bytes(root);
}

std::string OversamplingOf(const std::vector<uint8_t>& chunk) {
    KivXMLItem root;
    Parse(chunk, root);
    return root.HasAttribute(KivString("Oversampling")) ? root.GetAttribute().ToUTF8() : std::string("(absent)");
}

struct Instance {
    Instance() {
        KivVst2HostSettings settings;
        settings.sampleRate = kRate;
        settings.blockSize = 512;
        loaded = plugin.Load(KIV_TANDREL_MINI_PATH, settings);
        if (loaded) plugin.Open();
    }
    // Left: the impulse; right: silence. Returns both outputs.
    std::vector<std::vector<float>> PlayImpulse() {
        std::vector<std::vector<float>> input(static_cast<size_t>(std::max(2, plugin.NumInputs())),
                                              std::vector<float>(kFrames, 0.0f));
        input[0][kImpulseAt] = kImpulse;
        std::vector<std::vector<float>> output;
        plugin.ProcessInBlocks(input, output, kFrames);
        return output;
    }
    KivVst2Plugin plugin;
    bool loaded = false;
};

int32_t PeakAt(const std::vector<float>& signal) {
    int32_t peak = 0;
    for (int32_t i = 1; i < static_cast<int32_t>(signal.size()); ++i)
        if (std::fabs(signal[i]) > std::fabs(signal[peak])) peak = i;
    return peak;
}

TEST(TandrelMiniOversampling, ReportedLatencyIsTheImpulsesDelayAtEveryFactor) {
    for (const char* lookAhead : {"Disabled", "5 ms"}) {
        for (int32_t factor : {1, 2, 4, 8}) {
            Instance instance;
            ASSERT_TRUE(instance.loaded) << instance.plugin.ErrorText();
            KivVst2Plugin& plugin = instance.plugin;
            KivParameterLookup::ValueForDisplay(plugin, KivParameterLookup::FindIndex(plugin, "Look-ahead"), lookAhead);
            ASSERT_TRUE(plugin.SetChunk(WithOversampling(plugin.GetChunk(), factor)));
            const std::string where = std::string(lookAhead) + ", factor " + std::to_string(factor);
            EXPECT_EQ(OversamplingOf(plugin.GetChunk()), factor > 1 ? std::to_string(factor) : "(absent)") << where;

            const std::vector<std::vector<float>> output = instance.PlayImpulse();
            const int32_t delay = PeakAt(output[0]) - kImpulseAt;
            EXPECT_EQ(plugin.Latency(), delay) << where;
            // The impulse comes through whole enough to be found: the resamplers' filters
            // spread it over a few samples at most.
            EXPECT_GT(std::fabs(output[0][static_cast<size_t>(kImpulseAt + delay)]), 0.5f * kImpulse) << where;
            // Look-ahead of 5 ms is 240 samples at 48 kHz whatever the factor.
            if (std::string(lookAhead) != "Disabled") {
                EXPECT_GE(delay, 240) << where;
            }
            if (factor == 1) {
                EXPECT_EQ(delay, std::string(lookAhead) == "Disabled" ? 0 : 240) << where;
            } else {
                EXPECT_GT(plugin.Host().IoChangedCount(), 0) << where;
            }
        }
    }
}

// A host that declared 512-frame blocks sends 8192 and then 20000 frames at once and leaves
// the right output unconnected (a null pointer), at every factor: the impulse arrives at the
// reported latency, and once bypassed (the fade is 10 ms, 480 samples) the output is the
// input delayed by that latency, exactly. Run under AddressSanitizer this shows that no
// buffer the oversampled path or the bypass points into is shorter than the block.
TEST(TandrelMiniOversampling, BlocksLongerThanDeclaredWithAMissingOutput) {
    for (int32_t factor : {2, 4, 8}) {
        Instance instance;
        ASSERT_TRUE(instance.loaded) << instance.plugin.ErrorText();
        KivVst2Plugin& plugin = instance.plugin;
        ASSERT_TRUE(plugin.SetChunk(WithOversampling(plugin.GetChunk(), factor)));
        const int32_t latency = plugin.Latency();
        ASSERT_GT(latency, 0) << factor;
        const auto play = [&](int32_t frames, int32_t impulseAt) {
            std::vector<std::vector<float>> input(static_cast<size_t>(std::max(2, plugin.NumInputs())),
                                                  std::vector<float>(static_cast<size_t>(frames), 0.0f));
            // The same impulse on both sides.
            input[0][static_cast<size_t>(impulseAt)] = kImpulse;
            input[1][static_cast<size_t>(impulseAt)] = kImpulse;
            std::vector<float*> inputs;
            for (auto& channel : input) inputs.push_back(channel.data());
            std::vector<float> left(static_cast<size_t>(frames), 1.0f);
            float* outputs[2] = {left.data(), nullptr};
            plugin.ProcessReplacing(inputs.data(), outputs, frames);
            return left;
        };
        const std::vector<float> processed = play(8192, kImpulseAt);
        EXPECT_EQ(PeakAt(processed) - kImpulseAt, latency) << factor;

        plugin.SetParameter(plugin.NumParams() - 1, 1.0f);  // "Bypass"
        const std::vector<float> bypassed = play(20000, 5000);
        for (int32_t i = 480; i < 20000; ++i)
            ASSERT_EQ(bypassed[static_cast<size_t>(i)], i == 5000 + latency ? kImpulse : 0.0f) << factor << " sample " << i;
    }
}

// A project saved before oversampling existed plays as it did: no delay, and the impulse
// comes out exactly as it went in. A stored factor that is not one of 2, 4 or 8 is off too.
TEST(TandrelMiniOversampling, AbsentOrUnknownSettingIsOff) {
    for (const char* stored : {"", "3", "junk"}) {
        Instance instance;
        ASSERT_TRUE(instance.loaded);
        KivXMLItem root;
        Parse(instance.plugin.GetChunk(), root);
        if (*stored) root.SetAttribute(KivString("Oversampling"), KivString(stored));
        ASSERT_TRUE(instance.plugin.SetChunk(Bytes(root)));
        EXPECT_EQ(instance.plugin.Latency(), 0) << stored;
        EXPECT_EQ(OversamplingOf(instance.plugin.GetChunk()), "(absent)") << stored;
        const std::vector<std::vector<float>> output = instance.PlayImpulse();
        for (int32_t i = 0; i < kFrames; ++i) {
            ASSERT_EQ(output[0][i], i == kImpulseAt ? kImpulse : 0.0f) << stored << " sample " << i;
            ASSERT_EQ(output[1][i], 0.0f) << stored << " sample " << i;
        }
    }
}

}  // namespace
