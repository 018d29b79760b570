#pragma once
#include <cstdint>
#include <vector>

#include "hosts/vst2/vst2_abi.h"
#include "tools/vst2host/kiv_vst2_event_block.h"
#include "tools/vst2host/kiv_vst2_transport.h"

// How the host presents itself to the plug-in.
struct KivVst2HostSettings {
    double sampleRate = 44100.0;
    int32_t blockSize = 512;
    // An offline host (a renderer) says so through the process level; plug-ins may then
    // choose slower, better algorithms.
    bool offline = false;
};

// One automation report from the plug-in: a value, or the start or end of an edit gesture.
struct KivVst2AutomationReport {
    enum Kind { kValue, kBeginEdit, kEndEdit };
    Kind kind = kValue;
    int32_t index = 0;
    float value = 0.0f;
};

// The host side of the audioMaster callback: answers a plug-in's questions from the
// settings and the transport, and records what the plug-in reports (automation, MIDI it
// sends, changed latency) for the host's owner to inspect. One context serves one
// instance and is driven from one thread.
class KivVst2HostContext {
public:
    KivVst2HostSettings settings;
    KivVst2Transport transport;

    // The callback handed to plug-ins. It finds its context through AEffect::user, or,
    // while an instance is being created (before the host could set `user`), through the
    // creating thread's CreationScope.
    static intptr_t Callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    // Makes `context` the answering one for plug-in calls on this thread while it lives.
    class CreationScope {
    public:
        explicit CreationScope(KivVst2HostContext* context);
        ~CreationScope();
        CreationScope(const CreationScope&) = delete;
        CreationScope& operator=(const CreationScope&) = delete;

    private:
        KivVst2HostContext* previous_;
    };

    intptr_t Answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    const std::vector<KivVst2AutomationReport>& AutomationReports() const { return automation_; }
    const std::vector<KivVst2MidiMessage>& ReceivedMidi() const { return receivedMidi_; }
    int32_t IoChangedCount() const { return ioChangedCount_; }
    void ClearReports();
    // Set by the instance around its process calls, for the process-level answer.
    void SetProcessing(bool processing) { processing_ = processing; }

    static constexpr const char* kVendor = "Kestrune";
    static constexpr const char* kProduct = "Kiv VST2 Host";

private:
    intptr_t AnswerQuestion(int32_t opcode, int32_t index, void* ptr, float opt);
    intptr_t AnswerReport(int32_t opcode, int32_t index, void* ptr, float opt);
    intptr_t ReceiveEvents(const VstEvents* events);
    intptr_t ProcessLevel() const;
    static intptr_t CanDo(const char* text);

    std::vector<KivVst2AutomationReport> automation_;
    std::vector<KivVst2MidiMessage> receivedMidi_;
    int32_t ioChangedCount_ = 0;
    bool processing_ = false;
    VstTimeInfo timeInfo_{};
};
