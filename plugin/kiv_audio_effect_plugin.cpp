#include "plugin/kiv_audio_effect_plugin.h"

#include "base/xml/kiv_xml_item.h"
#include "parameters/kiv_parameter_randomizer.h"
#include "base/kiv_memory.h"
#include "plugin/state/kiv_parameter_settings.h"

namespace {

constexpr intptr_t kNoOperation = -1;

KivXMLItem* ItemIn(KivEffectMessageRecord& record) { return static_cast<KivXMLItem*>(record.GetPointer(1)); }

}  // namespace

KivAudioEffectPlugin::~KivAudioEffectPlugin() = default;

void* KivAudioEffectPlugin::operator new(size_t size) { return KivMemory::Allocate(size); }

void KivAudioEffectPlugin::operator delete(void* block) noexcept { KivMemory::Free(block); }

intptr_t KivAudioEffectPlugin::HandleMessage(int32_t message, void* argument) {
    KivEffectMessageRecord empty;
    KivEffectMessageRecord& record = argument ? *static_cast<KivEffectMessageRecord*>(argument) : empty;
    switch (message) {
        case kKivEffectConnect:
            return reinterpret_cast<intptr_t>(
                Connect(record.GetPointer(1), reinterpret_cast<KivEffectHostCallback>(record.GetPointer(3))));
        case kKivEffectDestroy:
            delete this;
            return 0;
        case kKivEffectGetInterface:
            return reinterpret_cast<intptr_t>(this);
        case kKivEffectInitialize:
            Initialize();
            return 0;
        case kKivEffectParameterChanged:
            ParameterChanged(record.GetInt32(1));
            return 0;
        case kKivEffectCreateEditorContents:
            CreateEditorContents(record.GetPointer(1));
            return 0;
        case kKivEffectReset:
            Reset();
            return 0;
        case kKivEffectRandomize:
            if (const auto* amount = static_cast<const double*>(record.GetPointer(1))) Randomize(*amount);
            return 0;
        case kKivEffectHook20:
            OnHook20(record.GetPointer(1), record.GetPointer(3));
            return 0;
        default:
            break;
    }
    if (message >= kKivEffectLoadSettings && message <= kKivEffectQuery14) return HandleSettingsMessage(message, record);
    if (message >= kKivEffectInitProcessing) return HandleProcessingMessage(message, record);
    return kNoOperation;
}

intptr_t KivAudioEffectPlugin::HandleSettingsMessage(int32_t message, KivEffectMessageRecord& record) {
    switch (message) {
        case kKivEffectLoadSettings:
            return ItemIn(record) && LoadSettings(*ItemIn(record)) ? 1 : 0;
        case kKivEffectStoreSettings:
            return ItemIn(record) && StoreSettings(*ItemIn(record)) ? 1 : 0;
        case kKivEffectHook13:
            OnHook13(record.GetPointer(1));
            return 0;
        case kKivEffectQuery14:
            return Query14(record.GetPointer(1));
        default:
            return kNoOperation;
    }
}

intptr_t KivAudioEffectPlugin::HandleProcessingMessage(int32_t message, KivEffectMessageRecord& record) {
    switch (message) {
        case kKivEffectInitProcessing:
            InitProcessing(record.GetInt32(1), record.GetInt32(3));
            Reprepare();
            CopyValuesToTargets();
            return 0;
        case kKivEffectProcess:
            Process(*static_cast<const KivProcessingContext*>(record.GetPointer(1)),
                    static_cast<float**>(record.GetPointer(3)), static_cast<float**>(record.GetPointer(5)),
                    record.GetInt32(7));
            return 0;
        case kKivEffectQuery102:
            return Query102();
        case kKivEffectGetLatency:
            return GetLatency();
        case kKivEffectHook104:
            OnHook104();
            return 0;
        case kKivEffectQuery105:
            return Query105();
        case kKivEffectProcessUpdate:
            ProcessUpdate();
            return 0;
        case kKivEffectUpdateChannelControls:
            UpdateEditorChannelControls();
            return 0;
        default:
            return kNoOperation;
    }
}

KivAudioEffectPlugin* KivAudioEffectPlugin::Connect(void* hostObject, KivEffectHostCallback callback) {
    SetHost(hostObject, callback);
    return this;
}

void KivAudioEffectPlugin::Initialize() {}

void KivAudioEffectPlugin::CopyValuesToTargets() {
    for (int32_t index = 0; index < parameterTable_.recordCount; ++index) {
        KivEffectParameter& record = parameterTable_.Record(index);
        if (record.type == kKivParameterTypeFloat) record.values.asFloat.target = record.values.asFloat.value;
    }
}

void KivAudioEffectPlugin::ParameterChanged(int32_t) {}
void KivAudioEffectPlugin::Reprepare() {}
void KivAudioEffectPlugin::ReprepareAfterLoading() { Reprepare(); }
bool KivAudioEffectPlugin::HandsOverPreparedSetups() const noexcept { return false; }
void KivAudioEffectPlugin::SetMaxBlockSize(int32_t) {}
void KivAudioEffectPlugin::CreateEditorContents(void*) {}

void KivAudioEffectPlugin::Reset() {}
bool KivAudioEffectPlugin::LoadSettings(KivXMLItem& item) {
    KivParameterSettings::Store(parameterTable_, item, false);
    return true;
}

bool KivAudioEffectPlugin::StoreSettings(KivXMLItem& item) {
    KivParameterSettings::Store(parameterTable_, item, true);
    return true;
}
void KivAudioEffectPlugin::ReservedHook1() {}
void KivAudioEffectPlugin::ReservedHook2() {}
void KivAudioEffectPlugin::OnHook13(void*) {}
int32_t KivAudioEffectPlugin::Query14(void*) { return -1; }

void KivAudioEffectPlugin::Randomize(double amount) {
    for (int32_t index = 0; index < parameterTable_.recordCount; ++index) {
        KivEffectParameter& record = parameterTable_.Record(index);
        if (record.HasFlag(KivEffectParameter::kDeclared)) KivParameterRandomizer::Randomize(record, amount);
    }
}

void KivAudioEffectPlugin::RefreshEditorViews() {}
void KivAudioEffectPlugin::OnHook20(void*, void*) {}
void KivAudioEffectPlugin::InitProcessing(int32_t, int32_t) {}
void KivAudioEffectPlugin::UpdateEditorChannelControls() {}
void KivAudioEffectPlugin::ProcessUpdate() {}
int32_t KivAudioEffectPlugin::Query102() { return 1; }
int32_t KivAudioEffectPlugin::GetLatency() { return 0; }
int32_t KivAudioEffectPlugin::GetLatencyLimit(int32_t) { return GetLatency(); }
int32_t KivAudioEffectPlugin::Query105() { return 0; }
void KivAudioEffectPlugin::OnHook104() {}
