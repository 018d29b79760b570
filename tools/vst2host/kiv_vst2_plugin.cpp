#include "tools/vst2host/kiv_vst2_plugin.h"

#include <algorithm>
#include <cstring>

namespace {

// Plug-ins are known to write past the interface's text lengths: read into a roomy buffer.
constexpr size_t kTextBufferSize = 512;

}  // namespace

bool KivVst2Plugin::Load(std::string_view utf8Path, const KivVst2HostSettings& settings) {
    Close();
    host_.settings = settings;
    host_.ClearReports();
    if (!library_.Load(utf8Path)) return Fail(library_.ErrorText());
    VstPluginMainProc entry = FindEntry();
    if (!entry) return Fail("No VST 2 entry (VSTPluginMain or main) in \"" + std::string(utf8Path) + "\".");
    AEffect* effect = nullptr;
    {
        KivVst2HostContext::CreationScope scope(&host_);
        effect = entry(&KivVst2HostContext::Callback);
    }
    const std::string quoted = "\"" + std::string(utf8Path) + "\"";
    if (!effect) return Fail("The plug-in " + quoted + " created no instance.");
    if (effect->magic != kEffectMagic) return Fail("The plug-in " + quoted + " is not a VST 2 effect.");
    effect->user = &host_;
    effect_ = effect;
    error_.clear();
    return true;
}

bool KivVst2Plugin::Fail(std::string text) {
    library_.Unload();
    error_ = std::move(text);
    return false;
}

VstPluginMainProc KivVst2Plugin::FindEntry() {
    void* entry = library_.Symbol("VSTPluginMain");
    if (!entry) entry = library_.Symbol("main");
    return reinterpret_cast<VstPluginMainProc>(entry);
}

void KivVst2Plugin::Open() {
    if (!effect_ || open_) return;
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(host_.settings.sampleRate));
    Dispatch(effSetBlockSize, 0, host_.settings.blockSize);
    Dispatch(effMainsChanged, 0, 1);
    Dispatch(effStartProcess);
    open_ = true;
}

void KivVst2Plugin::Close() {
    if (!effect_) return;
    if (open_) {
        Dispatch(effStopProcess);
        Dispatch(effMainsChanged, 0, 0);
        open_ = false;
    }
    Dispatch(effClose);
    effect_ = nullptr;
    library_.Unload();
}

intptr_t KivVst2Plugin::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    return effect_ ? effect_->dispatcher(effect_, opcode, index, value, ptr, opt) : 0;
}

std::string KivVst2Plugin::ReadText(int32_t opcode, int32_t index) {
    char buffer[kTextBufferSize] = {};
    Dispatch(opcode, index, 0, buffer);
    buffer[kTextBufferSize - 1] = '\0';
    return buffer;
}

std::string KivVst2Plugin::EffectName() { return ReadText(effGetEffectName); }
std::string KivVst2Plugin::VendorString() { return ReadText(effGetVendorString); }
std::string KivVst2Plugin::ProductString() { return ReadText(effGetProductString); }

int32_t KivVst2Plugin::CanDo(const char* text) {
    const intptr_t answer = Dispatch(effCanDo, 0, 0, const_cast<char*>(text));
    return answer > 0 ? 1 : (answer < 0 ? -1 : 0);
}

float KivVst2Plugin::GetParameter(int32_t index) { return effect_ ? effect_->getParameter(effect_, index) : 0.0f; }

void KivVst2Plugin::SetParameter(int32_t index, float value) {
    if (effect_) effect_->setParameter(effect_, index, value);
}

std::vector<uint8_t> KivVst2Plugin::GetChunk(bool isPreset) {
    void* data = nullptr;
    const intptr_t size = Dispatch(effGetChunk, isPreset ? 1 : 0, 0, &data);
    if (size <= 0 || !data) return {};
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
}

bool KivVst2Plugin::SetChunk(const std::vector<uint8_t>& bytes, bool isPreset) {
    // Plug-ins take the block as writable memory; hand them a copy.
    std::vector<uint8_t> copy = bytes;
    return Dispatch(effSetChunk, isPreset ? 1 : 0, static_cast<intptr_t>(copy.size()), copy.data()) != 0;
}

void KivVst2Plugin::ProcessReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
    if (!effect_) return;
    host_.SetProcessing(true);
    effect_->processReplacing(effect_, inputs, outputs, sampleFrames);
    host_.SetProcessing(false);
    host_.transport.Advance(sampleFrames);
}

void KivVst2Plugin::ProcessInBlocks(const std::vector<std::vector<float>>& inputs,
                                    std::vector<std::vector<float>>& outputs, int64_t frames) {
    PrepareBlockPointers(inputs, outputs, frames);
    const int64_t blockSize = std::max<int32_t>(1, host_.settings.blockSize);
    for (int64_t offset = 0; offset < frames; offset += blockSize) {
        PointAtBlock(inputs, outputs, frames, offset);
        const auto length = static_cast<int32_t>(std::min(blockSize, frames - offset));
        ProcessReplacing(inputPointers_.data(), outputPointers_.data(), length);
    }
}

void KivVst2Plugin::PrepareBlockPointers(const std::vector<std::vector<float>>& /*inputs*/,
                                         std::vector<std::vector<float>>& outputs, int64_t frames) {
    outputs.resize(static_cast<size_t>(std::max(0, NumOutputs())));
    for (std::vector<float>& channel : outputs) channel.assign(static_cast<size_t>(frames), 0.0f);
    silence_.assign(static_cast<size_t>(std::max<int32_t>(1, host_.settings.blockSize)), 0.0f);
    // One entry more than announced: some plug-ins peek one channel past their count.
    inputPointers_.assign(static_cast<size_t>(std::max(0, NumInputs())) + 1, silence_.data());
    outputPointers_.assign(outputs.size() + 1, nullptr);
}

void KivVst2Plugin::PointAtBlock(const std::vector<std::vector<float>>& inputs,
                                 std::vector<std::vector<float>>& outputs, int64_t frames, int64_t offset) {
    for (size_t c = 0; c + 1 < inputPointers_.size(); ++c) {
        const bool present = c < inputs.size() && static_cast<int64_t>(inputs[c].size()) >= frames;
        // Plug-ins take non-const pointers but do not write their inputs in replacing mode.
        inputPointers_[c] = present ? const_cast<float*>(inputs[c].data()) + offset : silence_.data();
    }
    for (size_t c = 0; c < outputs.size(); ++c) outputPointers_[c] = outputs[c].data() + offset;
}

int32_t KivVst2Plugin::ProcessEvents(const std::vector<KivVst2MidiMessage>& messages) {
    eventBlock_.Assign(messages);
    return static_cast<int32_t>(Dispatch(effProcessEvents, 0, 0, eventBlock_.Events()));
}
