#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "plugin/state/kiv_complete_document.h"
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
    // On a busy machine the audio thread may not start before the loads are over.
    while (effect.blocks.load() == 0) std::this_thread::yield();
    for (int32_t round = 0; round < 400; ++round) ASSERT_TRUE(LoadChunk(plugin, documents[round % 2]));
    loading.store(false);
    audio.join();
    EXPECT_GT(effect.blocks.load(), 0);
    EXPECT_EQ(effect.mismatches.load(), 0);
}

// Slot i's gain in the test below: distinct and exact in twelve digits.
double SlotGain(int32_t slot) { return 0.0625 * (slot + 1); }

double GainIn(const KivXMLItem& item) { return KivNumber::TextToDouble(item.GetAttribute(KivString("parametergain"))); }

// A host saving its project while a program change switches slots on the plug-in's own thread:
// every document must hold each slot's settings exactly once, the live one in the root.
TEST(StateConcurrencyTest, ChunksTakenWhileSlotsSwitchAreWhole) {
    UnityGainPlugin unity;
    KivKestruneAudioEffectPlugin& plugin = unity.plugin;
    for (int32_t slot = 0; slot < 8; ++slot) {
        plugin.GetPresetSlots().Select(slot);
        plugin.OnChangePreset();
        plugin.SetParameter(0, SlotGain(slot), true);
    }
    std::atomic<bool> switching{true};
    std::thread programChanges([&] {
        for (int32_t round = 0; switching.load(); ++round) plugin.SelectPresetByProgram(round * 3);
    });
    int32_t wrong = 0;
#if defined(__SANITIZE_THREAD__)
    // Under ThreadSanitizer every round costs about a hundred times more (2000 rounds would
    // take half a minute on two cores); 200 rounds still meet many switches in flight.
    constexpr int32_t kRounds = 200;
#else
    constexpr int32_t kRounds = 2000;
#endif
    for (int32_t round = 0; round < kRounds; ++round) {
        const std::string chunk = SaveChunk(plugin);
        KivXMLItem root;
        KivReadCompleteDocument(chunk.data(), static_cast<int32_t>(chunk.size()), root);
        const auto live = static_cast<int32_t>(KivNumber::TextToInteger(root.GetAttribute(KivString("PresetIndex"))));
        bool whole = std::fabs(GainIn(root) - SlotGain(live)) < 1e-9;
        for (int32_t slot = 0; slot < 8; ++slot) {
            if (slot == live) continue;
            const KivString name = KivString("Preset") + KivNumber::IntegerToText(slot);
            whole = whole && root.HasSubItem(name) && std::fabs(GainIn(root.GetSubItem()) - SlotGain(slot)) < 1e-9;
        }
        if (!whole) ++wrong;
    }
    switching.store(false);
    programChanges.join();
    EXPECT_EQ(wrong, 0);
}

}  // namespace
