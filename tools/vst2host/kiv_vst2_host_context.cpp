#include "tools/vst2host/kiv_vst2_host_context.h"

#include <cstring>

#include "hosts/vst2/vst2_text.h"

namespace {

thread_local KivVst2HostContext* tCreatingContext = nullptr;

KivVst2HostContext* ContextOf(AEffect* effect) {
    if (effect && effect->user) return static_cast<KivVst2HostContext*>(effect->user);
    return tCreatingContext;
}

}  // namespace

KivVst2HostContext::CreationScope::CreationScope(KivVst2HostContext* context) : previous_(tCreatingContext) {
    tCreatingContext = context;
}

KivVst2HostContext::CreationScope::~CreationScope() { tCreatingContext = previous_; }

intptr_t KivVst2HostContext::Callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                      float opt) {
    // Plug-ins ask for the version before anything else, often with no record yet.
    if (opcode == audioMasterVersion) return kVstVersion;
    KivVst2HostContext* context = ContextOf(effect);
    return context ? context->Answer(opcode, index, value, ptr, opt) : 0;
}

// Each group answers its own opcodes and passes the rest on; unknown opcodes answer 0.
intptr_t KivVst2HostContext::Answer(int32_t opcode, int32_t index, intptr_t /*value*/, void* ptr, float opt) {
    switch (opcode) {
    case audioMasterVersion: return kVstVersion;
    case audioMasterGetTime:
        transport.sampleRate = settings.sampleRate;
        transport.Describe(timeInfo_);
        return reinterpret_cast<intptr_t>(&timeInfo_);
    case audioMasterGetSampleRate: return static_cast<intptr_t>(settings.sampleRate);
    case audioMasterGetBlockSize: return settings.blockSize;
    case audioMasterGetCurrentProcessLevel: return ProcessLevel();
    default: return AnswerQuestion(opcode, index, ptr, opt);
    }
}

intptr_t KivVst2HostContext::AnswerQuestion(int32_t opcode, int32_t index, void* ptr, float opt) {
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
    case audioMasterCanDo: return text ? CanDo(text) : 0;
    case audioMasterGetVendorString: Vst2CopyText(text, kVendor, kVstMaxVendorStrLen); return 1;
    case audioMasterGetProductString: Vst2CopyText(text, kProduct, kVstMaxProductStrLen); return 1;
    case audioMasterGetVendorVersion: return 1;
    case audioMasterGetLanguage: return 1;  // English
    case audioMasterGetAutomationState: return kVstAutomationOff;
    case audioMasterGetInputLatency: case audioMasterGetOutputLatency: return 0;
    default: return AnswerReport(opcode, index, ptr, opt);
    }
}

intptr_t KivVst2HostContext::AnswerReport(int32_t opcode, int32_t index, void* ptr, float opt) {
    switch (opcode) {
    case audioMasterAutomate: automation_.push_back({KivVst2AutomationReport::kValue, index, opt}); return 1;
    case audioMasterBeginEdit: automation_.push_back({KivVst2AutomationReport::kBeginEdit, index, 0.0f}); return 1;
    case audioMasterEndEdit: automation_.push_back({KivVst2AutomationReport::kEndEdit, index, 0.0f}); return 1;
    case audioMasterProcessEvents: return ReceiveEvents(static_cast<VstEvents*>(ptr));
    case audioMasterIOChanged: ++ioChangedCount_; return 1;
    case audioMasterUpdateDisplay: return 1;
    default: return 0;
    }
}

intptr_t KivVst2HostContext::ReceiveEvents(const VstEvents* events) {
    if (!events) return 0;
    for (const KivVst2MidiMessage& message : KivVst2EventBlock::MidiMessagesOf(*events))
        receivedMidi_.push_back(message);
    return 1;
}

intptr_t KivVst2HostContext::ProcessLevel() const {
    if (settings.offline) return kVstProcessLevelOffline;
    return processing_ ? kVstProcessLevelRealtime : kVstProcessLevelUser;
}

// What this host really does: it sends MIDI and time information, takes the plug-in's MIDI,
// re-reads channel counts and latency after audioMasterIOChanged and brackets processing
// with effStartProcess/effStopProcess. Anything else (windows, files, offline passes) it cannot.
intptr_t KivVst2HostContext::CanDo(const char* text) {
    static const char* const kAbilities[] = {"sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo",
                                             "receiveVstEvents", "receiveVstMidiEvent", "acceptIOChanges",
                                             "startStopProcess"};
    for (const char* ability : kAbilities)
        if (std::strcmp(text, ability) == 0) return 1;
    return 0;
}

void KivVst2HostContext::ClearReports() {
    automation_.clear();
    receivedMidi_.clear();
    ioChangedCount_ = 0;
}
