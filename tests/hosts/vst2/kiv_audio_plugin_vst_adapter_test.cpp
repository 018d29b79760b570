#include "hosts/vst2/kiv_audio_plugin_vst_adapter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/kiv_trace.h"
#include "plugin/kiv_kestrune_audio_effect_plugin.h"
#include "tests/hosts/vst2/fixtures/throwing_effect.h"

namespace {

// A host that answers the version question with `version` and, when told about automation,
// sets the parameter again to 0.9 as some hosts do.
struct TestHost {
    static inline intptr_t version = 2400;
    static inline int32_t automationReports = 0;

    static intptr_t Callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t, void*, float) {
        if (opcode == audioMasterVersion) return version;
        if (opcode == audioMasterAutomate) {
            ++automationReports;
            effect->setParameter(effect, index, 0.9f);
        }
        return 0;
    }
};

// Counts what reaches the diagnostic trace, to see that a planned failure really happened.
int32_t tracedTexts = 0;
void CountTrace(const KivString&) { ++tracedTexts; }

class VstAdapterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ThrowingEffect::armed = ThrowingEffect::kNone;
        adapter_ = Make();
        effect_ = adapter_->getAeffect();
    }
    void TearDown() override {
        ThrowingEffect::armed = ThrowingEffect::kNone;
        ThrowingEffect::inputBuses = 1;
        TestHost::version = 2400;
    }

    static std::unique_ptr<KivAudioPluginVSTAdapter> Make() {
        auto plugin = std::make_unique<KivKestruneAudioEffectPlugin>();
        plugin->Initialize("Test", "Kestrune", &ThrowingEffect::Interface);
        return std::make_unique<KivAudioPluginVSTAdapter>(&TestHost::Callback, std::move(plugin));
    }

    intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0) {
        return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
    }
    std::string Text(int32_t opcode) {
        char text[256];
        std::memset(text, 'x', sizeof(text));
        Dispatch(opcode, 0, 0, text);
        return text;
    }
    int32_t CanDo(const char* text) { return static_cast<int32_t>(Dispatch(effCanDo, 0, 0, const_cast<char*>(text))); }

    // One stereo block of ones through processReplacing; the first output sample.
    float ProcessOnes(int32_t frames = 64) {
        std::vector<float> in(static_cast<size_t>(frames), 1.0f), outL(static_cast<size_t>(frames), -7.0f),
            outR(static_cast<size_t>(frames), -7.0f);
        float* inputs[2] = {in.data(), in.data()};
        float* outputs[2] = {outL.data(), outR.data()};
        effect_->processReplacing(effect_, inputs, outputs, frames);
        return outL[0];
    }

    std::unique_ptr<KivAudioPluginVSTAdapter> adapter_;
    AEffect* effect_ = nullptr;
};

TEST_F(VstAdapterTest, IdentityAndFlags) {
    EXPECT_EQ(effect_->uniqueID, 0x4B416540);
    EXPECT_EQ(effect_->version, 1);
    EXPECT_EQ(effect_->numPrograms, 0);
    EXPECT_EQ(effect_->numParams, 3);  // the effect's one, "Channel mode" and "Bypass"
    EXPECT_EQ(effect_->numInputs, 2);
    EXPECT_EQ(effect_->numOutputs, 2);
    EXPECT_TRUE(effect_->flags & effFlagsCanReplacing);
    EXPECT_TRUE(effect_->flags & effFlagsProgramChunks);
    EXPECT_TRUE(effect_->flags & effFlagsHasEditor);
    EXPECT_FALSE(effect_->flags & effFlagsIsSynth);
    EXPECT_EQ(Text(effGetEffectName), "Test");
    EXPECT_EQ(Text(effGetVendorString), "Kestrune");
    EXPECT_EQ(Dispatch(effGetVendorVersion), 1);
}

TEST_F(VstAdapterTest, CanDoAnswersExactlyAsTabled) {
    for (const char* yes : {"receiveVstEvents", "receiveVstEvent", "receiveVstMidiEvents", "receiveVstMidiEvent",
                            "plugAsChannelInsert", "canMono", "plugAsSend", "receiveVstTimeInfo", "bypass"})
        EXPECT_EQ(CanDo(yes), 1) << yes;
    for (const char* no : {"sendVstEvents", "sendVstEvent", "sendVstMidiEvents", "sendVstMidiEvent"})
        EXPECT_EQ(CanDo(no), -1) << no;
    for (const char* unknown : {"Bypass", "receiveVstTimeinfo", "offline", ""}) EXPECT_EQ(CanDo(unknown), 0) << unknown;
}

TEST_F(VstAdapterTest, PinsDescribeStereoChannels) {
    VstPinProperties pin{};
    ASSERT_EQ(Dispatch(effGetInputProperties, 1, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "In R");
    EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinIsStereo);
    EXPECT_EQ(pin.arrangementType, kSpeakerArrStereo);
    ASSERT_EQ(Dispatch(effGetOutputProperties, 0, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "Out L");
    EXPECT_EQ(Dispatch(effGetOutputProperties, 2, 0, &pin), 0);
}

TEST_F(VstAdapterTest, SpeakerArrangementWiderThanDeclaredIsRefused) {
    VstSpeakerArrangement wide{};
    wide.numChannels = 4;
    VstSpeakerArrangement stereo{};
    stereo.numChannels = 2;
    EXPECT_EQ(Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&wide), &stereo), 0);
    EXPECT_EQ(Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&stereo), &stereo), 1);
}

TEST_F(VstAdapterTest, SampleRatesRoundHalfUpAndTinyOnesAreIgnored) {
    KivAudioPlugin& plugin = adapter_->GetPlugin();
    Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    Dispatch(effSetSampleRate, 0, 0, nullptr, 100.4f);
    EXPECT_EQ(plugin.GetSampleRate(), 48000);
    Dispatch(effSetSampleRate, 0, 0, nullptr, 44099.5f);
    EXPECT_EQ(plugin.GetSampleRate(), 44100);
    Dispatch(effSetSampleRate, 0, 0, nullptr, 100.5f);
    EXPECT_EQ(plugin.GetSampleRate(), 101);
}

TEST_F(VstAdapterTest, ParameterNameIsCutTo24CharactersDisplayIsNot) {
    const std::string name = Text(effGetParamName);
    EXPECT_EQ(name, std::string(ThrowingEffect::kLongName).substr(0, 24));
    const std::string display = Text(effGetParamDisplay);
    EXPECT_GT(display.size(), 24u);
    EXPECT_NE(display.find(ThrowingEffect::kLongDisplayTail), std::string::npos);
}

TEST_F(VstAdapterTest, EmptyBlocksAndMissingOutputsTouchNothing) {
    std::vector<float> in(16, 1.0f), out(16, -7.0f);
    float* inputs[2] = {in.data(), in.data()};
    float* outputs[2] = {out.data(), out.data()};
    ThrowingEffect::armed = ThrowingEffect::kProcess;  // any call into the effect would show
    adapter_->processReplacing(inputs, outputs, 0);
    adapter_->processReplacing(inputs, nullptr, 16);
    adapter_->process(inputs, outputs, 0);
    EXPECT_EQ(out, std::vector<float>(16, -7.0f));
}

TEST_F(VstAdapterTest, HostSettingParameterWhileBeingToldOfAutomationChangesNothing) {
    TestHost::automationReports = 0;
    adapter_->GetPlugin().SetParameter(0, 0.25, true);
    adapter_->SendAutomation(0, 0.25);
    EXPECT_EQ(TestHost::automationReports, 1);
    EXPECT_NEAR(effect_->getParameter(effect_, 0), 0.25f, 1e-6f);
    effect_->setParameter(effect_, 0, 0.75f);  // afterwards the host's changes count again
    EXPECT_NEAR(effect_->getParameter(effect_, 0), 0.75f, 1e-6f);
}

// Whatever the effect throws stays inside the plug-in, and the next call works normally.
TEST_F(VstAdapterTest, EffectFailuresNeverReachTheHostAndLeaveThePluginUsable) {
    ASSERT_FLOAT_EQ(ProcessOnes(), 1.0f);
    void* chunk = nullptr;
    const intptr_t size = Dispatch(effGetChunk, 0, 0, &chunk);
    ASSERT_GT(size, 0);
    std::vector<char> bytes(static_cast<char*>(chunk), static_cast<char*>(chunk) + size);
    tracedTexts = 0;
    const KivTrace::Sink previous = KivTrace::SetSink(&CountTrace);

    ThrowingEffect::armed = ThrowingEffect::kProcess;
    EXPECT_NO_THROW(ProcessOnes());
    ThrowingEffect::armed = ThrowingEffect::kParameterChanged;
    EXPECT_NO_THROW(effect_->setParameter(effect_, 0, 0.25f));
    ThrowingEffect::armed = ThrowingEffect::kDisplay;
    EXPECT_EQ(Text(effGetParamDisplay), "");
    ThrowingEffect::armed = ThrowingEffect::kLoadSettings;
    EXPECT_EQ(Dispatch(effSetChunk, 0, size, bytes.data()), 0);
    KivTrace::SetSink(previous);
    EXPECT_GE(tracedTexts, 4);  // one "SYSTEM EXCEPTION!" per failed call at least

    ThrowingEffect::armed = ThrowingEffect::kNone;
    effect_->setParameter(effect_, 0, 1.0f);  // gain 2
    EXPECT_FLOAT_EQ(ProcessOnes(), 2.0f);
    EXPECT_NE(Text(effGetParamDisplay), "");
}

TEST_F(VstAdapterTest, ChunkRestoresTheSharedSettings) {
    KivAudioPlugin& plugin = adapter_->GetPlugin();
    plugin.SetBypass(true);
    void* chunk = nullptr;
    const intptr_t size = Dispatch(effGetChunk, 0, 0, &chunk);
    ASSERT_GT(size, 0);
    const std::string text(static_cast<char*>(chunk), static_cast<size_t>(size));
    EXPECT_NE(text.find("<settings"), std::string::npos);
    plugin.SetBypass(false);
    EXPECT_EQ(Dispatch(effSetChunk, 0, size, const_cast<char*>(text.data())), 1);
    EXPECT_TRUE(plugin.IsBypassed());
}

TEST_F(VstAdapterTest, OldHostsSeeStereoGroupsAndAtMostTwoOutputs) {
    ThrowingEffect::inputBuses = 2;  // main and side-chain: four inputs
    TestHost::version = 2200;
    auto old = Make();
    EXPECT_EQ(old->getAeffect()->numInputs, 4);
    EXPECT_EQ(old->getAeffect()->numOutputs, 2);
    TestHost::version = 2400;
    auto current = Make();
    EXPECT_EQ(current->getAeffect()->numInputs, 4);
    EXPECT_EQ(current->getAeffect()->numOutputs, 2);
}

TEST_F(VstAdapterTest, EditorAnswersNoRectangleUntilTheGuiExists) {
    ERect* rect = reinterpret_cast<ERect*>(1);
    EXPECT_EQ(Dispatch(effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(rect, nullptr);
}

TEST(VstAdapterCount, CountsLiveAdaptersAndTellsThePluginItsHostType) {
    const int32_t before = KivAudioPluginVSTAdapter::LiveCount();
    {
        auto plugin = std::make_unique<KivKestruneAudioEffectPlugin>();
        plugin->Initialize("Test", "Kestrune", &ThrowingEffect::Interface);
        KivAudioPluginVSTAdapter adapter(&TestHost::Callback, std::move(plugin));
        KivAudioPluginVSTAdapter second(nullptr, std::make_unique<KivKestruneAudioEffectPlugin>());
        EXPECT_EQ(KivAudioPluginVSTAdapter::LiveCount(), before + 2);
        EXPECT_EQ(adapter.GetPlugin().GetHostType(), KivString("VST"));
        EXPECT_EQ(second.GetPlugin().GetHostType(), KivString("VST"));  // even without a host callback
    }
    EXPECT_EQ(KivAudioPluginVSTAdapter::LiveCount(), before);
}

// A core of three plain parameters that records the values the host sets.
class ThreeParameters : public KivAudioPlugin {
public:
    int32_t GetParameterCount() override { return 3; }
    void SetParameter(int32_t index, double value, bool) override { values[index] = value; }
    double GetParameter(int32_t index) override { return values[index]; }
    void Process(float**, float**, int32_t) override {}
    double values[3] = {};
};

// A host that answers the report of parameter 1 by echoing it, while the user moves
// parameter 2 and the host's automation moves parameter 1 on its audio thread.
struct AnsweringHost {
    static inline AEffect* effect = nullptr;
    static inline std::vector<int32_t> told;

    static intptr_t Callback(AEffect* from, int32_t opcode, int32_t index, intptr_t, void*, float) {
        if (opcode == audioMasterVersion) return 2400;
        if (opcode != audioMasterAutomate || !effect) return 0;
        told.push_back(index);
        from->setParameter(from, index, 0.9f);  // the echo
        from->setParameter(from, 2, 0.25f);
        std::thread audio([&] { from->setParameter(from, index, 0.75f); });
        audio.join();
        return 1;
    }
};

TEST(VstAdapterAutomation, HostChangesAreNeverDroppedWhileThePluginReportsItsOwn) {
    auto core = std::make_unique<ThreeParameters>();
    ThreeParameters* values = core.get();
    KivAudioPluginVSTAdapter adapter(&AnsweringHost::Callback, std::move(core));
    AnsweringHost::effect = adapter.getAeffect();
    AnsweringHost::told.clear();
    values->values[1] = 0.5;
    adapter.SendAutomation(1, 0.5);
    AnsweringHost::effect = nullptr;
    EXPECT_EQ(AnsweringHost::told, std::vector<int32_t>{1});
    EXPECT_EQ(values->values[2], 0.25);
    EXPECT_EQ(values->values[1], 0.75);  // the audio thread's automation, not the echo's 0.9
    adapter.setParameter(1, 0.125f);      // afterwards the host's changes count on every thread
    EXPECT_EQ(values->values[1], 0.125);
}

}  // namespace
