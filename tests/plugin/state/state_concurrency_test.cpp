#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "tests/plugin/state/state_test_support.h"

namespace {

// Two float parameters that every document sets to the same value: a block that sees them
// differ ran with half-loaded settings.
class PairEffect : public KivAudioEffectPlugin {
public:
    PairEffect() {
        for (int32_t index = 0; index < 2; ++index) {
            KivEffectParameter& record = records_[index];
            record.flags = KivEffectParameter::kDeclared;
            record.type = kKivParameterTypeFloat;
            record.identifier = index == 0 ? "first" : "second";
            record.values.asFloat = {0.0, 1.0, 0.0, 0.0, 0.0, 0.0, kKivParameterCurveLinear};
        }
        KivEffectParameterTable table;
        table.records = records_;
        table.recordCount = 2;
        DeclareParameters(table);
    }
    void Process(const KivProcessingContext&, float**, float**, int32_t) override {
        if (records_[0].values.asFloat.value != records_[1].values.asFloat.value) mismatches.fetch_add(1);
        blocks.fetch_add(1);
    }
    static intptr_t Interface(void* object, int32_t message, void* argument) {
        return KivDispatchEffectMessage<PairEffect>("PairEffect", object, message, argument);
    }

    std::atomic<int32_t> mismatches{0};
    std::atomic<int32_t> blocks{0};

private:
    KivEffectParameter records_[2];
};

TEST(StateConcurrencyTest, NoBlockRunsWithHalfLoadedSettings) {
    KivKestruneAudioEffectPlugin plugin;
    plugin.Initialize("Pair", "Kestrune", &PairEffect::Interface);
    plugin.SetHostChannels(2, 2);
    plugin.SetConnectedChannels(2, 2);
    plugin.SetMaxBlockSize(64);
    plugin.InitProcessing();
    auto& effect = *static_cast<PairEffect*>(plugin.GetEffect());

    const std::string documents[2] = {
        "<settings parameterfirst=\"0.25\" parametersecond=\"0.25\"/>",
        "<settings parameterfirst=\"0.75\" parametersecond=\"0.75\"/>"};
    std::atomic<bool> loading{true};
    std::thread audio([&] {
        std::vector<float> left(64, 0.5f), right(64, 0.5f), outLeft(64), outRight(64);
        float* inputs[2] = {left.data(), right.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        while (loading.load()) plugin.ProcessAudio(inputs, outputs, 64, true);
    });
    for (int32_t round = 0; round < 400; ++round) ASSERT_TRUE(LoadChunk(plugin, documents[round % 2]));
    loading.store(false);
    audio.join();
    EXPECT_GT(effect.blocks.load(), 0);
    EXPECT_EQ(effect.mismatches.load(), 0);
}

}  // namespace
