#pragma once
#include <atomic>
#include <cstring>
#include <memory>
#include <vector>

#include "hosts/vst3/interfaces/imidimapping.h"
#include "hosts/vst3/sdk/audio_effect.h"
#include "hosts/vst3/sdk/edit_controller_ex1.h"
#include "hosts/vst3/sdk/fobject.h"
#include "plugin/kiv_audio_plugin.h"
#include "plugin/kiv_plugin_host.h"
#include "threads/kiv_mutex.h"

// Presents one KivAudioPlugin to a VST 3 host as a single object that is processor and edit
// controller at once. Host calls become calls on the plug-in; the plug-in reaches the host
// back through the KivPluginHost side. Besides the plug-in's own parameters (identifiers
// 0..n-1) hosts see "Bypass" and 130 MIDI controller parameters. Owns the plug-in. Every
// host-facing operation catches what the plug-in throws and answers failure.
class KivAudioPluginVST3Adapter : public Steinberg::FObject,
                                  public Steinberg::Vst::AudioEffect,
                                  public Steinberg::Vst::EditControllerEx1,
                                  public Steinberg::Vst::IMidiMapping,
                                  public KivPluginHost {
public:
    class KivEditor;
    using tresult = Steinberg::tresult;
    using ParamID = Steinberg::Vst::ParamID;
    using ParamValue = Steinberg::Vst::ParamValue;

    static constexpr ParamID kBypassId = 32767;
    static constexpr ParamID kFirstControllerId = 10000;
    static constexpr int32_t kControllerCount = 130;
    static constexpr int32_t kAftertouchController = 128;
    static constexpr int32_t kPitchBendController = 129;
    // The note number the MIDI processor takes for channel pressure.
    static constexpr int32_t kChannelPressureNote = 255;

    explicit KivAudioPluginVST3Adapter(std::unique_ptr<KivAudioPlugin> plugin);
    ~KivAudioPluginVST3Adapter() override;

    KivAudioPlugin& GetPlugin() noexcept { return *plugin_; }
    bool IsInProcess() const noexcept { return inProcess_.load(); }
    // The name the host application gave on initialise; empty when it gave none.
    const KivString& GetHostName() const noexcept { return hostName_; }
    // Adapters constructed and not yet destroyed in this process.
    static int32_t LiveCount() noexcept { return liveCount_.load(); }

    // ---- FUnknown ------------------------------------------------------------------------
    tresult KIV_VST3_API queryInterface(const Steinberg::TUID iid, void** object) override;
    Steinberg::uint32 KIV_VST3_API addRef() override { return AddReference(); }
    Steinberg::uint32 KIV_VST3_API release() override { return ReleaseReference(); }

    // ---- IPluginBase (component and controller alike) ------------------------------------
    tresult KIV_VST3_API initialize(Steinberg::FUnknown* context) override;
    tresult KIV_VST3_API terminate() override;

    // ---- IComponent ----------------------------------------------------------------------
    tresult KIV_VST3_API getControllerClassId(Steinberg::TUID classId) override;
    tresult KIV_VST3_API setActive(Steinberg::TBool state) override;
    // State of the component and of the controller alike: the plug-in's state document.
    tresult KIV_VST3_API setState(Steinberg::IBStream* state) override;
    tresult KIV_VST3_API getState(Steinberg::IBStream* state) override;

    // ---- IAudioProcessor -----------------------------------------------------------------
    tresult KIV_VST3_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) override;
    tresult KIV_VST3_API process(Steinberg::Vst::ProcessData& data) override;
    Steinberg::uint32 KIV_VST3_API getLatencySamples() override;
    Steinberg::uint32 KIV_VST3_API getTailSamples() override;

    // ---- IEditController -----------------------------------------------------------------
    tresult KIV_VST3_API getParamStringByValue(ParamID id, ParamValue valueNormalized,
                                               Steinberg::String128 string) override;
    tresult KIV_VST3_API getParamValueByString(ParamID id, Steinberg::TChar* string,
                                               ParamValue& valueNormalized) override;
    ParamValue KIV_VST3_API getParamNormalized(ParamID id) override;
    tresult KIV_VST3_API setParamNormalized(ParamID id, ParamValue value) override;
    Steinberg::IPlugView* KIV_VST3_API createView(Steinberg::FIDString name) override;

    // ---- IMidiMapping --------------------------------------------------------------------
    tresult KIV_VST3_API getMidiControllerAssignment(Steinberg::int32 busIndex, Steinberg::int16 channel,
                                                     Steinberg::Vst::CtrlNumber midiControllerNumber,
                                                     ParamID& id) override;

    // ---- KivPluginHost -------------------------------------------------------------------
    void SendAutomation(int32_t index, double value) override;
    void GenerateMIDIEvent(int32_t deltaFrames, const uint8_t* bytes) override;
    void LatencyChanged() override;
    void ChangeEditorSize(int32_t width, int32_t height) override;
    // Reports the plug-in's own bypass switch to the host as a change of "Bypass".
    void SendBypassAutomation(bool on) override;
    // An editor gesture: the automation in between is reported without gestures of its own.
    void BeginEdit(int32_t index) override;
    void EndEdit(int32_t index) override;

    // The view tells the adapter it is gone.
    void ForgetEditor(KivEditor* editor) noexcept;

private:
    void Initialize(Steinberg::FUnknown* context);
    void TakeHostName(Steinberg::FUnknown* context);
    void CreateBuses();
    void CreateEventBuses();
    void CreateParameters();
    bool IsPluginParameter(ParamID id);
    static bool IsControllerParameter(ParamID id) noexcept;
    void ApplyParameterChange(ParamID id, ParamValue value, bool fromProcess);
    void SendController(int32_t controller, ParamValue value);
    void ApplyInputParameterChanges(Steinberg::Vst::ProcessData& data);
    void UpdateTransport(const Steinberg::Vst::ProcessContext& context);
    void DeliverInputEvents(Steinberg::Vst::ProcessData& data);
    void ProcessAudio(Steinberg::Vst::ProcessData& data);
    void SendOutgoingEvents(Steinberg::Vst::ProcessData& data);
    void ReportEdit(ParamID id, ParamValue value);
    int32_t InputBusCount();

    std::unique_ptr<KivAudioPlugin> plugin_;
    Steinberg::FUnknown* hostContext_ = nullptr;
    KivString hostName_;
    bool initialized_ = false;
    Steinberg::Vst::SpeakerArrangement inputArrangement_ = Steinberg::Vst::SpeakerArr::kStereo;
    Steinberg::Vst::SpeakerArrangement outputArrangement_ = Steinberg::Vst::SpeakerArr::kStereo;
    Steinberg::uint32 latency_ = 0;
    Steinberg::uint32 tail_ = 0;
    Steinberg::int32 processMode_ = Steinberg::Vst::kRealtime;
    double lastTransportPosition_ = 0.0;
    std::atomic<bool> inProcess_{false};
    KivEditor* editor_ = nullptr;
    // The parameter of the editor gesture in progress, or -1 (gestures come from the GUI thread).
    int32_t gestureIndex_ = -1;

    // Outgoing MIDI of the plug-in, sent on the event output with the next block.
    struct OutgoingMidi {
        int32_t deltaFrames;
        uint8_t bytes[3];
    };
    KivMutex outgoingLock_;
    std::vector<OutgoingMidi> outgoing_;
    std::vector<OutgoingMidi> sending_;
    // Channel pointers laid out as the plug-in's groups: eight entries per bus.
    float* inputChannels_[KivAudioPlugin::kMaxHostChannels] = {};
    float* outputChannels_[KivAudioPlugin::kMaxHostChannels] = {};

    static std::atomic<int32_t> liveCount_;
};
