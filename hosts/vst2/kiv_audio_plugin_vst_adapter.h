#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "hosts/bridge/kiv_host_bridge.h"
#include "hosts/bridge/kiv_host_midi_queue.h"
#include "hosts/vst2/aeff_editor.h"
#include "hosts/vst2/audio_effect_x.h"
#include "hosts/vst2/kiv_vst_plugin_description.h"
#include "hosts/vst2/kiv_vst_program_list.h"
#include "plugin/kiv_audio_plugin.h"
#include "plugin/kiv_editor_snapshot.h"

// Presents one KivAudioPlugin to a VST 2.4 host. Host calls become calls on the plug-in; the
// plug-in reaches the host back through the bridge (automation, MIDI, latency, whole-settings
// changes, editor size). The host hears of them from the thread that created the instance,
// the editor's idle or the plug-in's update thread, never from inside processing. Owns the
// plug-in. Every host-facing operation catches what the plug-in throws: a KivException
// silently, anything else traced with the operation's name.
class KivAudioPluginVSTAdapter : public AudioEffectX, public KivHostBridge {
public:
    class KivEditor;

    // 'KAe@' as a big-endian four-character code.
    static constexpr int32_t kUniqueId = VstFourCharCode('K', 'A', 'e', '@');
    static constexpr int32_t kVendorVersion = 1;
    // Hosts older than this get stereo groups and at most two outputs.
    static constexpr int32_t kFirstMultiChannelHost = 2300;

    KivAudioPluginVSTAdapter(audioMasterCallback audioMaster, std::unique_ptr<KivAudioPlugin> plugin);
    ~KivAudioPluginVSTAdapter() override;

    KivAudioPlugin& GetPlugin() noexcept { return *plugin_; }
    // The host's program list: program 0, the settings as they are, then `programs`. Set it
    // before the host sees the effect.
    void SetProgramList(std::unique_ptr<KivVstProgramList> programs);
    // Adapters constructed and not yet destroyed in this process.
    static int32_t LiveCount() noexcept { return liveCount_.load(); }

    // ---- AudioEffect / AudioEffectX --------------------------------------------------------
    void setParameter(int32_t index, float value) override;
    float getParameter(int32_t index) override;
    void getParameterName(int32_t index, char* text) override;
    void getParameterDisplay(int32_t index, char* text) override;
    void getParameterLabel(int32_t index, char* text) override;
    bool getParameterProperties(int32_t index, VstParameterProperties* properties) override;
    bool string2parameter(int32_t index, char* text) override;
    bool getEffectName(char* name) override;
    bool getProductString(char* text) override;
    bool getVendorString(char* text) override;
    int32_t getVendorVersion() override { return kVendorVersion; }
    void setProgram(int32_t program) override;
    void getProgramName(char* name) override;
    bool getProgramNameIndexed(int32_t category, int32_t index, char* text) override;
    int32_t canDo(char* text) override;
    // The host's soft bypass is the plug-in's own bypass (kAnswersSoftBypass). Once the host
    // has switched it, the host keeps it: a loaded chunk leaves it alone, since a VST 2.4 host
    // cannot read it back and would show a bypass the plug-in no longer has.
    static constexpr bool kAnswersSoftBypass = true;
    bool setBypass(bool bypass) override;
    bool getInputProperties(int32_t index, VstPinProperties* properties) override;
    bool getOutputProperties(int32_t index, VstPinProperties* properties) override;
    bool setSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output) override;
    bool getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output) override;
    void setSampleRate(float sampleRate) override;
    void setBlockSize(int32_t blockSize) override;
    void resume() override;
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;
    void process(float** inputs, float** outputs, int32_t sampleFrames) override;
    int32_t processEvents(VstEvents* events) override;
    int32_t getChunk(void** data, bool isPreset) override;
    int32_t setChunk(void* data, int32_t byteSize, bool isPreset) override;
    // The editor picture of kiv_vst_editor_snapshot.h; anything else answers 0.
    intptr_t vendorSpecific(int32_t index, intptr_t value, void* ptr, float opt) override;

    // ---- KivPluginHost ---------------------------------------------------------------------
    void ChangeEditorSize(int32_t width, int32_t height) override;

protected:
    // ---- KivHostBridge: how a VST 2.4 host is told ---------------------------------------
    bool DeliversOnPluginThread() const noexcept override { return true; }
    void RequestDelivery() noexcept override;
    void TellBeginEdit(int32_t slot) override;
    void TellValue(int32_t slot, double value, bool inGesture) override;
    void TellEndEdit(int32_t slot) override;
    // initialDelay takes the new latency before audioMasterIOChanged makes the host read it.
    void TellLatency() override;
    void TellSettingsChanged() override;

private:
    void Construct();
    void DeclareChannels(int32_t hostVersion);
    void WriteIdentity();
    bool IsSynth() const;
    void ResumePlugin();
    void AskForSideChainPins();
    void PerformProcessing(float** inputs, float** outputs, int32_t sampleFrames, bool replacing);
    void PrepareProcessing();
    void UpdateTransportFromHost();
    void DeliverIncomingEvents();
    bool NeedsRepacking() const;
    void ProcessRepacked(float** inputs, float** outputs, int32_t sampleFrames, bool replacing);
    void SendOutgoingEvents();
    bool IsPluginSlot(int32_t slot) const noexcept { return slot >= 0 && slot < BypassSlot(); }
    void DescribeCategory(int32_t index, VstParameterProperties& properties);
    void DescribeSteps(int32_t index, VstParameterProperties& properties);
    bool DescribePin(int32_t index, int32_t count, const KivString& name, VstPinProperties* properties);
    int32_t ArrangedInputChannels(const VstSpeakerArrangement* input) const;
    int32_t ArrangedOutputChannels(const VstSpeakerArrangement* output) const;

    std::unique_ptr<KivAudioPlugin> plugin_;
    KivVstPluginDescription description_;
    std::unique_ptr<KivVstProgramList> programs_;
    double lastSongPosition_ = 0.0;
    KivHostMidiQueue incomingEvents_;
    std::vector<uint8_t> chunk_;
    // Declared after the plug-in: it goes first.
    std::unique_ptr<KivEditorSnapshot> snapshot_;
    std::vector<uint32_t> snapshotPixels_;
    // Channel pointers laid out eight to a group for plug-ins whose groups are narrower.
    float* repackedInputs_[KivAudioPlugin::kMaxHostChannels] = {};
    float* repackedOutputs_[KivAudioPlugin::kMaxHostChannels] = {};
    // The outgoing events and a VstEvents record pointing at them (kept in 8-byte words for
    // its alignment), both sized for a full queue when the adapter is built.
    std::vector<VstMidiEvent> outgoingEvents_;
    std::vector<uint64_t> outgoingBlock_;

    static std::atomic<int32_t> liveCount_;
};

// The editor as the host sees it: the plug-in's editor window, built on the first question for
// its size and placed in the host's window by open.
class KivAudioPluginVSTAdapter::KivEditor : public AEffEditor {
public:
    KivEditor(KivAudioPluginVSTAdapter& adapter);

    bool getRect(ERect** rect) override;
    bool open(void* parentWindow) override;
    void close() override;
    void idle() override;
    void update() override;
    bool onKeyDown(VstKeyCode& key) override;
    bool onKeyUp(VstKeyCode& key) override;
    bool isOpen() const override;

private:
    // The plug-in's editor, built when missing; null when the plug-in has none.
    KivAudioPlugin::KivEditor* PluginEditor();
    void UpdateRect();
    bool ForwardKey(bool down, const VstKeyCode& key);

    KivAudioPluginVSTAdapter& adapter_;
    ERect rect_{};
};
