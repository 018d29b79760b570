// The adapter around a recording plug-in core: how host calls reach the core, and how the
// core's own changes reach the host exactly once.
#include "hosts/vst3/kiv_audio_plugin_vst3_adapter.h"

#include <gtest/gtest.h>

#include <thread>

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
    // Writes the value of parameter 0 to every output sample, or zeros while `quiet`; counts
    // the pieces it is given.
    void Process(float**, float** outputs, int32_t count) override {
        pieces.push_back(count);
        for (int32_t channel = 0; channel < 2; ++channel)
            for (int32_t i = 0; i < count; ++i) outputs[channel][i] = quiet ? 0.0f : static_cast<float>(values[0]);
    }

    void Record(const char* what, int32_t index, double value) {
        calls.push_back({what, index, value});
        values[index] = value;
    }

    std::vector<Call> calls;
    double values[kParameterCount] = {};
    std::vector<int32_t> pieces;
    bool quiet = false;
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

    // One stereo block of `frames` through the adapter, outputs first set to -1.
    std::vector<std::vector<float>> ProcessBlock(int32 frames, ParameterChanges* changes, uint64 inputSilence = 0) {
        std::vector<std::vector<float>> in(2, std::vector<float>(static_cast<size_t>(frames), 0.0f));
        std::vector<std::vector<float>> out(2, std::vector<float>(static_cast<size_t>(frames), -1.0f));
        float* inputs[2] = {in[0].data(), in[1].data()};
        float* outputs[2] = {out[0].data(), out[1].data()};
        AudioBusBuffers inputBus{2, inputSilence, {inputs}};
        outputBus = AudioBusBuffers{2, 0, {outputs}};
        ProcessData data{};
        data.numSamples = frames;
        data.numInputs = 1;
        data.numOutputs = 1;
        data.inputs = &inputBus;
        data.outputs = &outputBus;
        data.inputParameterChanges = changes;
        EXPECT_EQ(adapter->process(data), kResultOk);
        return out;
    }

    AudioBusBuffers outputBus{};
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

// A block without audio (a host flushing parameters) still applies every point, in order.
TEST_F(AdapterTest, ProcessWithoutAudioAppliesEveryPointOfEachQueue) {
    ParameterChanges changes;
    changes.Add(2, {{0, 0.1}, {8, 0.9}, {15, 0.4}});
    changes.Add(KivAudioPluginVST3Adapter::kBypassId, {{0, 1.0}, {4, 0.2}});
    changes.Add(10129, {{3, 1.0}});
    changes.Add(0, {});
    ProcessChanges(changes);
    const std::vector<Call> expected{{"ifChanged", 2, 0.1}, {"ifChanged", 2, 0.9}, {"ifChanged", 2, 0.4}, {"bend", 0, 1.0}};
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

// Every point of a queue takes effect at its own offset: the block is processed in pieces
// from one point (of any queue) to the next.
TEST_F(AdapterTest, AutomationIsSampleAccurate) {
    ProcessSetup setup{kRealtime, kSample32, 64, 48000.0};
    ASSERT_EQ(adapter->setupProcessing(setup), kResultOk);
    ParameterChanges changes;
    changes.Add(0, {{0, 0.25}, {10, 0.5}, {20, 0.75}});
    changes.Add(1, {{15, 0.125}});
    const std::vector<std::vector<float>> out = ProcessBlock(32, &changes);
    for (int32_t i = 0; i < 32; ++i) {
        const float expected = i < 10 ? 0.25f : i < 20 ? 0.5f : 0.75f;
        ASSERT_EQ(out[0][static_cast<size_t>(i)], expected) << i;
        ASSERT_EQ(out[1][static_cast<size_t>(i)], expected) << i;
    }
    EXPECT_EQ(core->pieces, (std::vector<int32_t>{10, 5, 5, 12}));
    EXPECT_EQ(core->values[1], 0.125);
    EXPECT_EQ(outputBus.silenceFlags, 0u);
}

// Output that is exactly silent is flagged; silent input is skipped once the plug-in has
// given a second of exact silence for it, and runs again as soon as the input does.
TEST_F(AdapterTest, SilentOutputIsFlaggedAndSettledSilentInputIsSkipped) {
    core->SetSampleRate(1000);
    core->quiet = true;
    ProcessBlock(250, nullptr);  // silent output, input not flagged
    EXPECT_EQ(outputBus.silenceFlags, 3u);
    core->pieces.clear();
    for (int block = 0; block < 4; ++block) ProcessBlock(250, nullptr, 3);
    EXPECT_EQ(core->pieces.size(), 4u);  // a second of silent input at 1000 Hz: still processed
    const std::vector<std::vector<float>> skipped = ProcessBlock(250, nullptr, 3);
    EXPECT_EQ(core->pieces.size(), 4u);
    EXPECT_EQ(skipped[0], std::vector<float>(250, 0.0f));
    EXPECT_EQ(outputBus.silenceFlags, 3u);
    ProcessBlock(250, nullptr, 1);  // one channel sounds again
    EXPECT_EQ(core->pieces.size(), 5u);

    // A plug-in still sounding on silent input (a release, a look-ahead) is never skipped.
    core->quiet = false;
    core->values[0] = 0.5;
    core->pieces.clear();
    for (int block = 0; block < 8; ++block) ProcessBlock(250, nullptr, 3);
    EXPECT_EQ(core->pieces.size(), 8u);
    EXPECT_EQ(outputBus.silenceFlags, 0u);
}

// While the adapter tells the host of one of the plug-in's values, the host's automation of
// every other parameter, and of the same one from the audio thread, reaches the plug-in.
TEST_F(AdapterTest, HostAutomationIsNeverDroppedWhileThePluginReportsItsOwnChange) {
    struct AnsweringHandler : ComponentHandler {
        tresult KIV_VST3_API performEdit(ParamID id, ParamValue value) override {
            ComponentHandler::performEdit(id, value);
            controller->setParamNormalized(id, value);  // the echo
            controller->setParamNormalized(0, 0.375);   // the user moves another control meanwhile
            std::thread audio([&] {
                ParameterChanges changes;
                changes.Add(id, {{0, 0.875}});
                ProcessData data{};
                data.inputParameterChanges = &changes;
                processor->process(data);
            });
            audio.join();
            return kResultOk;
        }
        IEditController* controller = nullptr;
        IAudioProcessor* processor = nullptr;
    } answering;
    answering.controller = adapter;
    answering.processor = adapter;
    adapter->setComponentHandler(&answering);
    adapter->SendAutomation(2, 0.625);
    const std::vector<Call> expected{{"set", 0, 0.375}, {"ifChanged", 2, 0.875}};
    EXPECT_EQ(core->calls, expected);
    adapter->setComponentHandler(&handler);
}

// What the plug-in posts from inside process() reaches the host from the thread that
// initialised it, at its next call there.
TEST_F(AdapterTest, NotificationsFromProcessReachTheHostOnTheInitialisingThread) {
    std::thread audio([&] {
        ProcessData data{};
        adapter->process(data);
        adapter->SendAutomation(1, 0.5);
        adapter->SettingsChanged();
        adapter->SendBypassAutomation(true);
    });
    audio.join();
    EXPECT_TRUE(handler.edits.empty());
    EXPECT_TRUE(handler.restarts.empty());
    adapter->getParamNormalized(0);
    const std::vector<Edit> edits{{'b', 1, 0.0}, {'p', 1, 0.5}, {'e', 1, 0.0},
                                  {'b', KivAudioPluginVST3Adapter::kBypassId, 0.0},
                                  {'p', KivAudioPluginVST3Adapter::kBypassId, 1.0},
                                  {'e', KivAudioPluginVST3Adapter::kBypassId, 0.0}};
    EXPECT_EQ(handler.edits, edits);
    EXPECT_EQ(handler.restarts, std::vector<int32>{kParamValuesChanged});
    for (const std::thread::id& thread : handler.threads) EXPECT_EQ(thread, std::this_thread::get_id());
}

}  // namespace
