// The host library and the effect bases end to end: our gain fixture is loaded from its
// module file through its exported entry and driven like a host drives a plug-in.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "tests/hosts/vst2/fixtures/gain_plugin_hooks.h"
#include "tools/vst2host/kiv_vst2_plugin.h"

namespace {

using namespace GainPluginHooks;

std::vector<float> Sine(int64_t frames, double frequency, double sampleRate) {
    std::vector<float> samples(static_cast<size_t>(frames));
    const double step = 2.0 * std::numbers::pi * frequency / sampleRate;
    for (int64_t i = 0; i < frames; ++i) samples[static_cast<size_t>(i)] = static_cast<float>(0.8 * std::sin(step * i));
    return samples;
}

class GainPluginHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        KivVst2HostSettings settings;
        settings.sampleRate = 48000.0;
        settings.blockSize = 512;
        ASSERT_TRUE(plugin_.Load(KIV_TEST_GAIN_PLUGIN_PATH, settings)) << plugin_.ErrorText();
        plugin_.Open();
    }
    intptr_t Hook(Request request, float argument = 0.0f, void* ptr = nullptr) {
        return plugin_.Dispatch(effVendorSpecific, kHookIndex, request, ptr, argument);
    }
    void ArmFaults(int32_t faults) { Hook(kArmFaults, static_cast<float>(faults)); }

    KivVst2Plugin plugin_;
};

}  // namespace

TEST_F(GainPluginHostTest, IdentityComesThroughTheRecordAndTheDispatcher) {
    EXPECT_TRUE(plugin_.IsOpen());
    EXPECT_EQ(plugin_.EffectName(), "Kiv Test Gain");
    EXPECT_EQ(plugin_.VendorString(), "Kestrune");
    EXPECT_EQ(plugin_.ProductString(), "Kiv Test Gain");
    EXPECT_EQ(plugin_.VendorVersion(), 1);
    EXPECT_EQ(plugin_.VstVersion(), 2400);
    EXPECT_EQ(plugin_.Category(), kPlugCategEffect);
    EXPECT_EQ(plugin_.UniqueId(), VstFourCharCode('K', 'v', 'T', 'g'));
    EXPECT_EQ(plugin_.NumParams(), 1);
    EXPECT_EQ(plugin_.NumInputs(), 2);
    EXPECT_EQ(plugin_.NumOutputs(), 2);
    EXPECT_EQ(plugin_.Flags(), effFlagsCanReplacing | effFlagsProgramChunks);
    EXPECT_EQ(plugin_.CanDo("receiveVstTimeInfo"), 1);
    EXPECT_EQ(plugin_.CanDo("bypass"), -1);
    EXPECT_EQ(plugin_.CanDo("Bypass"), 0);
    VstPinProperties pin{};
    EXPECT_EQ(plugin_.Dispatch(effGetOutputProperties, 1, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "Out R");
    EXPECT_EQ(pin.arrangementType, kSpeakerArrStereo);
    EXPECT_EQ(plugin_.Dispatch(effGetInputProperties, 2, 0, &pin), 0);
}

TEST_F(GainPluginHostTest, ParametersShowNamesDisplaysAndLabels) {
    EXPECT_EQ(plugin_.ParameterName(0), "Gain");
    EXPECT_EQ(plugin_.ParameterLabel(0), "dB");
    EXPECT_FLOAT_EQ(plugin_.GetParameter(0), 0.5f);
    EXPECT_EQ(plugin_.ParameterDisplay(0), "0.00");
    plugin_.SetParameter(0, 0.25f);
    EXPECT_FLOAT_EQ(plugin_.GetParameter(0), 0.25f);
    EXPECT_EQ(plugin_.ParameterDisplay(0), "-6.02");
    plugin_.SetParameter(0, 0.0f);
    EXPECT_EQ(plugin_.ParameterDisplay(0), "-inf");
}

TEST_F(GainPluginHostTest, ProcessesASineInHostBlocks) {
    const int64_t frames = 4000;  // not a whole number of blocks
    const std::vector<std::vector<float>> input{Sine(frames, 1000.0, 48000.0), Sine(frames, 250.0, 48000.0)};
    std::vector<std::vector<float>> output;
    plugin_.SetParameter(0, 0.25f);  // factor 0.5
    plugin_.ProcessInBlocks(input, output, frames);
    ASSERT_EQ(output.size(), 2u);
    for (size_t c = 0; c < 2; ++c) {
        ASSERT_EQ(output[c].size(), static_cast<size_t>(frames));
        for (int64_t i = 0; i < frames; ++i) ASSERT_NEAR(output[c][i], 0.5f * input[c][i], 1e-6f) << c << ":" << i;
    }
    EXPECT_DOUBLE_EQ(plugin_.Host().transport.samplePosition, 4000.0);
}

TEST_F(GainPluginHostTest, ChunkRoundTripRestoresTheState) {
    plugin_.SetParameter(0, 0.8f);
    const std::vector<uint8_t> chunk = plugin_.GetChunk();
    EXPECT_EQ(chunk.size(), 8u);
    plugin_.SetParameter(0, 0.1f);
    EXPECT_TRUE(plugin_.SetChunk(chunk));
    EXPECT_FLOAT_EQ(plugin_.GetParameter(0), 0.8f);
    // A malformed chunk is refused inside the plug-in and changes nothing.
    EXPECT_FALSE(plugin_.SetChunk({1, 2, 3}));
    std::vector<uint8_t> wrongMagic = chunk;
    wrongMagic[0] ^= 0xFF;
    EXPECT_FALSE(plugin_.SetChunk(wrongMagic));
    EXPECT_FLOAT_EQ(plugin_.GetParameter(0), 0.8f);
}

TEST_F(GainPluginHostTest, FailuresInsideThePlugInStayInside) {
    for (int32_t kind : {0, static_cast<int32_t>(kFaultAsKivException)}) {
        SCOPED_TRACE(kind);
        plugin_.SetParameter(0, 0.5f);
        const std::vector<uint8_t> chunk = plugin_.GetChunk();
        ArmFaults(kind | kFaultProcessReplacing | kFaultSetParameter | kFaultGetParameterDisplay | kFaultSetChunk |
                  kFaultGetParameter | kFaultGetEffectName);
        std::vector<std::vector<float>> output;
        plugin_.ProcessInBlocks({Sine(600, 440.0, 48000.0), Sine(600, 440.0, 48000.0)}, output, 600);
        EXPECT_EQ(output[0][100], 0.0f);  // the failed block produced nothing
        plugin_.SetParameter(0, 0.9f);
        EXPECT_EQ(plugin_.GetParameter(0), 0.0f);
        EXPECT_EQ(plugin_.ParameterDisplay(0), "");  // not the half-written text
        EXPECT_EQ(plugin_.EffectName(), "");
        EXPECT_FALSE(plugin_.SetChunk(chunk));
        ArmFaults(0);
        EXPECT_FLOAT_EQ(plugin_.GetParameter(0), 0.5f);  // the failed setParameter changed nothing
    }
}

TEST_F(GainPluginHostTest, UnknownOpcodesAndEmptyBlocksAreHarmless) {
    EXPECT_EQ(plugin_.Dispatch(4711, 1, 2, nullptr, 3.0f), 0);
    EXPECT_EQ(plugin_.Dispatch(-5), 0);
    EXPECT_EQ(plugin_.Dispatch(effVendorSpecific, 0, kArmFaults), 0);  // not our hook index
    float samples[8] = {};
    float* channels[] = {samples, samples};
    plugin_.ProcessReplacing(channels, channels, 0);
    plugin_.ProcessReplacing(channels, nullptr, 8);
    plugin_.ProcessReplacing(nullptr, nullptr, 0);
    EXPECT_EQ(plugin_.EffectName(), "Kiv Test Gain");
}

TEST_F(GainPluginHostTest, HostAnswersAndRecordsThePlugInsCalls) {
    EXPECT_EQ(Hook(kMasterVersion), 2400);
    char timeInfo[] = "sendVstTimeInfo";
    char sizeWindow[] = "sizeWindow";
    EXPECT_EQ(Hook(kHostCanDo, 0.0f, timeInfo), 1);
    EXPECT_EQ(Hook(kHostCanDo, 0.0f, sizeWindow), 0);
    plugin_.Host().transport.tempo = 98.5;
    EXPECT_EQ(Hook(kHostTempo), 98500);

    Hook(kAutomate, 0.625f);
    const auto& reports = plugin_.Host().AutomationReports();
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0].kind, KivVst2AutomationReport::kBeginEdit);
    EXPECT_EQ(reports[1].kind, KivVst2AutomationReport::kValue);
    EXPECT_EQ(reports[1].index, 0);
    EXPECT_FLOAT_EQ(reports[1].value, 0.625f);
    EXPECT_EQ(reports[2].kind, KivVst2AutomationReport::kEndEdit);
    EXPECT_FLOAT_EQ(plugin_.GetParameter(0), 0.625f);

    EXPECT_EQ(plugin_.Latency(), 0);
    Hook(kReportLatency, 64.0f);
    EXPECT_EQ(plugin_.Latency(), 64);
    EXPECT_EQ(plugin_.Host().IoChangedCount(), 1);
}

TEST_F(GainPluginHostTest, MidiGoesInAndComesBack) {
    std::vector<KivVst2MidiMessage> notes(3);
    for (int i = 0; i < 3; ++i) notes[i] = {i * 10, {0x90, static_cast<uint8_t>(60 + i), 100}};
    EXPECT_EQ(plugin_.ProcessEvents(notes), 1);
    EXPECT_EQ(Hook(kReceivedMidiCount), 3);
    std::vector<std::vector<float>> output;
    plugin_.ProcessInBlocks({}, output, 64);  // the fixture echoes with its next block
    const auto& received = plugin_.Host().ReceivedMidi();
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[2].deltaFrames, 20);
    EXPECT_EQ(received[2].bytes[0], 0x90);
    EXPECT_EQ(received[2].bytes[1], 62);
    EXPECT_EQ(received[2].bytes[2], 100);
}

TEST(Vst2PluginLoading, FailuresSayWhatWentWrong) {
    KivVst2Plugin plugin;
    EXPECT_FALSE(plugin.Load("/nonexistent/folder/none.so"));
    EXPECT_NE(plugin.ErrorText().find("/nonexistent/folder/none.so"), std::string::npos) << plugin.ErrorText();
    EXPECT_FALSE(plugin.IsLoaded());
    EXPECT_EQ(plugin.NumParams(), 0);
    EXPECT_EQ(plugin.Dispatch(effGetVendorVersion), 0);
    plugin.Close();  // nothing to close
}

TEST(Vst2PluginLoading, OldEntryNameCreatesAWorkingInstance) {
    KivPlatform::DynamicLibrary library;
    ASSERT_TRUE(library.Load(std::string_view(KIV_TEST_GAIN_PLUGIN_PATH))) << library.ErrorText();
    auto entry = reinterpret_cast<VstPluginMainProc>(library.Symbol("main"));
    ASSERT_NE(entry, nullptr) << library.ErrorText();
    AEffect* effect = entry(&KivVst2HostContext::Callback);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->magic, kEffectMagic);
    EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_EQ(library.Symbol("NoSuchEntry"), nullptr);
    EXPECT_NE(library.ErrorText().find("NoSuchEntry"), std::string::npos);
}

TEST(Vst2PluginLoading, Utf16PathsLoadToo) {
    const std::string path = KIV_TEST_GAIN_PLUGIN_PATH;
    KivPlatform::DynamicLibrary library;
    ASSERT_TRUE(library.Load(std::u16string(path.begin(), path.end()))) << library.ErrorText();
    EXPECT_NE(library.Symbol("VSTPluginMain"), nullptr);
    library.Unload();
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_EQ(library.Symbol("VSTPluginMain"), nullptr);
    EXPECT_FALSE(library.ErrorText().empty());
}

TEST(Vst2PluginLoading, ReloadAfterCloseGivesAFreshInstance) {
    KivVst2Plugin plugin;
    ASSERT_TRUE(plugin.Load(KIV_TEST_GAIN_PLUGIN_PATH));
    plugin.SetParameter(0, 0.9f);
    plugin.Close();
    EXPECT_FALSE(plugin.IsLoaded());
    ASSERT_TRUE(plugin.Load(KIV_TEST_GAIN_PLUGIN_PATH));
    EXPECT_FLOAT_EQ(plugin.GetParameter(0), 0.5f);
}
