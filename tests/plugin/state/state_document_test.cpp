#include <gtest/gtest.h>

#include <random>

#include "base/kiv_number.h"
#include "base/stream/kiv_memory_stream.h"
#include "base/xml/kiv_xml_item.h"
#include "plugin/state/kiv_state_document.h"
#include "tests/plugin/state/state_test_support.h"

namespace {

double Gain(UnityGainPlugin& unity) { return unity.plugin.GetParameter(0); }

// Gives every slot its own gain and a few shared settings, ending on slot `live`.
void FillSlots(UnityGainPlugin& unity, const double (&gains)[8], int32_t live) {
    KivKestruneAudioEffectPlugin& plugin = unity.plugin;
    for (int32_t slot = 0; slot < 8; ++slot) {
        plugin.GetPresetSlots().Select(slot);
        plugin.OnChangePreset();
        plugin.SetParameter(0, gains[slot], true);
        plugin.SetMaxLFOBlockSize(32 + slot);
    }
    plugin.GetPresetSlots().Select(live);
    plugin.OnChangePreset();
}

// Everything a host project must get back: the live settings and every slot's gain.
TEST(StateDocumentTest, HostRoundTripRestoresEverySlotAndSetting) {
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    double gains[8];
    for (double& gain : gains) gain = unit(random);

    UnityGainPlugin saved;
    FillSlots(saved, gains, 5);
    saved.plugin.SetBypass(true);
    saved.plugin.SetChannelMode(kKivChannelModeSide);
    saved.plugin.SetAGC(true);
    const std::string chunk = SaveChunk(saved.plugin);

    UnityGainPlugin restored;
    ASSERT_TRUE(LoadChunk(restored.plugin, chunk));
    KivKestruneAudioEffectPlugin& plugin = restored.plugin;
    EXPECT_EQ(plugin.GetPresetSlots().GetCurrent(), 5);
    EXPECT_EQ(plugin.GetPresetSlots().GetSelected(), 5);
    EXPECT_TRUE(plugin.IsBypassed());
    EXPECT_EQ(plugin.GetChannelMode(), kKivChannelModeSide);
    EXPECT_TRUE(plugin.IsAGCOn());
    EXPECT_EQ(plugin.GetPendingInterpolationThreshold(), 37);
    for (int32_t slot = 0; slot < 8; ++slot) {
        plugin.GetPresetSlots().Select(slot);
        plugin.OnChangePreset();
        EXPECT_TRUE(SameTo12Digits(Gain(restored), gains[slot])) << "slot " << slot;
        EXPECT_EQ(plugin.GetPendingInterpolationThreshold(), 32 + slot) << "slot " << slot;
    }
}

TEST(StateDocumentTest, DocumentHoldsTheLiveSlotInTheRootAndTheOthersAsChildren) {
    UnityGainPlugin unity;
    unity.plugin.SetParameter(0, 0.25, true);
    unity.plugin.GetPresetSlots().Select(1);
    unity.plugin.OnChangePreset();
    unity.plugin.SetParameter(0, 0.75, true);
    const std::string chunk = SaveChunk(unity.plugin);
    EXPECT_EQ(chunk.find("<?xml"), 0u);
    KivXMLItem root;
    KivMemoryStream stream(KivByteBuffer::Copy(chunk.data(), static_cast<int32_t>(chunk.size())));
    root.Load(stream);
    EXPECT_EQ(root.GetName().ToUTF8(), "settings");
    EXPECT_EQ(root.GetAttribute("parametergain").ToUTF8(), "0.75");
    EXPECT_EQ(root.GetAttribute("PresetIndex").ToUTF8(), "1");
    EXPECT_EQ(root.GetAttribute("AGC").ToUTF8(), "0");
    EXPECT_FALSE(root.HasSubItem("Preset1"));
    EXPECT_EQ(root.GetSubItem("Preset0").GetAttribute("parametergain").ToUTF8(), "0.25");
    for (const char* other : {"Preset2", "Preset3", "Preset4", "Preset5", "Preset6", "Preset7"}) {
        EXPECT_TRUE(root.HasSubItem(other)) << other;
    }
}

TEST(StateDocumentTest, EmptyRootLeavesParametersAndDefaultsTheSharedSettings) {
    UnityGainPlugin unity;
    unity.plugin.SetParameter(0, 0.3, true);
    unity.plugin.SetBypass(true);
    unity.plugin.SetMaxLFOBlockSize(64);
    ASSERT_TRUE(LoadChunk(unity.plugin, "<settings/>"));
    EXPECT_DOUBLE_EQ(Gain(unity), 0.3);
    EXPECT_FALSE(unity.plugin.IsBypassed());
    EXPECT_EQ(unity.plugin.GetPendingInterpolationThreshold(), 256);
    EXPECT_EQ(unity.plugin.GetSettingsVersion(), 328448u);
}

TEST(StateDocumentTest, ChunkOfSlotBMakesBLiveAndFillsTheOtherSlots) {
    UnityGainPlugin source;
    const double gains[8] = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8};
    FillSlots(source, gains, 1);
    UnityGainPlugin target;
    ASSERT_EQ(target.plugin.GetPresetSlots().GetCurrent(), 0);
    ASSERT_TRUE(LoadChunk(target.plugin, SaveChunk(source.plugin)));
    EXPECT_EQ(target.plugin.GetPresetSlots().GetCurrent(), 1);
    EXPECT_DOUBLE_EQ(Gain(target), 0.2);
    for (int32_t slot : {0, 2, 7}) {
        KivXMLItem& item = target.plugin.GetPresetSlots().Item(slot);
        EXPECT_DOUBLE_EQ(KivNumber::TextToDouble(item.GetAttribute("parametergain")), gains[slot]);
    }
}

// A document that does not parse, in whole or in part, must change nothing at all.
class BrokenDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        const double gains[8] = {0.9, 0.8, 0.7, 0.6, 0.5, 0.4, 0.3, 0.2};
        FillSlots(other_, gains, 6);
        other_.plugin.SetBypass(true);
        document_ = SaveChunk(other_.plugin);
        live_.plugin.SetParameter(0, 0.125, true);
        live_.plugin.SetMaxLFOBlockSize(100);
        before_ = SaveChunk(live_.plugin);
    }
    void ExpectUnchanged(const char* what, size_t detail) {
        ASSERT_EQ(SaveChunk(live_.plugin), before_) << what << " " << detail;
    }

    UnityGainPlugin other_;
    UnityGainPlugin live_;
    std::string document_;
    std::string before_;
};

TEST_F(BrokenDocumentTest, TruncatedAtEveryLengthChangesNothing) {
    // Only a cut inside the trailing white space leaves the document whole.
    const size_t complete = document_.find_last_not_of(" \r\n\t") + 1;
    for (size_t length = 0; length < complete; ++length) {
        EXPECT_FALSE(LoadChunk(live_.plugin, document_.substr(0, length))) << length;
        ExpectUnchanged("truncated at", length);
    }
}

TEST_F(BrokenDocumentTest, RandomBytesAndDamagedMarkupChangeNothing) {
    std::mt19937 random(7);
    for (size_t round = 0; round < 200; ++round) {
        std::string bytes(1 + random() % 300, '\0');
        for (char& byte : bytes) byte = static_cast<char>(random());
        LoadChunk(live_.plugin, bytes);
        ExpectUnchanged("random round", round);
    }
    for (const char* damaged : {"<settings parametergain=\"0.5\">", "<settings parametergain=\"0.5\"><Preset1/>",
                                "<settings><Preset1></settings>", "not xml at all", ""}) {
        EXPECT_FALSE(LoadChunk(live_.plugin, damaged)) << damaged;
        ExpectUnchanged("damaged", 0);
    }
}

// A load that fails half-way (here the effect refuses its settings) puts everything back.
TEST_F(BrokenDocumentTest, LoadFailingInsideTheEffectRestoresTheSettingsFromBefore) {
    struct RefusingEffect : UnityGainEffect {
        bool LoadSettings(KivXMLItem& item) override {
            UnityGainEffect::LoadSettings(item);
            return !refuse;
        }
        bool refuse = false;
    };
    struct RefusingPlugin {
        static intptr_t Interface(void* object, int32_t message, void* argument) {
            return KivDispatchEffectMessage<RefusingEffect>("RefusingEffect", object, message, argument);
        }
    };
    KivKestruneAudioEffectPlugin plugin;
    plugin.Initialize("Refusing", "Kestrune", &RefusingPlugin::Interface);
    plugin.SetParameter(0, 0.125, true);
    const std::string before = SaveChunk(plugin);
    static_cast<RefusingEffect*>(plugin.GetEffect())->refuse = true;
    EXPECT_FALSE(LoadChunk(plugin, document_));
    static_cast<RefusingEffect*>(plugin.GetEffect())->refuse = false;
    EXPECT_EQ(SaveChunk(plugin), before);
    EXPECT_DOUBLE_EQ(plugin.GetParameter(0), 0.125);
}

}  // namespace
