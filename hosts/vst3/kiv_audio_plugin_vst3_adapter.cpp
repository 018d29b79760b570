#include "hosts/vst3/kiv_audio_plugin_vst3_adapter.h"

#include <cmath>
#include <string>

#include "base/kiv_boundary.h"
#include "hosts/bridge/kiv_host_setup.h"
#include "hosts/vst3/interfaces/ihostapplication.h"
#include "hosts/vst3/kiv_audio_plugin_vst3_editor.h"
#include "plugin/kiv_audio_effect_plugin.h"
#include "plugin/kiv_audio_effect_plugin_to_audio_plugin_adapter.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

std::atomic<int32_t> KivAudioPluginVST3Adapter::liveCount_{0};

namespace {

constexpr int32_t kChannelsPerBus = 2;
constexpr int32_t kStartSampleRate = 44100;
// A little over a display frame: prompt to a user, and a few hundred calls a minute at most.
constexpr uint32_t kNotificationIntervalMilliseconds = 20;
constexpr uint32 kTransportNeeds =
    IProcessContextRequirements::kNeedProjectTimeMusic | IProcessContextRequirements::kNeedBarPositionMusic |
    IProcessContextRequirements::kNeedCycleMusic | IProcessContextRequirements::kNeedTempo |
    IProcessContextRequirements::kNeedTimeSignature | IProcessContextRequirements::kNeedTransportState;

KivAudioEffectPluginToAudioPluginAdapter* EffectAdapterOf(KivAudioPlugin& plugin) {
    return dynamic_cast<KivAudioEffectPluginToAudioPluginAdapter*>(&plugin);
}

std::u16string NumberedName(const char16_t* name, int32_t number) {
    std::u16string text(name);
    for (char c : std::to_string(number)) text.push_back(static_cast<char16_t>(c));
    return text;
}

}  // namespace

KivAudioPluginVST3Adapter::KivAudioPluginVST3Adapter(std::unique_ptr<KivAudioPlugin> plugin)
    : plugin_(std::move(plugin)) {
    plugin_->SetPluginHost(this);
    SetContextRequirements(kTransportNeeds);
    ++liveCount_;
}

KivAudioPluginVST3Adapter::~KivAudioPluginVST3Adapter() {
    Retire();
    KivGuard("KivAudioPluginVST3Adapter::~KivAudioPluginVST3Adapter", [&] {
        terminate();
        plugin_->DestroyEditor();
        plugin_->StopAutomationUpdates();
        plugin_->SetPluginHost(nullptr);
        plugin_.reset();
    });
    --liveCount_;
}

tresult KivAudioPluginVST3Adapter::queryInterface(const TUID iid, void** object) {
    if (!object) return kInvalidArgument;
    if (OfferInterface<FUnknown, IComponent>(iid, this, object) || OfferInterface<IPluginBase, IComponent>(iid, this, object) ||
        OfferInterface<IComponent>(iid, this, object) || OfferInterface<IAudioProcessor>(iid, this, object) ||
        OfferInterface<IProcessContextRequirements>(iid, this, object) ||
        OfferInterface<IConnectionPoint>(iid, this, object) || OfferInterface<IEditController>(iid, this, object) ||
        OfferInterface<IEditController2>(iid, this, object) || OfferInterface<IUnitInfo>(iid, this, object) ||
        OfferInterface<IMidiMapping>(iid, this, object))
        return kResultOk;
    *object = nullptr;
    return kNoInterface;
}

// ---- Life cycle ---------------------------------------------------------------------------

tresult KivAudioPluginVST3Adapter::initialize(FUnknown* context) {
    if (initialized_) return kResultOk;
    return KivGuard("KivAudioPluginVST3Adapter::initialize", kResultFalse, [&] {
        Initialize(context);
        initialized_ = true;
        return kResultOk;
    });
}

// The thread that initialises the component is the one the host hears from.
void KivAudioPluginVST3Adapter::Initialize(FUnknown* context) {
    BindMainThread();
    PrepareNotifications(plugin_->GetParameterCount());
    // A host calls its main thread's plug-ins only when something happens there; the timer
    // tells it within a few frames of a post from another thread (a latency the automation
    // update thread prepared, a program change it carried out).
    notificationTimer_ = KivPlatform::CreateThreadTimer(kNotificationIntervalMilliseconds, &OnNotificationTimer, this);
    if (!notificationTimer_) StartNotificationPump(context);
    hostContext_ = context;
    if (hostContext_) hostContext_->addRef();
    TakeHostName(context);
    plugin_->SetHostType(KivString("VST3"));
    inputArrangement_ = SpeakerArr::kStereo;
    outputArrangement_ = SpeakerArr::kStereo;
    plugin_->SetHostChannels(InputBusCount() * kChannelsPerBus, kChannelsPerBus);
    CreateBuses();
    CreateEventBuses();
    CreateParameters();
    plugin_->SetSampleRate(kStartSampleRate);
    plugin_->InitProcessing();
}

void KivAudioPluginVST3Adapter::TakeHostName(FUnknown* context) {
    IHostApplication* host = nullptr;
    if (!context || context->queryInterface(IHostApplication::iid.bytes, reinterpret_cast<void**>(&host)) != kResultOk || !host)
        return;
    String128 name{};
    if (host->getName(name) == kResultOk) hostName_ = KivString(name);
    host->release();
}

void KivAudioPluginVST3Adapter::OnNotificationTimer(void* adapter) noexcept {
    static_cast<KivAudioPluginVST3Adapter*>(adapter)->DeliverNotifications();
}

// The run loop's timer fires on the host's UI thread; delivery itself checks that this is the
// thread that initialised the plug-in, so a host running its loop elsewhere is told nothing
// from there. Without any run loop (the host offers none and the editor is closed), posts
// from other threads wait for the host's next call on its main thread.
void KivAudioPluginVST3Adapter::StartNotificationPump(FUnknown* offeredBy) {
    if (notificationPump_ || !offeredBy) return;
    auto* pump = new KivVST3RunLoopPump(&OnNotificationTimer, this);
    if (!pump->Start(offeredBy, -1)) {
        pump->release();
        return;
    }
    notificationPump_ = pump;
    pumpOwner_ = offeredBy;
}

void KivAudioPluginVST3Adapter::StopNotificationPump() {
    KivVST3RunLoopPump* pump = notificationPump_;
    notificationPump_ = nullptr;
    pumpOwner_ = nullptr;
    if (!pump) return;
    pump->Stop();
    pump->release();
}

tresult KivAudioPluginVST3Adapter::setComponentHandler(IComponentHandler* handler) {
    return KivGuard("KivAudioPluginVST3Adapter::setComponentHandler", kResultFalse, [&] {
        // A handler that goes away takes its run loop with it.
        if (notificationPump_ && pumpOwner_ != hostContext_ && pumpOwner_ != handler) StopNotificationPump();
        const tresult result = EditControllerEx1::setComponentHandler(handler);
        if (!notificationTimer_ && handler) StartNotificationPump(handler);
        return result;
    });
}

tresult KivAudioPluginVST3Adapter::terminate() {
    return KivGuard("KivAudioPluginVST3Adapter::terminate", kResultFalse, [&] {
        KivPlatform::DestroyThreadTimer(notificationTimer_);
        notificationTimer_ = nullptr;
        StopNotificationPump();
        if (editor_) editor_->Unlink();
        editor_ = nullptr;
        if (hostContext_) hostContext_->release();
        hostContext_ = nullptr;
        setComponentHandler(nullptr);
        GetParameters().RemoveAll();
        RemoveAllUnits();
        RemoveAllBuses();
        initialized_ = false;
        return kResultOk;
    });
}

// ---- Buses --------------------------------------------------------------------------------

// The plug-in's declared input buses: the main one and its side-chains.
int32_t KivAudioPluginVST3Adapter::InputBusCount() {
    KivAudioEffectPluginToAudioPluginAdapter* adapter = EffectAdapterOf(*plugin_);
    KivAudioEffectPlugin* effect = adapter ? adapter->GetEffect() : nullptr;
    return effect ? effect->GetInputBusCount() : 1;
}

void KivAudioPluginVST3Adapter::CreateBuses() {
    const int32_t inputPairs = plugin_->GetHostInputChannels() / kChannelsPerBus;
    const int32_t outputPairs = plugin_->GetHostOutputChannels() / kChannelsPerBus;
    if (inputPairs >= 1) AddAudioInput(u"Stereo In", inputArrangement_, kMain, BusInfo::kDefaultActive);
    if (inputPairs >= 2) AddAudioInput(u"Sidechain", inputArrangement_, kAux, 0);
    // Auxiliary buses start switched off: the plug-in keys on its own input until the host
    // switches the side-chain on.
    for (int32_t pair = 1; pair < inputPairs; ++pair) plugin_->SetInputGroupActive(pair, false);
    if (outputPairs == 1) AddAudioOutput(u"Stereo Out", outputArrangement_, kMain, BusInfo::kDefaultActive);
    for (int32_t pair = 0; outputPairs > 1 && pair < outputPairs; ++pair)
        AddAudioOutput(NumberedName(u"Stereo Out ", pair + 1), outputArrangement_, kMain, BusInfo::kDefaultActive);
}

// House plug-ins take MIDI (controllers, learn, program changes) and send none.
void KivAudioPluginVST3Adapter::CreateEventBuses() {
    if (EffectAdapterOf(*plugin_)) AddEventInput(u"Midi In", 1, kMain, BusInfo::kDefaultActive);
}

// ---- Processing set-up ---------------------------------------------------------------------

tresult KivAudioPluginVST3Adapter::getControllerClassId(TUID /*classId*/) { return kResultFalse; }

tresult KivAudioPluginVST3Adapter::setActive(TBool state) {
    return KivGuard("KivAudioPluginVST3Adapter::setActive", kResultFalse, [&] {
        if (state) plugin_->InitProcessing();
        DeliverNotifications();
        return kResultOk;
    });
}

tresult KivAudioPluginVST3Adapter::setupProcessing(ProcessSetup& setup) {
    return KivGuard("KivAudioPluginVST3Adapter::setupProcessing", kResultFalse, [&] {
        processMode_ = setup.processMode;
        plugin_->SetOfflineProcessing(processMode_ == Steinberg::Vst::kOffline);
        const int32_t rounded = KivHostSetup::RoundSampleRate(setup.sampleRate);
        if (rounded != 0) plugin_->SetSampleRate(rounded);
        if (setup.maxSamplesPerBlock > 0) plugin_->SetMaxBlockSize(setup.maxSamplesPerBlock);
        DeliverNotifications();
        return AudioEffect::setupProcessing(setup) == kResultOk ? kResultOk : kResultFalse;
    });
}

tresult KivAudioPluginVST3Adapter::activateBus(MediaType type, BusDirection direction, int32 index, TBool state) {
    return KivGuard("KivAudioPluginVST3Adapter::activateBus", kResultFalse, [&] {
        const tresult result = AudioEffect::activateBus(type, direction, index, state);
        if (result == kResultOk && type == kAudio && direction == kInput && index > 0)
            plugin_->SetInputGroupActive(index, state != 0);
        return result;
    });
}

uint32 KivAudioPluginVST3Adapter::getLatencySamples() {
    return KivGuard("KivAudioPluginVST3Adapter::getLatencySamples", uint32{0}, [&] {
        const int32_t latency = plugin_->GetLatency();
        latency_ = latency > 0 ? static_cast<uint32>(latency) : 0;
        return latency_;
    });
}

uint32 KivAudioPluginVST3Adapter::getTailSamples() {
    return KivGuard("KivAudioPluginVST3Adapter::getTailSamples", uint32{0}, [&] {
        const int32_t tail = plugin_->GetTailSamples();
        tail_ = tail > 0 ? static_cast<uint32>(tail) : 0;
        return tail_;
    });
}

// ---- Editor -------------------------------------------------------------------------------

IPlugView* KivAudioPluginVST3Adapter::createView(FIDString name) {
    return KivGuard("KivAudioPluginVST3Adapter::createView", static_cast<IPlugView*>(nullptr), [&]() -> IPlugView* {
        if (!name || std::strcmp(name, ViewType::kEditor) != 0) return nullptr;
        editor_ = new KivEditor(*this);
        return editor_;
    });
}

void KivAudioPluginVST3Adapter::ForgetEditor(KivEditor* editor) noexcept {
    if (editor_ == editor) editor_ = nullptr;
}
