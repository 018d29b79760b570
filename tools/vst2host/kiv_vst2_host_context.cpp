#include "tools/vst2host/kiv_vst2_host_context.h"

#include <algorithm>
#include <chrono>
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
    if (!context) return 0;
    const int32_t initialDelay = effect ? VstInitialDelay(*effect) : 0;
    const intptr_t answer = context->Answer(opcode, index, value, ptr, opt, initialDelay);
    if (context->onCall && opcode != audioMasterGetTime)
        context->onCall(effect, {opcode, index, opt, std::this_thread::get_id(), initialDelay, value});
    return answer;
}

// Each group answers its own opcodes and passes the rest on; unknown opcodes answer 0.
intptr_t KivVst2HostContext::Answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt,
                                    int32_t initialDelay) {
    if (!settings.recordCalls) {
        const intptr_t answer = AnswerUnrecorded(opcode);
        if (answer >= 0) return answer;
    }
    std::unique_lock<std::mutex> guard(lock_);
    if (opcode != audioMasterGetTime) {
        calls_.push_back({opcode, index, opt, std::this_thread::get_id(), initialDelay, value});
        called_.notify_all();
    }
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

// Only the audio thread asks for the time, so its answer needs no lock.
intptr_t KivVst2HostContext::AnswerUnrecorded(int32_t opcode) {
    switch (opcode) {
    case audioMasterGetTime:
        transport.sampleRate = settings.sampleRate;
        transport.Describe(timeInfo_);
        return reinterpret_cast<intptr_t>(&timeInfo_);
    case audioMasterGetSampleRate: return static_cast<intptr_t>(settings.sampleRate);
    case audioMasterGetBlockSize: return settings.blockSize;
    case audioMasterGetCurrentProcessLevel: return ProcessLevel();
    case audioMasterAutomate: case audioMasterBeginEdit: case audioMasterEndEdit: case audioMasterUpdateDisplay:
    case audioMasterProcessEvents:
        return 1;
    default: return -1;
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
    return processing_.load(std::memory_order_relaxed) ? kVstProcessLevelRealtime : kVstProcessLevelUser;
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

std::vector<KivVst2AutomationReport> KivVst2HostContext::AutomationReports() const {
    std::lock_guard<std::mutex> guard(lock_);
    return automation_;
}

std::vector<KivVst2MidiMessage> KivVst2HostContext::ReceivedMidi() const {
    std::lock_guard<std::mutex> guard(lock_);
    return receivedMidi_;
}

int32_t KivVst2HostContext::IoChangedCount() const {
    std::lock_guard<std::mutex> guard(lock_);
    return ioChangedCount_;
}

std::vector<KivVst2HostCall> KivVst2HostContext::Calls() const {
    std::lock_guard<std::mutex> guard(lock_);
    return calls_;
}

bool KivVst2HostContext::WaitForCalls(int32_t opcode, size_t count, int32_t milliseconds) const {
    std::unique_lock<std::mutex> guard(lock_);
    return called_.wait_for(guard, std::chrono::milliseconds(milliseconds), [&] {
        return static_cast<size_t>(std::count_if(calls_.begin(), calls_.end(),
                                                 [&](const KivVst2HostCall& call) { return call.opcode == opcode; })) >= count;
    });
}

void KivVst2HostContext::ClearReports() {
    std::lock_guard<std::mutex> guard(lock_);
    calls_.clear();
    automation_.clear();
    receivedMidi_.clear();
    ioChangedCount_ = 0;
}
