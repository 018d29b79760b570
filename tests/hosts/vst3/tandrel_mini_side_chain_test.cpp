// The external side-chain of the built TandrelMini library, in both of its faces: the buses
// and pins a host sees, and what "Side-chain" does to the sound.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "hosts/vst3/interfaces/iaudioprocessor.h"
#include "hosts/vst3/interfaces/icomponent.h"
#include "hosts/vst3/interfaces/ieditcontroller.h"
#include "tests/hosts/vst3/tandrel_mini_bundle.h"
#include "tools/vst2host/kiv_vst2_plugin.h"

using namespace Vst3TestHost;

namespace {

constexpr int32_t kRate = 44100;
constexpr int32_t kBlock = 512;
constexpr int32_t kFrames = kRate;       // one second
constexpr int32_t kMeasured = kRate / 4;  // the last quarter second, long after the attack

// Host indices of the parameters the test sets: the simple parameters in declaration order
// (groups without a switch and the undeclared slot have none), the drawn shape's twenty, and
// "Side-chain" and "Channel mode" after them all.
constexpr int32_t kMode = 4;
constexpr int32_t kRatio1 = 21;
constexpr int32_t kKnee1 = 22;
constexpr int32_t kSideChain = 49;
constexpr int32_t kParameterCount = 52;  // VST 2.4: and "Bypass" last

// Processor 1 at its default threshold 0.5 (amplitude 0.5^2 = 0.25, -12.04 dB), ratio 4:1,
// knee 0, in the Logarithmic shape mode, where the transfer shape is straight lines in dB.
constexpr double kThresholdDb = -12.041199826559248;  // 20 log10(0.25)
constexpr double kRatio = 4.0;
constexpr float kRatioValue = 5.0f / 21.0f;  // -1 .. 20
constexpr float kKeyAmplitude = 0.5f;        // -6.02 dB
constexpr float kMainAmplitude = 0.05f;      // -26 dB: far below the threshold

// A level above the threshold comes out (level - threshold) / ratio above it, so the gain is
// (threshold - level) (1 - 1 / ratio) dB. Loud binary noise (+-A with random signs) has the
// same power A^2 in every sample, so the detector settles at A exactly: with A = 0.5 the gain
// is (-12.04 + 6.02) * 0.75 = -4.52 dB.
double ExpectedExternalGain() {
    const double level = 20.0 * std::log10(static_cast<double>(kKeyAmplitude));
    return std::pow(10.0, (kThresholdDb - level) * (1.0 - 1.0 / kRatio) / 20.0);
}

std::vector<float> Main() {
    std::vector<float> signal(kFrames);
    for (int32_t i = 0; i < kFrames; ++i) signal[i] = kMainAmplitude * std::sin(0.02f * static_cast<float>(i));
    return signal;
}

std::vector<float> LoudNoise(uint32_t seed) {
    std::vector<float> noise(kFrames);
    for (float& sample : noise) {
        seed = seed * 1664525u + 1013904223u;
        sample = (seed & 0x80000000u) ? kKeyAmplitude : -kKeyAmplitude;
    }
    return noise;
}

// Output over input, as an RMS ratio over the measured end of the signal.
double MeasuredGain(const std::vector<float>& output, const std::vector<float>& input) {
    double out = 0.0, in = 0.0;
    for (int32_t i = kFrames - kMeasured; i < kFrames; ++i) {
        out += static_cast<double>(output[i]) * output[i];
        in += static_cast<double>(input[i]) * input[i];
    }
    return std::sqrt(out / in);
}

// --- VST 2.4 --------------------------------------------------------------------------------

class SideChainVst2 : public ::testing::Test {
protected:
    void SetUp() override {
        KivVst2HostSettings settings;
        settings.sampleRate = kRate;
        settings.blockSize = kBlock;
        ASSERT_TRUE(plugin.Load(KIV_TANDREL_MINI_PATH, settings)) << plugin.ErrorText();
        plugin.Open();
        ASSERT_EQ(plugin.NumParams(), kParameterCount);
        plugin.SetParameter(kMode, 1.0f);
        plugin.SetParameter(kRatio1, kRatioValue);
        plugin.SetParameter(kKnee1, 0.0f);
        ASSERT_EQ(plugin.ParameterDisplay(kMode), "Logarithmic");
    }
    double Gain(bool external) {
        plugin.SetParameter(kSideChain, external ? 1.0f : 0.0f);
        const std::vector<float> main = Main();
        const std::vector<std::vector<float>> inputs = {main, main, LoudNoise(1), LoudNoise(2)};
        std::vector<std::vector<float>> outputs;
        plugin.ProcessInBlocks(inputs, outputs, kFrames);
        return MeasuredGain(outputs[0], main);
    }
    KivVst2Plugin plugin;
};

TEST_F(SideChainVst2, FourInputsWithSideChainPins) {
    EXPECT_EQ(plugin.NumInputs(), 4);
    EXPECT_EQ(plugin.NumOutputs(), 2);
    const char* names[] = {"In L", "In R", "Sidechain L", "Sidechain R"};
    for (int32_t pin = 0; pin < 4; ++pin) {
        VstPinProperties properties{};
        ASSERT_EQ(plugin.Dispatch(effGetInputProperties, pin, 0, &properties), 1) << pin;
        EXPECT_STREQ(properties.label, names[pin]);
        EXPECT_NE(properties.flags & kVstPinIsStereo, 0);
    }
    EXPECT_EQ(plugin.ParameterDisplay(kSideChain), "Internal");
    EXPECT_EQ(plugin.ParameterName(kSideChain), "Side-chain");
}

TEST_F(SideChainVst2, LoudKeyCompressesTheQuietInputOnlyOnExternal) {
    EXPECT_NEAR(Gain(false), 1.0, 1e-3);
    EXPECT_EQ(plugin.ParameterDisplay(kSideChain), "Internal");
    EXPECT_NEAR(Gain(true), ExpectedExternalGain(), 0.01);
    EXPECT_EQ(plugin.ParameterDisplay(kSideChain), "External");
}

// --- VST 3 ----------------------------------------------------------------------------------

class SideChainVst3 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(bundle.CreateInstance());
        processor = Query<IAudioProcessor>(component);
        ASSERT_NE(processor, nullptr);
    }
    void TearDown() override {
        if (processor) processor->release();
    }
    // Offline, as a render: parameter changes in a block then apply from that block on, where in
    // real time they would wait for the preparing thread.
    void Prepare() {
        ProcessSetup setup{kOffline, kSample32, kBlock, static_cast<double>(kRate)};
        ASSERT_EQ(processor->setupProcessing(setup), kResultOk);
        ASSERT_EQ(component->setActive(1), kResultOk);
        ASSERT_EQ(processor->setProcessing(1), kResultOk);
    }
    // One second through the plug-in, the side-chain bus handed over when `withKey`.
    double Gain(bool external, bool withKey) {
        ParameterChanges changes;
        changes.Add(kMode, {{0, 1.0}});
        changes.Add(kRatio1, {{0, static_cast<double>(kRatioValue)}});
        changes.Add(kKnee1, {{0, 0.0}});
        changes.Add(kSideChain, {{0, external ? 1.0 : 0.0}});
        std::vector<float> main = Main(), keyLeft = LoudNoise(1), keyRight = LoudNoise(2);
        std::vector<std::vector<float>> out(2, std::vector<float>(kFrames));
        for (int32_t start = 0; start < kFrames; start += kBlock) {
            const int32_t length = std::min(kBlock, kFrames - start);
            float* in[2] = {main.data() + start, main.data() + start};
            float* key[2] = {keyLeft.data() + start, keyRight.data() + start};
            float* outputs[2] = {out[0].data() + start, out[1].data() + start};
            AudioBusBuffers inputBuses[2] = {{2, 0, {in}}, {2, 0, {key}}};
            AudioBusBuffers outputBus{2, 0, {outputs}};
            ProcessData data{};
            data.numSamples = length;
            data.numInputs = withKey ? 2 : 1;
            data.numOutputs = 1;
            data.inputs = inputBuses;
            data.outputs = &outputBus;
            data.inputParameterChanges = start == 0 ? &changes : nullptr;
            EXPECT_EQ(processor->process(data), kResultOk);
        }
        return MeasuredGain(out[0], main);
    }

    TandrelMiniBundle bundle;
    IComponent*& component = bundle.component;
    IEditController*& controller = bundle.controller;
    IAudioProcessor* processor = nullptr;
};

TEST_F(SideChainVst3, AuxiliaryBusStartsSwitchedOffAndParameterIsLast) {
    ASSERT_EQ(component->getBusCount(kAudio, kInput), 2);
    BusInfo bus{};
    ASSERT_EQ(component->getBusInfo(kAudio, kInput, 1, bus), kResultOk);
    EXPECT_EQ(FromString128(bus.name), u"Sidechain");
    EXPECT_EQ(bus.busType, kAux);
    EXPECT_EQ(bus.channelCount, 2);
    EXPECT_EQ(bus.flags, 0u);
    EXPECT_EQ(component->getBusCount(kAudio, kOutput), 1);
    ParameterInfo info{};
    ASSERT_EQ(controller->getParameterInfo(kSideChain, info), kResultOk);
    EXPECT_EQ(info.id, static_cast<ParamID>(kSideChain));
    EXPECT_EQ(FromString128(info.title), u"Side-chain");
    EXPECT_NE(info.flags & ParameterInfo::kCanAutomate, 0);
    EXPECT_EQ(info.defaultNormalizedValue, 0.0);
}

TEST_F(SideChainVst3, KeyActsOnlyOnExternalWithTheBusSwitchedOn) {
    Prepare();
    // Switched off (as it starts), the bus is ignored even when the host hands it over.
    EXPECT_NEAR(Gain(true, true), 1.0, 1e-3);
    ASSERT_EQ(component->activateBus(kAudio, kInput, 1, 1), kResultOk);
    EXPECT_NEAR(Gain(false, true), 1.0, 1e-3);
    EXPECT_NEAR(Gain(true, true), ExpectedExternalGain(), 0.01);
    // A host that leaves the bus out of a block: the detector falls back to the input.
    EXPECT_NEAR(Gain(true, false), 1.0, 1e-3);
}

}  // namespace
