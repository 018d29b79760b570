#pragma once
#include <atomic>
#include <cstring>
#include <memory>
#include <vector>

#include "hosts/bridge/kiv_host_bridge.h"
#include "hosts/vst3/interfaces/imidimapping.h"
#include "hosts/vst3/interfaces/iparameterchanges.h"
#include "hosts/vst3/sdk/audio_effect.h"
#include "hosts/vst3/sdk/edit_controller_ex1.h"
#include "hosts/vst3/sdk/fobject.h"
#include "hosts/vst3/kiv_vst3_run_loop_pump.h"
#include "platform/kiv_thread_timer.h"
#include "plugin/kiv_audio_plugin.h"

// Presents one KivAudioPlugin to a VST 3 host as a single object that is processor and edit
// controller at once. Host calls become calls on the plug-in; the plug-in reaches the host
// back through the bridge: automation, latency and whole-settings changes reach the host
// from the thread that initialised the component (restartComponent and performEdit are
// main-thread calls), at once when posted there, otherwise at the host's next call on that
// thread or the editor's next timer. Besides the plug-in's own parameters (identifiers
// 0..n-1) hosts see "Bypass" and 130 MIDI controller parameters. Owns the plug-in. Every
// host-facing operation catches what the plug-in throws and answers failure.
class KivAudioPluginVST3Adapter : public Steinberg::FObject,
                                  public Steinberg::Vst::AudioEffect,
                                  public Steinberg::Vst::EditControllerEx1,
                                  public Steinberg::Vst::IMidiMapping,
                                  public KivHostBridge {
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
    // The side-chain bus reaches the plug-in only while the host has it switched on.
    tresult KIV_VST3_API activateBus(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection direction,
                                     Steinberg::int32 index, Steinberg::TBool state) override;
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
    // A handler that offers the host's run loop may carry the notification timer.
    tresult KIV_VST3_API setComponentHandler(Steinberg::Vst::IComponentHandler* handler) override;

    // ---- IMidiMapping --------------------------------------------------------------------
    tresult KIV_VST3_API getMidiControllerAssignment(Steinberg::int32 busIndex, Steinberg::int16 channel,
                                                     Steinberg::Vst::CtrlNumber midiControllerNumber,
                                                     ParamID& id) override;

    // ---- KivPluginHost -------------------------------------------------------------------
    void ChangeEditorSize(int32_t width, int32_t height) override;

    // The view tells the adapter it is gone.
    void ForgetEditor(KivEditor* editor) noexcept;
    // The editor's timer on the host's run loop: a chance to tell the host what is pending.
    void OnEditorTimer() noexcept { DeliverNotifications(); }
    // The plug-in's own timer on the initialising thread's message loop, where the system has
    // one (Windows): what other threads posted is told within an interval without the editor.
    static void OnNotificationTimer(void* adapter) noexcept;

protected:
    // ---- KivHostBridge: how a VST 3 host is told ------------------------------------------
    void TellBeginEdit(int32_t slot) override;
    // A value outside an editor gesture comes with a gesture of its own.
    void TellValue(int32_t slot, double value, bool inGesture) override;
    void TellEndEdit(int32_t slot) override;
    void TellLatency() override;
    void TellSettingsChanged() override;

private:
    void Initialize(Steinberg::FUnknown* context);
    // Where the system gives the plug-in no message loop of its own (Linux), a timer on the
    // run loop a host object offers (Linux::IRunLoop from the application or the component
    // handler) does what the thread timer does elsewhere.
    void StartNotificationPump(Steinberg::FUnknown* offeredBy);
    void StopNotificationPump();
    void TakeHostName(Steinberg::FUnknown* context);
    void CreateBuses();
    void CreateEventBuses();
    void CreateParameters();
    Steinberg::Vst::UnitID SectionUnit(const KivString& section, std::vector<KivString>& sections);
    bool IsPluginParameter(ParamID id);
    static bool IsControllerParameter(ParamID id) noexcept;
    void ApplyParameterChange(ParamID id, ParamValue value, bool fromProcess);
    void SendController(int32_t controller, ParamValue value);
    void UpdateTransport(const Steinberg::Vst::ProcessContext& context);
    void DeliverInputEvents(Steinberg::Vst::ProcessData& data);
    void ProcessAutomated(Steinberg::Vst::ProcessData& data);
    int32_t StartParameterQueues(Steinberg::Vst::ProcessData& data);
    void ApplyPointsUpTo(int32_t offset, int32_t queues);
    int32_t NextPointOffset(int32_t queues, int32_t end);
    bool LayOutBuses(Steinberg::Vst::ProcessData& data);
    void ProcessRange(Steinberg::Vst::ProcessData& data, int32_t start, int32_t end);
    void FlagSilentOutputs(Steinberg::Vst::ProcessData& data);
    bool InputsFlaggedSilent(const Steinberg::Vst::ProcessData& data) const;
    bool SkipsSilentBlock(Steinberg::Vst::ProcessData& data);
    void CountQuietFrames(const Steinberg::Vst::ProcessData& data);
    void SendOutgoingEvents(Steinberg::Vst::ProcessData& data);
    ParamID IdOfSlot(int32_t slot) const noexcept;
    int32_t InputBusCount();

    std::unique_ptr<KivAudioPlugin> plugin_;
    Steinberg::FUnknown* hostContext_ = nullptr;
    KivPlatform::ThreadTimer notificationTimer_ = nullptr;
    KivVST3RunLoopPump* notificationPump_ = nullptr;
    // The object whose run loop carries the pump (the application or the handler).
    Steinberg::FUnknown* pumpOwner_ = nullptr;
    KivString hostName_;
    bool initialized_ = false;
    Steinberg::Vst::SpeakerArrangement inputArrangement_ = Steinberg::Vst::SpeakerArr::kStereo;
    Steinberg::Vst::SpeakerArrangement outputArrangement_ = Steinberg::Vst::SpeakerArr::kStereo;
    Steinberg::uint32 latency_ = 0;
    Steinberg::uint32 tail_ = 0;
    Steinberg::int32 processMode_ = Steinberg::Vst::kRealtime;
    double lastTransportPosition_ = 0.0;
    KivEditor* editor_ = nullptr;
    // Frames of silent input in a row for which the plug-in's output was exactly silent.
    int64_t quietFrames_ = 0;

    // The host's parameter queues of the block in hand and the next point of each: every
    // point is applied at its offset, the block processed in pieces between them.
    static constexpr int32_t kMaxQueues = 512;
    Steinberg::Vst::IParamValueQueue* queues_[kMaxQueues] = {};
    int32_t nextPoint_[kMaxQueues] = {};
    int32_t pointCount_[kMaxQueues] = {};
    // Channel pointers laid out as the plug-in's groups (eight entries per bus), and the same
    // moved on to the piece of the block in hand.
    float* inputChannels_[KivAudioPlugin::kMaxHostChannels] = {};
    float* outputChannels_[KivAudioPlugin::kMaxHostChannels] = {};
    float* pieceInputs_[KivAudioPlugin::kMaxHostChannels] = {};
    float* pieceOutputs_[KivAudioPlugin::kMaxHostChannels] = {};

    static std::atomic<int32_t> liveCount_;
};
