#pragma once
// The built TandrelMini library driven through either of its faces, the VST 2.4 file and the
// VST 3 bundle, behind one small host interface, so that one test checks both: parameters by
// host index (the VST 3 parameter ids are the same numbers), automation arriving with the
// next block (inside it, at its offset, in VST 3), the plug-in's own bypass, state, restart
// and latency, and blocks of two main and two side-chain channels.
//
// The VST 3 instance runs as an offline render unless asked for real time: offline, a change
// inside a block plays from its offset in that very block; in real time it plays from the
// first block after the plug-in's preparing thread is done, whenever that is, which a
// comparison of two instances cannot wait for.
// The VST 2.4 instance is automated between blocks from the thread that processes, as a host's
// sequencer does, which the plug-in prepares at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "hosts/vst3/interfaces/iaudioprocessor.h"
#include "hosts/vst3/interfaces/icomponent.h"
#include "hosts/vst3/interfaces/ieditcontroller.h"
#include "tests/hosts/vst3/tandrel_mini_bundle.h"
#include "tests/hosts/vst3/vst3_test_host.h"
#include "tools/render/kiv_parameter_lookup.h"
#include "tools/vst2host/kiv_vst2_plugin.h"

namespace tandrel_mini_test {

struct FaceSettings {
    double sampleRate = 48000.0;
    int32_t maxBlock = 512;
    bool realTime = false;  // VST 3: kRealtime process mode instead of kOffline
};

class Face {
public:
    virtual ~Face() = default;
    virtual const char* Name() const = 0;
    // Loads, creates and starts an instance; false with Error() saying why.
    virtual bool Open(const FaceSettings& settings) = 0;
    virtual std::string Error() const = 0;
    // The plug-in's own parameters (host indices 0 .. count - 1), bypass not among them.
    virtual int32_t ParameterCount() = 0;
    virtual double Get(int32_t index) = 0;
    // The display text of the parameter's value.
    virtual std::string Display(int32_t index) = 0;
    // Hands automation waiting for the next block over at once (VST 3: a block of no samples).
    virtual void Flush() {}
    // A host value for the next block, at `offset` within it (VST 2.4: before it).
    virtual void Automate(int32_t index, double value, int32_t offset = 0) = 0;
    // The plug-in's own bypass from the next block on; false when the face has none.
    virtual bool Bypass(bool on, int32_t offset = 0) = 0;
    // Whether it is bypassed now (a loaded state may have switched it).
    virtual bool IsBypassed() { return false; }
    virtual std::vector<uint8_t> SaveState() = 0;
    virtual bool LoadState(const std::vector<uint8_t>& bytes) = 0;
    // Stops and starts processing as a host does around a transport jump.
    virtual void Restart() = 0;
    virtual int32_t Latency() = 0;
    // Factory programs, selected as a host's program list selects them (VST 2.4 only: the
    // VST 3 face has no program list); 0 when there are none.
    virtual int32_t ProgramCount() { return 0; }
    virtual void SelectProgram(int32_t) {}
    // The preset slot (0..7) by a MIDI program change with the next block (VST 2.4 only); the
    // plug-in's update thread carries it out soon after. False when the face cannot send one.
    virtual bool SelectSlot(int32_t) { return false; }
    // One block; `side` may be null (the side-chain silent / its bus not given).
    virtual void Process(float* const* main, float* const* side, float** out, int32_t frames) = 0;

    // The host index of a parameter by its full name ("Threshold (Processor 1)"); the same in
    // both faces. Looked up once per process through the VST 2.4 face's names.
    static int32_t Index(const std::string& fullName);
    void Set(const std::string& fullName, double value) { Automate(Index(fullName), value); }
    std::string Display(const std::string& fullName) {
        Flush();
        return Display(Index(fullName));
    }
    // Gives attributes of the plug-in's own settings (product settings that are no
    // parameters) new values in its state.
    void SetInState(const std::vector<std::pair<std::string, std::string>>& attributes) {
        Flush();
        const std::vector<uint8_t> state = SaveState();
        std::string text(state.begin(), state.end());
        for (const auto& [key, value] : attributes) {
            const size_t at = text.find(" " + key + "=\"");
            ASSERT_NE(at, std::string::npos) << key << " not in the state";
            const size_t start = at + key.size() + 3;
            text.replace(start, text.find('"', start) - start, value);
        }
        ASSERT_TRUE(LoadState(std::vector<uint8_t>(text.begin(), text.end())));
    }
    // Adds to the state's root a setting the plug-in writes only when it is not at its
    // default ("Oversampling").
    void AddToState(const std::string& key, const std::string& value) {
        Flush();
        const std::vector<uint8_t> state = SaveState();
        std::string text(state.begin(), state.end());
        ASSERT_EQ(text.find(" " + key + "=\""), std::string::npos) << key << " already in the state";
        size_t root = text.find('<');
        while (root != std::string::npos && (text.compare(root, 2, "<?") == 0 || text.compare(root, 2, "<!") == 0))
            root = text.find('<', root + 1);
        ASSERT_NE(root, std::string::npos) << "no root in the state";
        text.insert(text.find_first_of(" />", root + 1), " " + key + "=\"" + value + "\"");
        ASSERT_TRUE(LoadState(std::vector<uint8_t>(text.begin(), text.end())));
    }

    // Whole planar buffers in blocks of `block` (the side chain silent); answers two outputs.
    std::vector<std::vector<float>> Render(std::vector<std::vector<float>> inputs, int32_t block) {
        const size_t frames = inputs[0].size();
        inputs.resize(2, std::vector<float>(frames, 0.0f));
        std::vector<std::vector<float>> outputs(2, std::vector<float>(frames, 0.0f));
        for (size_t start = 0; start < frames; start += static_cast<size_t>(block)) {
            const auto length = static_cast<int32_t>(std::min<size_t>(static_cast<size_t>(block), frames - start));
            float* in[2] = {inputs[0].data() + start, inputs[1].data() + start};
            float* out[2] = {outputs[0].data() + start, outputs[1].data() + start};
            Process(in, nullptr, out, length);
        }
        return outputs;
    }
};

class Vst2Face : public Face {
public:
    const char* Name() const override { return "VST 2.4"; }
    bool Open(const FaceSettings& settings) override {
        if (!plugin_.Load(KIV_TANDREL_MINI_PATH, {settings.sampleRate, settings.maxBlock})) return false;
        plugin_.Open();
        return true;
    }
    std::string Error() const override { return plugin_.ErrorText(); }
    int32_t ParameterCount() override { return plugin_.NumParams(); }
    double Get(int32_t index) override { return plugin_.GetParameter(index); }
    std::string Display(int32_t index) override { return plugin_.ParameterDisplay(index); }
    void Automate(int32_t index, double value, int32_t) override {
        plugin_.SetParameter(index, static_cast<float>(value));
    }
    // The host's soft bypass: the host keeps it itself, a loaded state does not change it.
    bool Bypass(bool on, int32_t) override {
        bypassed_ = on;
        return plugin_.Dispatch(effSetBypass, 0, on ? 1 : 0) != 0;
    }
    bool IsBypassed() override { return bypassed_; }
    std::vector<uint8_t> SaveState() override { return plugin_.GetChunk(); }
    bool LoadState(const std::vector<uint8_t>& bytes) override { return plugin_.SetChunk(bytes); }
    void Restart() override {
        plugin_.Dispatch(effStopProcess);
        plugin_.Dispatch(effMainsChanged, 0, 0);
        plugin_.Dispatch(effMainsChanged, 0, 1);
        plugin_.Dispatch(effStartProcess);
    }
    int32_t Latency() override { return plugin_.Latency(); }
    int32_t ProgramCount() override { return plugin_.NumPrograms(); }
    void SelectProgram(int32_t program) override { plugin_.Dispatch(effSetProgram, 0, program); }
    bool SelectSlot(int32_t slot) override {
        KivVst2MidiMessage change;
        change.bytes[0] = 0xC0;
        change.bytes[1] = static_cast<uint8_t>(slot);
        plugin_.ProcessEvents({change});
        return true;
    }
    void Process(float* const* main, float* const* side, float** out, int32_t frames) override {
        silence_.assign(static_cast<size_t>(std::max(frames, 1)), 0.0f);
        float* in[4] = {main[0], main[1], side ? side[0] : silence_.data(), side ? side[1] : silence_.data()};
        if (accumulating_) plugin_.Effect()->process(plugin_.Effect(), in, out, frames);
        else plugin_.ProcessReplacing(in, out, frames);
    }
    KivVst2Plugin& Plugin() { return plugin_; }
    // Blocks go through the older entry that adds into the outputs (AEffect::process).
    void SetAccumulating(bool on) { accumulating_ = on; }

private:
    KivVst2Plugin plugin_;
    std::vector<float> silence_;
    bool bypassed_ = false;
    bool accumulating_ = false;
};

class Vst3Face : public Face {
public:
    ~Vst3Face() override {
        if (component_) {
            if (active_) {
                processor_->setProcessing(0);
                component_->setActive(0);
            }
            if (processor_) processor_->release();
            if (controller_) controller_->release();
            component_->terminate();
            component_->release();
        }
        if (factory_) factory_->release();
    }
    const char* Name() const override { return "VST 3"; }
    bool Open(const FaceSettings& settings) override {
        using namespace Vst3TestHost;
        if (!library_.Load(kTandrelMiniBinary)) return Fail(library_.ErrorText());
        using Entry = IPluginFactory* (*)();
        auto entry = reinterpret_cast<Entry>(library_.Symbol("GetPluginFactory"));
        factory_ = entry ? entry() : nullptr;
        if (!factory_) return Fail("no factory");
        void* object = nullptr;
        if (factory_->createInstance(kTandrelMiniClassId.bytes, IComponent::iid.bytes, &object) != kResultOk) return Fail("no instance");
        component_ = static_cast<IComponent*>(object);
        if (component_->initialize(&host_) != kResultOk) return Fail("initialize failed");
        controller_ = Query<IEditController>(component_);
        processor_ = Query<IAudioProcessor>(component_);
        if (!controller_ || !processor_) return Fail("no controller or processor");
        component_->activateBus(kAudio, kInput, 1, 1);  // the side chain
        mode_ = settings.realTime ? kRealtime : kOffline;
        ProcessSetup setup{mode_, kSample32, settings.maxBlock, settings.sampleRate};
        if (processor_->setupProcessing(setup) != kResultOk) return Fail("setupProcessing failed");
        if (component_->setActive(1) != kResultOk || processor_->setProcessing(1) != kResultOk) return Fail("not started");
        active_ = true;
        return true;
    }
    std::string Error() const override { return error_; }
    int32_t ParameterCount() override {
        int32_t count = 0;
        for (int32_t position = 0; position < controller_->getParameterCount(); ++position) {
            Steinberg::Vst::ParameterInfo info{};
            controller_->getParameterInfo(position, info);
            count += info.id < kFirstControllerId && info.id != kBypassId;
        }
        return count;
    }
    double Get(int32_t index) override { return controller_->getParamNormalized(static_cast<uint32_t>(index)); }
    std::string Display(int32_t index) override {
        Steinberg::String128 text{};
        controller_->getParamStringByValue(static_cast<uint32_t>(index), Get(index), text);
        std::string narrow;
        for (char16_t unit : Vst3TestHost::FromString128(text)) narrow.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
        return narrow;
    }
    void Flush() override {
        if (changes_.queues.empty()) return;
        float* none[2] = {nullptr, nullptr};
        Process(none, nullptr, none, 0);
    }
    void Automate(int32_t index, double value, int32_t offset) override {
        Queue(static_cast<uint32_t>(index)).points.emplace_back(offset, value);
    }
    bool Bypass(bool on, int32_t offset) override {
        Queue(kBypassId).points.emplace_back(offset, on ? 1.0 : 0.0);
        return true;
    }
    bool IsBypassed() override { return controller_->getParamNormalized(kBypassId) > 0.5; }
    std::vector<uint8_t> SaveState() override {
        Vst3TestHost::MemoryStream stream;
        if (component_->getState(&stream) != Steinberg::kResultOk) return {};
        return stream.bytes;
    }
    // As a host restores a project: the processor's state, then the controller's copy.
    bool LoadState(const std::vector<uint8_t>& bytes) override {
        Vst3TestHost::MemoryStream stream;
        stream.bytes = bytes;
        if (component_->setState(&stream) != Steinberg::kResultOk) return false;
        stream.position = 0;
        controller_->setComponentState(&stream);
        return true;
    }
    void Restart() override {
        processor_->setProcessing(0);
        component_->setActive(0);
        component_->setActive(1);
        processor_->setProcessing(1);
    }
    int32_t Latency() override { return static_cast<int32_t>(processor_->getLatencySamples()); }
    void Process(float* const* main, float* const* side, float** out, int32_t frames) override {
        using namespace Steinberg::Vst;
        float* in[2] = {main[0], main[1]};
        silence_.assign(static_cast<size_t>(std::max(frames, 1)), 0.0f);
        float* key[2] = {side ? side[0] : silence_.data(), side ? side[1] : silence_.data()};
        AudioBusBuffers inputs[2] = {{2, 0, {in}}, {2, 0, {key}}};
        AudioBusBuffers output{2, 0, {out}};
        ProcessData data{};
        data.processMode = mode_;
        data.numSamples = frames;
        data.numInputs = 2;
        data.numOutputs = 1;
        data.inputs = inputs;
        data.outputs = &output;
        // Points of one parameter in the order of their offsets, as hosts send them.
        for (auto& queue : changes_.queues)
            std::stable_sort(queue.points.begin(), queue.points.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
        data.inputParameterChanges = &changes_;
        EXPECT_EQ(processor_->process(data), Steinberg::kResultOk);
        changes_.queues.clear();
    }

private:
    static constexpr uint32_t kFirstControllerId = 10000;
    static constexpr uint32_t kBypassId = 32767;

    bool Fail(std::string text) {
        error_ = std::move(text);
        return false;
    }
    Vst3TestHost::ValueQueue& Queue(uint32_t id) {
        for (auto& queue : changes_.queues)
            if (queue.id == id) return queue;
        changes_.queues.emplace_back(id);
        return changes_.queues.back();
    }

    KivPlatform::DynamicLibrary library_;
    Vst3TestHost::HostApplication host_;
    Steinberg::IPluginFactory* factory_ = nullptr;
    Steinberg::Vst::IComponent* component_ = nullptr;
    Steinberg::Vst::IEditController* controller_ = nullptr;
    Steinberg::Vst::IAudioProcessor* processor_ = nullptr;
    Vst3TestHost::ParameterChanges changes_;
    std::vector<float> silence_;
    Steinberg::int32 mode_ = Steinberg::Vst::kOffline;
    bool active_ = false;
    std::string error_;
};

inline int32_t Face::Index(const std::string& fullName) {
    static std::map<std::string, int32_t> indices;
    auto found = indices.find(fullName);
    if (found != indices.end()) return found->second;
    KivVst2Plugin names;
    EXPECT_TRUE(names.Load(KIV_TANDREL_MINI_PATH)) << names.ErrorText();
    const int32_t index = KivParameterLookup::FindIndex(names, fullName);
    indices[fullName] = index;
    return index;
}

// kVst3RealTime: the VST 3 face, opened with FaceSettings::realTime set by the test.
enum class FaceKind { kVst2, kVst3, kVst3RealTime };

inline std::unique_ptr<Face> MakeFace(FaceKind kind) {
    if (kind == FaceKind::kVst2) return std::make_unique<Vst2Face>();
    return std::make_unique<Vst3Face>();
}

inline std::string FaceName(const ::testing::TestParamInfo<FaceKind>& info) {
    return info.param == FaceKind::kVst2 ? "Vst2" : info.param == FaceKind::kVst3 ? "Vst3" : "Vst3RealTime";
}

}  // namespace tandrel_mini_test
