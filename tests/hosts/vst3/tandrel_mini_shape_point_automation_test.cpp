// Host automation of the drawn shape's points while audio plays, through the built TandrelMini
// library in both of its faces: a VST 2.4 host's setParameter from its real-time thread between
// blocks, and a VST 3 parameter queue inside a real-time block. The drawn shape is in use
// ("EnabledCustomShape") and is the straight line through (0, 0), (0.5, 0.5) and (1, 1) in root
// amplitudes, so a steady input of 0.25 (root 0.5) passes unchanged. Moving point 2's Y to 0.25
// puts (0.5, 0.25) on the curve: in amplitudes 0.25 in gives 0.25^2 = 0.0625 out.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "base/kiv_byte_buffer.h"
#include "base/stream/kiv_memory_stream.h"
#include "base/xml/kiv_xml_item.h"
#include "base/kiv_number.h"
#include "hosts/vst3/interfaces/iaudioprocessor.h"
#include "hosts/vst3/interfaces/icomponent.h"
#include "hosts/vst3/interfaces/ieditcontroller.h"
#include "plugin/state/kiv_complete_document.h"
#include "tests/support/kiv_state_bytes.h"
#include "tests/hosts/vst3/vst3_test_host.h"
#include "tools/vst2host/kiv_vst2_plugin.h"

using namespace Vst3TestHost;

namespace {

#if defined(_WIN32)
const std::string kBinary = std::string(KIV_TANDREL_MINI_BUNDLE) + "/Contents/x86_64-win/TandrelMini.vst3";
#else
const std::string kBinary = std::string(KIV_TANDREL_MINI_BUNDLE) + "/Contents/x86_64-linux/TandrelMini.so";
#endif
constexpr InterfaceId kClassId = MakeInterfaceId(0x4B657374, 0x72756E65, 0x4B416540, 0x4B416540);
constexpr int32_t kRate = 48000;
constexpr int32_t kBlock = 256;
// The drawn shape's twenty host parameters follow the 29 simple ones: point 2 Y is the sixth.
constexpr int32_t kPoint2Y = 29 + 5;
constexpr float kInput = 0.25f;
constexpr float kDrawnOutput = 0.0625f;
// Blocks the test plays at most while the plug-in prepares on its own thread: a count, not a
// clock, so that a busy machine only makes the test slower.
constexpr int32_t kMostBlocks = 200000;

using KivStateBytes::Bytes;

// The plug-in's own state with the drawn shape in use and set to the three-point line.
std::vector<uint8_t> WithDrawnLine(const std::vector<uint8_t>& state) {
    KivXMLItem root;
    KivStateBytes::Parse(state, root);
    root.SetAttribute(KivString("EnabledCustomShape"), KivString("1"));
    if (root.HasSubItem(KivString("graph"))) root.RemoveSubItem(root.GetSubItem());
    KivXMLItem& graph = root.AddSubItem(KivString("graph"));
    // The ends are locked (flag 1), as every drawn shape's are; the middle point is free.
    const char* const points[3][3] = {{"0", "0", "1"}, {"0.5", "0.5", "4"}, {"1", "1", "1"}};
    for (const auto& point : points) {
        KivXMLItem& item = graph.AddSubItem(KivString("Point"));
        item.SetAttribute(KivString("x"), KivString(point[0]));
        item.SetAttribute(KivString("y"), KivString(point[1]));
        item.SetAttribute(KivString("Flags"), KivString(point[2]));
    }
    return Bytes(root);
}

// Y of the drawn shape's second point in a saved state.
double SavedPoint2Y(const std::vector<uint8_t>& state) {
    KivXMLItem root;
    KivStateBytes::Parse(state, root);
    if (!root.HasSubItem(KivString("graph"))) return -1.0;
    const KivXMLItem& graph = root.GetSubItem();
    if (graph.GetSubItemCount() != 3) return -1.0;
    const KivXMLItem& point = graph.GetSubItemAt(1);
    return point.HasAttribute(KivString("y")) ? KivNumber::TextToDouble(point.GetAttribute()) : 0.0;
}

// --- VST 2.4 --------------------------------------------------------------------------------

class ShapePointVst2 {
public:
    ShapePointVst2() {
        KivVst2HostSettings settings;
        settings.sampleRate = kRate;
        settings.blockSize = kBlock;
        loaded = plugin.Load(KIV_TANDREL_MINI_PATH, settings);
        if (!loaded) return;
        plugin.Open();
        loaded = plugin.SetChunk(WithDrawnLine(plugin.GetChunk()));
    }
    // The last output sample of one block of steady input.
    float Play() {
        std::vector<std::vector<float>> inputs(static_cast<size_t>(plugin.NumInputs()),
                                               std::vector<float>(kBlock, kInput));
        for (size_t pin = 2; pin < inputs.size(); ++pin) inputs[pin].assign(kBlock, 0.0f);
        std::vector<std::vector<float>> outputs;
        plugin.ProcessInBlocks(inputs, outputs, kBlock);
        return outputs[0].back();
    }
    KivVst2Plugin plugin;
    bool loaded = false;
};

TEST(TandrelMiniShapePointAutomation, Vst2RealTimeSetParameterIsHeardAndSaved) {
    ShapePointVst2 session;
    ASSERT_TRUE(session.loaded) << session.plugin.ErrorText();
    KivVst2Plugin& plugin = session.plugin;
    ASSERT_EQ(plugin.ParameterName(kPoint2Y).find("Point 2 Y") != std::string::npos ||
                  plugin.ParameterName(kPoint2Y).find("Pt2 Y") != std::string::npos,
              true)
        << plugin.ParameterName(kPoint2Y);
    EXPECT_FLOAT_EQ(plugin.GetParameter(kPoint2Y), 0.5f);
    float out = 0.0f;
    for (int32_t block = 0; block < 100; ++block) out = session.Play();
    EXPECT_NEAR(out, kInput, 1e-5);

    // Automation as a host plays it: from its real-time thread, between two blocks.
    plugin.Host().SetProcessing(true);
    plugin.SetParameter(kPoint2Y, 0.25f);
    plugin.Host().SetProcessing(false);
    EXPECT_FLOAT_EQ(plugin.GetParameter(kPoint2Y), 0.25f);
    int32_t blocks = 0;
    // Until the new curve plays, the block's output is the old one, never anything between.
    for (out = session.Play(); std::fabs(out - kInput) < 1e-5f && blocks < kMostBlocks; out = session.Play()) {
        ++blocks;
        std::this_thread::yield();
    }
    EXPECT_NEAR(out, kDrawnOutput, 1e-5) << "after " << blocks << " blocks";
    EXPECT_NEAR(session.Play(), kDrawnOutput, 1e-5);
    EXPECT_NEAR(SavedPoint2Y(plugin.GetChunk()), 0.25, 1e-9);
}

// --- VST 3 ----------------------------------------------------------------------------------

class ShapePointVst3 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library.Load(kBinary)) << library.ErrorText();
        using Entry = IPluginFactory* (*)();
        auto entry = reinterpret_cast<Entry>(library.Symbol("GetPluginFactory"));
        ASSERT_NE(entry, nullptr);
        factory = entry();
        void* object = nullptr;
        ASSERT_EQ(factory->createInstance(kClassId.bytes, IComponent::iid.bytes, &object), kResultOk);
        component = static_cast<IComponent*>(object);
        ASSERT_EQ(component->initialize(&host), kResultOk);
        controller = Query<IEditController>(component);
        processor = Query<IAudioProcessor>(component);
        ASSERT_TRUE(controller && processor);
        MemoryStream saved;
        ASSERT_EQ(component->getState(&saved), kResultOk);
        MemoryStream drawn;
        drawn.bytes = WithDrawnLine(saved.bytes);
        ASSERT_EQ(component->setState(&drawn), kResultOk);
        ProcessSetup setup{kRealtime, kSample32, kBlock, static_cast<double>(kRate)};
        ASSERT_EQ(processor->setupProcessing(setup), kResultOk);
        ASSERT_EQ(component->setActive(1), kResultOk);
        ASSERT_EQ(processor->setProcessing(1), kResultOk);
    }
    void TearDown() override {
        if (processor) {
            processor->setProcessing(0);
            processor->release();
        }
        if (controller) controller->release();
        if (component) {
            component->setActive(0);
            component->terminate();
            component->release();
        }
        if (factory) factory->release();
    }
    // One real-time block of steady input; its left output.
    std::vector<float> Play(ParameterChanges* changes) {
        std::vector<float> in(kBlock, kInput), key(kBlock, 0.0f);
        std::vector<std::vector<float>> out(2, std::vector<float>(kBlock));
        float* inputs[2] = {in.data(), in.data()};
        float* keys[2] = {key.data(), key.data()};
        float* outputs[2] = {out[0].data(), out[1].data()};
        AudioBusBuffers inputBuses[2] = {{2, 0, {inputs}}, {2, 0, {keys}}};
        AudioBusBuffers outputBus{2, 0, {outputs}};
        ProcessData data{};
        data.processMode = kRealtime;
        data.numSamples = kBlock;
        data.numInputs = 1;
        data.numOutputs = 1;
        data.inputs = inputBuses;
        data.outputs = &outputBus;
        data.inputParameterChanges = changes;
        EXPECT_EQ(processor->process(data), kResultOk);
        return out[0];
    }
    std::vector<uint8_t> State() {
        MemoryStream stream;
        EXPECT_EQ(component->getState(&stream), kResultOk);
        return stream.bytes;
    }

    KivPlatform::DynamicLibrary library;
    IPluginFactory* factory = nullptr;
    HostApplication host;
    IComponent* component = nullptr;
    IEditController* controller = nullptr;
    IAudioProcessor* processor = nullptr;
};

// The change is queued at sample 100 of a block. The host's block is played in pieces at its
// changes, so the new curve starts at a piece boundary once it has been prepared: in that
// block when the preparing thread was quick, otherwise from a later block's first sample. Every
// sample is the old curve's or the new one's, and once the new curve plays it stays.
TEST_F(ShapePointVst3, QueuedPointInsideARealTimeBlockIsHeardAndSaved) {
    ParameterInfo info{};
    ASSERT_EQ(controller->getParameterInfo(kPoint2Y, info), kResultOk);
    EXPECT_EQ(FromString128(info.title).find(u"Point 2 Y") != std::u16string::npos, true);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(kPoint2Y), 0.5);
    std::vector<float> out;
    for (int32_t block = 0; block < 100; ++block) out = Play(nullptr);
    EXPECT_NEAR(out.back(), kInput, 1e-5);

    ParameterChanges changes;
    changes.Add(kPoint2Y, {{100, 0.25}});
    std::vector<float> played = Play(&changes);
    for (int32_t blocks = 0; std::fabs(played.back() - kDrawnOutput) > 1e-5f && blocks < kMostBlocks; ++blocks) {
        out = Play(nullptr);
        played.insert(played.end(), out.begin(), out.end());
        std::this_thread::yield();
    }
    size_t first = played.size();
    int32_t strays = 0;
    for (size_t i = 0; i < played.size(); ++i) {
        const bool drawn = std::fabs(played[i] - kDrawnOutput) < 1e-5f;
        if (drawn && first == played.size()) first = i;
        if (!drawn && std::fabs(played[i] - kInput) >= 1e-5f) ++strays;
        if (!drawn && first < played.size()) ++strays;
    }
    EXPECT_EQ(strays, 0);
    ASSERT_LT(first, played.size());
    EXPECT_GE(first, 100u);
    // Piece boundaries: the change at 100, or a block start.
    EXPECT_TRUE(first == 100 || first % kBlock == 0) << first;
    EXPECT_NEAR(SavedPoint2Y(State()), 0.25, 1e-9);
}

}  // namespace
