// The built TandrelMini bundle loaded as a VST 3 host loads it, and compared with the
// VST 2.4 face of the same library.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>

#if defined(_WIN32)
#include <windows.h>
#endif

#include "hosts/vst3/interfaces/iaudioprocessor.h"
#include "hosts/vst3/interfaces/icomponent.h"
#include "hosts/vst3/interfaces/ieditcontroller.h"
#include "hosts/vst3/interfaces/imidimapping.h"
#include "hosts/vst3/interfaces/irunloop.h"
#include "tests/hosts/vst3/tandrel_mini_bundle.h"
#include "tools/vst2host/kiv_vst2_plugin.h"

using namespace Vst3TestHost;

namespace {

constexpr ParamID kBypass = 32767;
constexpr int32 kBlock = 256;
constexpr int32 kFrames = 4 * kBlock;

// The look-ahead knob runs 0..1 s under a fourth-power curve: 5 ms sits at 0.005^(1/4), which
// is 220.5 samples at 44.1 kHz, told to hosts as 221.
double FiveMillisecondsOfLookAhead() { return std::pow(0.005, 0.25); }

std::vector<std::vector<float>> TestSignal() {
    std::vector<std::vector<float>> channels(2, std::vector<float>(kFrames));
    uint32_t seed = 12345;
    for (int32 i = 0; i < kFrames; ++i) {
        seed = seed * 214013u + 2531011u;
        const float noise = static_cast<float>((seed >> 16) & 0x7FFF) / 32767.0f - 0.5f;
        channels[0][static_cast<size_t>(i)] = 0.8f * std::sin(0.03f * static_cast<float>(i)) + 0.1f * noise;
        channels[1][static_cast<size_t>(i)] = 0.3f * std::sin(0.11f * static_cast<float>(i)) - 0.1f * noise;
    }
    return channels;
}

// One instance created through the bundle's factory, initialised, with its controller face.
class Vst3Instance {
public:
    explicit Vst3Instance(IPluginFactory& factory) {
        void* object = nullptr;
        if (factory.createInstance(kTandrelMiniClassId.bytes, IComponent::iid.bytes, &object) != kResultOk) return;
        component = static_cast<IComponent*>(object);
        initialized = component->initialize(&host) == kResultOk;
        controller = Query<IEditController>(component);
        processor = Query<IAudioProcessor>(component);
    }
    ~Vst3Instance() {
        if (!component) return;
        if (processor) processor->release();
        if (controller) controller->release();
        component->terminate();
        component->release();
    }
    // Offline, as a host renders a mixdown: a parameter change inside a block is applied to
    // that very block. In real time it plays from the first block after the plug-in's own
    // thread has prepared it, which these comparisons of whole renders cannot wait for.
    void Prepare(double sampleRate, int32 blockSize) {
        ProcessSetup setup{kOffline, kSample32, blockSize, sampleRate};
        ASSERT_EQ(processor->setupProcessing(setup), kResultOk);
        ASSERT_EQ(component->setActive(1), kResultOk);
        ASSERT_EQ(processor->setProcessing(1), kResultOk);
    }
    std::vector<uint8_t> State() {
        MemoryStream stream;
        EXPECT_EQ(component->getState(&stream), kResultOk);
        return stream.bytes;
    }
    // Processes `inputs` block by block with `changes` in the first block.
    std::vector<std::vector<float>> Process(std::vector<std::vector<float>> inputs, ParameterChanges* changes) {
        std::vector<std::vector<float>> outputs(2, std::vector<float>(kFrames));
        for (int32 start = 0; start < kFrames; start += kBlock) {
            float* in[2] = {inputs[0].data() + start, inputs[1].data() + start};
            float* out[2] = {outputs[0].data() + start, outputs[1].data() + start};
            AudioBusBuffers inputBus{2, 0, {in}};
            AudioBusBuffers outputBus{2, 0, {out}};
            ProcessData data{};
            data.numSamples = kBlock;
            data.numInputs = 1;
            data.numOutputs = 1;
            data.inputs = &inputBus;
            data.outputs = &outputBus;
            data.inputParameterChanges = start == 0 ? changes : nullptr;
            EXPECT_EQ(processor->process(data), kResultOk);
        }
        return outputs;
    }

    HostApplication host;
    IComponent* component = nullptr;
    IEditController* controller = nullptr;
    IAudioProcessor* processor = nullptr;
    bool initialized = false;
};

class TandrelMiniVst3 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(bundle.LoadFactory());
        ASSERT_TRUE(vst2.Load(KIV_TANDREL_MINI_PATH)) << vst2.ErrorText();
    }

    int32 LookAheadIndex() {
        for (int32 index = 0; index < vst2.NumParams(); ++index)
            if (vst2.ParameterName(index).rfind("Look-ahead", 0) == 0) return index;
        return -1;
    }

    static bool LatencyTold(ComponentHandler& handler) {
        std::lock_guard<std::mutex> guard(handler.lock);
        return std::find(handler.restarts.begin(), handler.restarts.end(), kLatencyChanged) != handler.restarts.end();
    }

    // A host's audio thread plays one block that moves the look-ahead to 5 ms; the plug-in
    // prepares that on a thread of its own, and the host's main thread then does what `turn`
    // does, at most 3000 times, until the plug-in has told it of the new latency. The wait is
    // bounded by a count of turns, not a clock.
    void ChangeLatencyOnTheAudioThread(Vst3Instance& instance, ComponentHandler& handler,
                                       const std::function<void()>& turn) {
        vst2.Open();
        const int32 lookAhead = LookAheadIndex();
        ASSERT_GE(lookAhead, 0);
        ASSERT_TRUE(instance.initialized);
        ASSERT_EQ(instance.controller->setComponentHandler(&handler), kResultOk);
        instance.Prepare(44100.0, kBlock);
        ParameterChanges changes;
        changes.Add(static_cast<ParamID>(lookAhead), {{0, FiveMillisecondsOfLookAhead()}});
        std::thread audio([&] { instance.Process(TestSignal(), &changes); });
        audio.join();
        for (int attempt = 0; attempt < 3000 && !LatencyTold(handler); ++attempt) turn();
        ASSERT_TRUE(LatencyTold(handler));
        EXPECT_EQ(instance.processor->getLatencySamples(), 221u);
    }

    static void ExpectEveryCallFromThisThread(ComponentHandler& handler) {
        std::lock_guard<std::mutex> guard(handler.lock);
        for (const std::thread::id& thread : handler.threads) EXPECT_EQ(thread, std::this_thread::get_id());
    }

    TandrelMiniBundle bundle;
    KivPlatform::DynamicLibrary& library = bundle.library;
    IPluginFactory*& factory = bundle.factory;
    KivVst2Plugin vst2;
};

TEST_F(TandrelMiniVst3, FactoryDescribesOneClassAsTheBundleDescriptionDoes) {
    using Entry = IPluginFactory* (*)();
    IPluginFactory* again = reinterpret_cast<Entry>(library.Symbol("GetPluginFactory"))();
    EXPECT_EQ(again, factory);
    again->release();
    PFactoryInfo info{};
    ASSERT_EQ(factory->getFactoryInfo(&info), kResultOk);
    EXPECT_STREQ(info.vendor, "Kestrune");
    EXPECT_EQ(std::string(info.email).rfind("mailto:", 0), 0u);
    EXPECT_EQ(info.flags, PFactoryInfo::kUnicode);
    ASSERT_EQ(factory->countClasses(), 1);

    auto* factory3 = Query<IPluginFactory3>(factory);
    ASSERT_NE(factory3, nullptr);
    PClassInfo2 info2{};
    ASSERT_EQ(factory3->getClassInfo2(0, &info2), kResultOk);
    EXPECT_TRUE(kTandrelMiniClassId.Matches(info2.cid));
    EXPECT_EQ(info2.cardinality, 0x7FFFFFFF);
    EXPECT_STREQ(info2.category, "Audio Module Class");
    EXPECT_STREQ(info2.name, "TandrelMini");
    EXPECT_EQ(info2.classFlags, 0u);
    EXPECT_STREQ(info2.subCategories, "Fx|Dynamics");
    EXPECT_STREQ(info2.version, KIV_PRODUCT_VERSION);
    EXPECT_STREQ(info2.sdkVersion, "VST 3.5.1");
    EXPECT_STREQ(info2.vendor, "");
    PClassInfoW wide{};
    ASSERT_EQ(factory3->getClassInfoUnicode(0, &wide), kResultOk);
    EXPECT_EQ(std::u16string(wide.name), u"TandrelMini");
    EXPECT_EQ(std::u16string(wide.sdkVersion), u"VST 3.5.1");
    EXPECT_EQ(factory3->getClassInfo2(1, &info2), kInvalidArgument);
    factory3->release();

    std::ifstream file(std::string(KIV_TANDREL_MINI_BUNDLE) + "/Contents/Resources/moduleinfo.json");
    const std::string description((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_NE(description.find("\"CID\": \"4B65737472756E654B4165404B416540\""), std::string::npos);
    EXPECT_NE(description.find("\"SDKVersion\": \"VST 3.5.1\""), std::string::npos);
    // The description hosts read without loading the library shows the version the class reports.
    EXPECT_NE(description.find(std::string("\"Version\": \"") + KIV_PRODUCT_VERSION + "\""), std::string::npos);
}

TEST_F(TandrelMiniVst3, InstanceOffersBusesParametersAndMidiMapping) {
    Vst3Instance instance(*factory);
    ASSERT_TRUE(instance.initialized);
    ASSERT_NE(instance.controller, nullptr);
    // Each query adds a reference: a leaked one would keep the instance alive past the
    // library's unload.
    FUnknown* controllerIdentity = Query<FUnknown>(instance.controller);
    FUnknown* componentIdentity = Query<FUnknown>(instance.component);
    EXPECT_EQ(static_cast<void*>(controllerIdentity), static_cast<void*>(componentIdentity));
    if (controllerIdentity) controllerIdentity->release();
    if (componentIdentity) componentIdentity->release();
    TUID controllerClass{};
    EXPECT_EQ(instance.component->getControllerClassId(controllerClass), kResultFalse);

    BusInfo bus{};
    ASSERT_EQ(instance.component->getBusCount(kAudio, kInput), 2);  // the main bus and the side-chain
    ASSERT_EQ(instance.component->getBusInfo(kAudio, kInput, 0, bus), kResultOk);
    EXPECT_EQ(FromString128(bus.name), u"Stereo In");
    EXPECT_EQ(bus.channelCount, 2);
    EXPECT_EQ(bus.flags, static_cast<uint32>(BusInfo::kDefaultActive));
    ASSERT_EQ(instance.component->getBusInfo(kAudio, kOutput, 0, bus), kResultOk);
    EXPECT_EQ(FromString128(bus.name), u"Stereo Out");
    ASSERT_EQ(instance.component->getBusInfo(kEvent, kInput, 0, bus), kResultOk);
    EXPECT_EQ(FromString128(bus.name), u"Midi In");
    EXPECT_EQ(instance.component->getBusCount(kEvent, kOutput), 0);

    // VST 2.4 lists its bypass switch as its last parameter; VST 3 has a bypass parameter of its own.
    const int32 coreCount = vst2.NumParams() - 1;
    ASSERT_EQ(instance.controller->getParameterCount(), coreCount + 131);
    ParameterInfo info{};
    ASSERT_EQ(instance.controller->getParameterInfo(coreCount, info), kResultOk);
    EXPECT_EQ(info.id, kBypass);
    EXPECT_EQ(FromString128(info.title), u"Bypass");
    EXPECT_EQ(info.flags, 0x10001);
    EXPECT_EQ(info.stepCount, 1);
    ASSERT_EQ(instance.controller->getParameterInfo(coreCount + 130, info), kResultOk);
    EXPECT_EQ(info.id, 10129u);
    EXPECT_EQ(FromString128(info.title), u"Controller 130");
    EXPECT_EQ(info.flags, 0);
    ASSERT_EQ(instance.controller->getParameterInfo(0, info), kResultOk);
    EXPECT_EQ(info.id, 0u);
    EXPECT_EQ(info.flags, ParameterInfo::kCanAutomate);

    auto* mapping = Query<IMidiMapping>(instance.component);
    ASSERT_NE(mapping, nullptr);
    ParamID mapped = 0;
    EXPECT_EQ(mapping->getMidiControllerAssignment(0, 3, 7, mapped), kResultOk);
    EXPECT_EQ(mapped, 10007u);
    mapping->release();

    // Display texts are the core's, as the VST 2.4 face shows them for the current values.
    for (int32 index = 0; index < std::min(coreCount, 8); ++index) {
        String128 text{};
        const double value = instance.controller->getParamNormalized(static_cast<ParamID>(index));
        ASSERT_EQ(instance.controller->getParamStringByValue(static_cast<ParamID>(index), value, text), kResultOk);
        std::string narrow;
        for (char16_t unit : FromString128(text)) narrow.push_back(static_cast<char>(unit));
        EXPECT_EQ(narrow, vst2.ParameterDisplay(index)) << index;
    }
}

TEST_F(TandrelMiniVst3, ProcessTakesTheLastPointAndStateRoundTripsAsTheVst2Chunk) {
    Vst3Instance first(*factory);
    Vst3Instance second(*factory);
    ASSERT_TRUE(first.initialized && second.initialized);
    vst2.Open();
    // Fresh instances of both faces keep the same document.
    EXPECT_EQ(first.State(), vst2.GetChunk());

    first.Prepare(48000.0, kBlock);
    ParameterChanges changes;
    changes.Add(0, {{0, 0.9}, {100, 0.3}});
    changes.Add(kBypass, {{10, 1.0}});
    first.Process(TestSignal(), &changes);
    second.controller->setParamNormalized(0, 0.3);
    EXPECT_EQ(first.controller->getParamNormalized(0), second.controller->getParamNormalized(0));
    EXPECT_EQ(first.controller->getParamNormalized(kBypass), 1.0);

    const std::vector<uint8_t> state = first.State();
    MemoryStream stream;
    stream.bytes = state;
    ASSERT_EQ(second.controller->setState(&stream), kResultOk);
    EXPECT_EQ(second.State(), state);
    EXPECT_EQ(second.controller->getParamNormalized(0), first.controller->getParamNormalized(0));
    ASSERT_TRUE(vst2.SetChunk(state));
    EXPECT_EQ(vst2.GetChunk(), state);
    MemoryStream empty;
    EXPECT_EQ(second.component->setState(&empty), kResultFalse);
}

TEST_F(TandrelMiniVst3, AudioEqualsTheVst2Path) {
    Vst3Instance instance(*factory);
    ASSERT_TRUE(instance.initialized);
    const int32 parameters = std::min(vst2.NumParams(), 4);
    ParameterChanges changes;
    for (int32 index = 0; index < parameters; ++index) {
        const float value = 0.25f + 0.125f * static_cast<float>(index);
        vst2.SetParameter(index, value);
        changes.Add(static_cast<ParamID>(index), {{0, static_cast<double>(value)}});
    }
    instance.Prepare(44100.0, kBlock);
    const std::vector<std::vector<float>> vst3Output = instance.Process(TestSignal(), &changes);

    KivVst2HostSettings settings;
    settings.sampleRate = 44100.0;
    settings.blockSize = kBlock;
    vst2.Close();
    ASSERT_TRUE(vst2.Load(KIV_TANDREL_MINI_PATH, settings));
    vst2.Open();
    for (int32 index = 0; index < parameters; ++index) vst2.SetParameter(index, 0.25f + 0.125f * static_cast<float>(index));
    std::vector<std::vector<float>> vst2Output;
    vst2.ProcessInBlocks(TestSignal(), vst2Output, kFrames);
    ASSERT_EQ(vst2Output.size(), 2u);
    EXPECT_EQ(vst3Output, vst2Output);
    double energy = 0.0;
    for (float sample : vst3Output[0]) energy += static_cast<double>(sample) * sample;
    EXPECT_GT(energy, 1.0);
}

// Both faces report the look-ahead as latency: 0.005 s at 44.1 kHz is 220.5 samples, which
// rounds up to 221.
TEST_F(TandrelMiniVst3, LatencyIsReportedAsTheVst2PathReportsIt) {
    KivVst2HostSettings settings;
    settings.sampleRate = 44100.0;
    settings.blockSize = kBlock;
    vst2.Close();
    ASSERT_TRUE(vst2.Load(KIV_TANDREL_MINI_PATH, settings));
    vst2.Open();
    const int32 lookAhead = LookAheadIndex();
    ASSERT_GE(lookAhead, 0);
    const double position = FiveMillisecondsOfLookAhead();
    vst2.SetParameter(lookAhead, static_cast<float>(position));
    std::vector<std::vector<float>> ignored;
    vst2.ProcessInBlocks(TestSignal(), ignored, kBlock);
    // The host hears of the new latency from one of the plug-in's other threads.
    ASSERT_TRUE(vst2.Host().WaitForCalls(audioMasterIOChanged, 1, 10000));

    Vst3Instance instance(*factory);
    ASSERT_TRUE(instance.initialized);
    instance.Prepare(44100.0, kBlock);
    ParameterChanges changes;
    changes.Add(static_cast<ParamID>(lookAhead), {{0, static_cast<double>(static_cast<float>(position))}});
    instance.Process(TestSignal(), &changes);
    EXPECT_EQ(vst2.Latency(), 221);
    EXPECT_EQ(static_cast<int32_t>(instance.processor->getLatencySamples()), vst2.Latency());
}

// restartComponent and performEdit are calls of the host's main thread: whatever the plug-in
// posts while it processes on the audio thread reaches the host from the thread that
// initialised it, at the host's next call there.
TEST_F(TandrelMiniVst3, HostHearsOfLatencyAndSettingsOnlyFromTheInitialisingThread) {
    Vst3Instance instance(*factory);
    ComponentHandler handler;
    ASSERT_NO_FATAL_FAILURE(
        ChangeLatencyOnTheAudioThread(instance, handler, [&] {
            // The plug-in may still be preparing the new set-up on a thread of its own.
            instance.controller->getParamNormalized(0);
            if (!LatencyTold(handler)) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }));

    const std::vector<uint8_t> state = instance.State();
    MemoryStream stream;
    stream.bytes = state;
    ASSERT_EQ(instance.component->setState(&stream), kResultOk);
    EXPECT_EQ(handler.restarts.back(), kParamValuesChanged);
    ExpectEveryCallFromThisThread(handler);
    instance.controller->setComponentHandler(nullptr);
}

#if defined(_WIN32)
// A host's main thread that only runs its message loop, as a DAW's does while the user watches
// the transport: a latency the plug-in prepared on its own thread is told to the host by the
// plug-in's timer on that loop, from the thread that initialised it, without any call of the
// host's. The wait is bounded by a count of loop turns, not a clock.
TEST_F(TandrelMiniVst3, LatencyPreparedElsewhereReachesAHostThatOnlyRunsItsMessageLoop) {
    Vst3Instance instance(*factory);
    ComponentHandler handler;
    ASSERT_NO_FATAL_FAILURE(ChangeLatencyOnTheAudioThread(instance, handler, [] {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }));
    ExpectEveryCallFromThisThread(handler);
    instance.controller->setComponentHandler(nullptr);
}
#else
// A component handler that also offers the host's run loop, as Linux hosts do; the test turns
// the loop as a host's main thread does.
class RunLoopHandler : public ComponentHandler, public Linux::IRunLoop {
public:
    tresult KIV_VST3_API queryInterface(const TUID iid, void** object) override {
        if (!Linux::IRunLoop::iid.Matches(iid)) return ComponentHandler::queryInterface(iid, object);
        *object = static_cast<Linux::IRunLoop*>(this);
        addRef();
        return kResultOk;
    }
    uint32 KIV_VST3_API addRef() override { return ComponentHandler::addRef(); }
    uint32 KIV_VST3_API release() override { return ComponentHandler::release(); }
    tresult KIV_VST3_API registerEventHandler(Linux::IEventHandler*, Linux::FileDescriptor) override {
        return kNotImplemented;
    }
    tresult KIV_VST3_API unregisterEventHandler(Linux::IEventHandler*) override { return kNotImplemented; }
    tresult KIV_VST3_API registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval) override {
        handler->addRef();
        timers.push_back(handler);
        return kResultOk;
    }
    tresult KIV_VST3_API unregisterTimer(Linux::ITimerHandler* handler) override {
        const auto found = std::find(timers.begin(), timers.end(), handler);
        if (found == timers.end()) return kInvalidArgument;
        timers.erase(found);
        handler->release();
        return kResultOk;
    }
    void Turn() {
        const std::vector<Linux::ITimerHandler*> due = timers;
        for (Linux::ITimerHandler* timer : due) timer->onTimer();
    }
    std::vector<Linux::ITimerHandler*> timers;
};

// Linux gives a plug-in no message loop of its own: with the editor closed, a latency the
// plug-in prepared on its own thread reaches a host that only turns its run loop through a
// timer on that loop, from the thread that initialised it. A handler that goes away takes the
// timer with it. The wait is bounded by a count of turns, not a clock.
TEST_F(TandrelMiniVst3, LatencyPreparedElsewhereReachesAHostThatOnlyTurnsItsRunLoop) {
    Vst3Instance instance(*factory);
    RunLoopHandler handler;
    ASSERT_NO_FATAL_FAILURE(ChangeLatencyOnTheAudioThread(instance, handler, [&] {
        handler.Turn();
        if (!LatencyTold(handler)) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }));
    EXPECT_EQ(handler.timers.size(), 1u);
    ExpectEveryCallFromThisThread(handler);
    instance.controller->setComponentHandler(nullptr);
    EXPECT_TRUE(handler.timers.empty());
}
#endif

// Steinberg's validator, when the environment names it: every test, extensive ones too.
TEST(TandrelMiniVst3Validator, PassesEveryTest) {
    const char* validator = std::getenv("VST3_VALIDATOR");
    if (!validator || !*validator) GTEST_SKIP() << "VST3_VALIDATOR is not set";
#if defined(_WIN32)
    const char* silence = " > NUL 2>&1";
#else
    const char* silence = " > /dev/null 2>&1";
#endif
    const std::string command = std::string("\"") + validator + "\" -e \"" + KIV_TANDREL_MINI_BUNDLE + "\"" + silence;
    EXPECT_EQ(std::system(command.c_str()), 0);
}

}  // namespace
