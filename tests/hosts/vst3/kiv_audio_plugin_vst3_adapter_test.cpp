// The adapter around a recording plug-in core: how host calls reach the core, and how the
// core's own changes reach the host exactly once.
#include "hosts/vst3/kiv_audio_plugin_vst3_adapter.h"

#include <gtest/gtest.h>

#include "hosts/vst3/kiv_audio_plugin_vst3_editor.h"
#include "tests/hosts/vst3/vst3_test_host.h"

using namespace Vst3TestHost;

namespace {

constexpr int32_t kParameterCount = 3;

struct Call {
    std::string what;
    int32_t index;
    double value;
    bool operator==(const Call& other) const { return what == other.what && index == other.index && value == other.value; }
};

// A core without parameter objects that records what the adapter asks of it.
class RecordingPlugin : public KivAudioPlugin {
public:
    int32_t GetParameterCount() override { return kParameterCount; }
    void SetParameter(int32_t index, double value, bool) override { Record("set", index, value); }
    void SetParameterIfChanged(int32_t index, double value, bool) override { Record("ifChanged", index, value); }
    double GetParameter(int32_t index) override { return values[index]; }
    void ProcessMIDIController(int32_t, double, int32_t, double value, int32_t controller) override {
        calls.push_back({"controller", controller, value});
    }
    void ProcessPitchBend(int32_t, double, int32_t, double value) override { calls.push_back({"bend", 0, value}); }
    void ProcessAftertouch(int32_t, double, int32_t, double value, int32_t note) override {
        calls.push_back({"aftertouch", note, value});
    }
    void Process(float**, float**, int32_t) override {}

    void Record(const char* what, int32_t index, double value) {
        calls.push_back({what, index, value});
        values[index] = value;
    }

    std::vector<Call> calls;
    double values[kParameterCount] = {};
};

class AdapterTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto plugin = std::make_unique<RecordingPlugin>();
        core = plugin.get();
        adapter = new KivAudioPluginVST3Adapter(std::move(plugin));
        ASSERT_EQ(adapter->initialize(&host), kResultOk);
        adapter->setComponentHandler(&handler);
        core->calls.clear();
    }
    void TearDown() override {
        adapter->terminate();
        EXPECT_EQ(adapter->release(), 0u);
    }

    // One block of `count` samples with the given parameter changes and no audio.
    void ProcessChanges(ParameterChanges& changes) {
        ProcessData data{};
        data.numSamples = 16;
        data.inputParameterChanges = &changes;
        ASSERT_EQ(adapter->process(data), kResultOk);
    }

    HostApplication host;
    ComponentHandler handler;
    RecordingPlugin* core = nullptr;
    KivAudioPluginVST3Adapter* adapter = nullptr;
};

TEST_F(AdapterTest, HostEditsReachTheCoreAndBypassAndControllersAreRoutedAside) {
    adapter->setParamNormalized(1, 0.25);
    adapter->setParamNormalized(KivAudioPluginVST3Adapter::kBypassId, 0.7);
    adapter->setParamNormalized(10007, 0.5);
    adapter->setParamNormalized(10128, 0.75);
    adapter->setParamNormalized(10129, 0.25);
    const std::vector<Call> expected{{"set", 1, 0.25}, {"controller", 7, 0.5}, {"aftertouch", 255, 0.75}, {"bend", 0, -0.5}};
    EXPECT_EQ(core->calls, expected);
    EXPECT_TRUE(core->IsBypassed());
    EXPECT_EQ(adapter->getParamNormalized(KivAudioPluginVST3Adapter::kBypassId), 1.0);
    EXPECT_EQ(adapter->getParamNormalized(1), 0.25);
    EXPECT_EQ(adapter->getParamNormalized(10007), 0.0);
    EXPECT_EQ(adapter->GetHostName(), KivString("Test Host"));
    EXPECT_EQ(adapter->GetPlugin().GetHostType(), KivString("VST3"));
}

TEST_F(AdapterTest, ProcessTakesOnlyTheLastPointOfEachQueue) {
    ParameterChanges changes;
    changes.Add(2, {{0, 0.1}, {8, 0.9}, {15, 0.4}});
    changes.Add(KivAudioPluginVST3Adapter::kBypassId, {{0, 1.0}, {4, 0.2}});
    changes.Add(10129, {{3, 1.0}});
    changes.Add(0, {});
    ProcessChanges(changes);
    const std::vector<Call> expected{{"ifChanged", 2, 0.4}, {"bend", 0, 1.0}};
    EXPECT_EQ(core->calls, expected);
    EXPECT_FALSE(core->IsBypassed());
}

// The host answers performEdit by setting the parameter; the core already has the value and
// must not take it again, and the host hears of the change exactly once.
TEST_F(AdapterTest, ChangesInsideThePluginReachTheHandlerExactlyOnce) {
    handler.echoTo = adapter;
    adapter->SendAutomation(2, 0.625);
    adapter->SendBypassAutomation(true);
    const std::vector<Edit> expected{{'b', 2, 0.0}, {'p', 2, 0.625}, {'e', 2, 0.0},
                                     {'b', KivAudioPluginVST3Adapter::kBypassId, 0.0},
                                     {'p', KivAudioPluginVST3Adapter::kBypassId, 1.0},
                                     {'e', KivAudioPluginVST3Adapter::kBypassId, 0.0}};
    EXPECT_EQ(handler.edits, expected);
    EXPECT_TRUE(core->calls.empty());
    EXPECT_FALSE(adapter->IsInProcess());
    // Once the report is over, host edits reach the core again.
    adapter->setParamNormalized(2, 0.5);
    EXPECT_EQ(core->calls.size(), 1u);
}

// A bypass switched inside the plug-in reaches the host's bypass parameter once; switching
// to the state it already has says nothing.
TEST_F(AdapterTest, BypassSwitchedInsideThePluginIsReportedOnce) {
    core->ChangeBypass(true);
    core->ChangeBypass(true);
    const std::vector<Edit> expected{{'b', KivAudioPluginVST3Adapter::kBypassId, 0.0},
                                     {'p', KivAudioPluginVST3Adapter::kBypassId, 1.0},
                                     {'e', KivAudioPluginVST3Adapter::kBypassId, 0.0}};
    EXPECT_EQ(handler.edits, expected);
    EXPECT_TRUE(core->IsBypassed());
    EXPECT_EQ(adapter->getParamNormalized(KivAudioPluginVST3Adapter::kBypassId), 1.0);
}

TEST_F(AdapterTest, InitialiseTwiceKeepsOneParameterListAndTerminateClearsIt) {
    EXPECT_EQ(adapter->initialize(&host), kResultOk);
    EXPECT_EQ(adapter->getParameterCount(), kParameterCount + 1 + KivAudioPluginVST3Adapter::kControllerCount);
    adapter->terminate();
    EXPECT_EQ(adapter->getParameterCount(), 0);
    EXPECT_EQ(adapter->getBusCount(kAudio, kInput), 0);
    EXPECT_EQ(host.references, 1u);
    ASSERT_EQ(adapter->initialize(&host), kResultOk);
    EXPECT_EQ(adapter->getParameterCount(), kParameterCount + 1 + KivAudioPluginVST3Adapter::kControllerCount);
}

TEST_F(AdapterTest, EditorViewAnswersPlatformAndSizeAndOutlivesTermination) {
    EXPECT_EQ(adapter->createView("other"), nullptr);
    IPlugView* view = adapter->createView(ViewType::kEditor);
    ASSERT_NE(view, nullptr);
#if defined(_WIN32)
    EXPECT_EQ(view->isPlatformTypeSupported("HWND"), kResultTrue);
    EXPECT_EQ(view->isPlatformTypeSupported("X11EmbedWindowID"), kResultFalse);
#else
    EXPECT_EQ(view->isPlatformTypeSupported("X11EmbedWindowID"), kResultTrue);
    EXPECT_EQ(view->isPlatformTypeSupported("HWND"), kResultFalse);
#endif
    ViewRect size{1, 2, 3, 4};
    ViewRect wanted{0, 0, 320, 200};
    EXPECT_EQ(view->onSize(&wanted), kResultTrue);
    EXPECT_EQ(view->getSize(&size), kResultTrue);
    EXPECT_EQ(size.getWidth(), 320);
    // Without a window system the plug-in builds no editor window.
    int parent = 0;
    EXPECT_EQ(view->attached(&parent, KivAudioPluginVST3Adapter::KivEditor::PlatformType()), kResultFalse);
    adapter->terminate();
    EXPECT_EQ(view->removed(), kResultOk);
    EXPECT_EQ(view->release(), 0u);
}

}  // namespace
