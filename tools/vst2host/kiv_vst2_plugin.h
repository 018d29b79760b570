#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "hosts/vst2/vst2_abi.h"
#include "platform/kiv_dynamic_library.h"
#include "tools/vst2host/kiv_vst2_event_block.h"
#include "tools/vst2host/kiv_vst2_host_context.h"

// One VST 2.4 plug-in instance loaded from its library file and driven the way a host
// drives it: load, open, query, process, close. The base of the offline renderer and the
// benchmark. The instance keeps the host context whose address the plug-in holds, so it
// is neither copied nor moved. Driven from one thread.
class KivVst2Plugin {
public:
    KivVst2Plugin() = default;
    ~KivVst2Plugin() { Close(); }
    KivVst2Plugin(const KivVst2Plugin&) = delete;
    KivVst2Plugin& operator=(const KivVst2Plugin&) = delete;

    // Loads the library and creates an instance through its `VSTPluginMain` export (older
    // plug-ins: `main`). False on failure, with ErrorText() saying why.
    bool Load(std::string_view utf8Path, const KivVst2HostSettings& settings = {});
    // Readies the instance for processing: effOpen, the settings' sample rate and block
    // size, effMainsChanged on, effStartProcess.
    void Open();
    // effStopProcess and effMainsChanged off when open, effClose, then unloads the library.
    void Close();
    bool IsLoaded() const { return effect_ != nullptr; }
    bool IsOpen() const { return open_; }
    const std::string& ErrorText() const { return error_; }

    AEffect* Effect() const { return effect_; }
    KivVst2HostContext& Host() { return host_; }
    // Any opcode, for what the methods below do not cover; 0 when nothing is loaded.
    intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);

    // ---- Identity (from the AEffect record and the dispatcher) ---------------------------
    std::string EffectName();
    std::string VendorString();
    std::string ProductString();
    int32_t VendorVersion() { return static_cast<int32_t>(Dispatch(effGetVendorVersion)); }
    int32_t VstVersion() { return static_cast<int32_t>(Dispatch(effGetVstVersion)); }
    int32_t Category() { return static_cast<int32_t>(Dispatch(effGetPlugCategory)); }
    // 1 yes, -1 no, 0 do not know.
    int32_t CanDo(const char* text);
    int32_t UniqueId() const { return effect_ ? effect_->uniqueID : 0; }
    int32_t Version() const { return effect_ ? effect_->version : 0; }
    int32_t NumPrograms() const { return effect_ ? effect_->numPrograms : 0; }
    int32_t NumParams() const { return effect_ ? effect_->numParams : 0; }
    int32_t NumInputs() const { return effect_ ? effect_->numInputs : 0; }
    int32_t NumOutputs() const { return effect_ ? effect_->numOutputs : 0; }
    int32_t Flags() const { return effect_ ? effect_->flags : 0; }
    bool HasFlag(int32_t flag) const { return (Flags() & flag) != 0; }
    // The latency the plug-in reports, in samples (read afresh: it may change at any time).
    int32_t Latency() const { return effect_ ? VstInitialDelay(*effect_) : 0; }

    // ---- Parameters (host values 0..1) ---------------------------------------------------
    std::string ParameterName(int32_t index) { return ReadText(effGetParamName, index); }
    std::string ParameterDisplay(int32_t index) { return ReadText(effGetParamDisplay, index); }
    std::string ParameterLabel(int32_t index) { return ReadText(effGetParamLabel, index); }
    float GetParameter(int32_t index);
    void SetParameter(int32_t index, float value);

    // ---- State ---------------------------------------------------------------------------
    // A copy of the plug-in's chunk; empty when it has none.
    std::vector<uint8_t> GetChunk(bool isPreset = false);
    bool SetChunk(const std::vector<uint8_t>& bytes, bool isPreset = false);

    // ---- Processing ----------------------------------------------------------------------
    // One block straight through processReplacing; the transport moves on by the block.
    void ProcessReplacing(float** inputs, float** outputs, int32_t sampleFrames);
    // Whole planar buffers, cut into blocks of the settings' block size as a host does.
    // `outputs` is made NumOutputs() channels of `frames` samples; missing input channels,
    // and channels with fewer than `frames` samples, are read as silence.
    void ProcessInBlocks(const std::vector<std::vector<float>>& inputs, std::vector<std::vector<float>>& outputs,
                         int64_t frames);
    // MIDI for the next block (effProcessEvents); the plug-in's answer.
    int32_t ProcessEvents(const std::vector<KivVst2MidiMessage>& messages);

private:
    bool Fail(std::string text);
    VstPluginMainProc FindEntry();
    std::string ReadText(int32_t opcode, int32_t index = 0);
    void PrepareBlockPointers(const std::vector<std::vector<float>>& inputs,
                              std::vector<std::vector<float>>& outputs, int64_t frames);
    void PointAtBlock(const std::vector<std::vector<float>>& inputs, std::vector<std::vector<float>>& outputs,
                      int64_t frames, int64_t offset);

    KivPlatform::DynamicLibrary library_;
    KivVst2HostContext host_;
    AEffect* effect_ = nullptr;
    bool open_ = false;
    std::string error_;
    KivVst2EventBlock eventBlock_;
    std::vector<float> silence_;
    std::vector<float*> inputPointers_;
    std::vector<float*> outputPointers_;
};
