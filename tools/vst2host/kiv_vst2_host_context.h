#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
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
    // A test host records every call and report for inspection, under a lock. A benchmark
    // host plays like a real one instead: it keeps no records, and the audio thread's
    // questions (time, process level, rate, block size) never wait for another thread.
    bool recordCalls = true;
};

// One automation report from the plug-in: a value, or the start or end of an edit gesture.
struct KivVst2AutomationReport {
    enum Kind { kValue, kBeginEdit, kEndEdit };
    Kind kind = kValue;
    int32_t index = 0;
    float value = 0.0f;
    std::thread::id thread = std::this_thread::get_id();  // the thread the plug-in called from
};

// One call the plug-in made to the host, and the thread it came from.
struct KivVst2HostCall {
    int32_t opcode = 0;
    int32_t index = 0;
    float opt = 0.0f;
    std::thread::id thread;
    // The plug-in's latency as the host could read it during the call.
    int32_t initialDelay = 0;
    intptr_t value = 0;
};

// The host side of the audioMaster callback: answers a plug-in's questions from the
// settings and the transport, and records what the plug-in reports (automation, MIDI it
// sends, changed latency) for the host's owner to inspect, with every call and its thread.
// One context serves one instance; the plug-in may call it from any of its threads, the
// records are kept under a lock.
class KivVst2HostContext {
public:
    KivVst2HostSettings settings;
    KivVst2Transport transport;
    // Called after each recorded call, outside the lock: a test host may answer a report by
    // calling the plug-in back, as real hosts do.
    std::function<void(AEffect* effect, const KivVst2HostCall& call)> onCall;

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

    intptr_t Answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt, int32_t initialDelay = 0);

    std::vector<KivVst2AutomationReport> AutomationReports() const;
    std::vector<KivVst2MidiMessage> ReceivedMidi() const;
    int32_t IoChangedCount() const;
    // Every call but the plug-in's questions for the time, in order.
    std::vector<KivVst2HostCall> Calls() const;
    // Waits until the plug-in has made `count` calls of `opcode` in all (since the last
    // ClearReports); false if that takes longer than `milliseconds`.
    bool WaitForCalls(int32_t opcode, size_t count, int32_t milliseconds) const;
    void ClearReports();
    // Set by the instance around its process calls, for the process-level answer.
    void SetProcessing(bool processing) { processing_.store(processing, std::memory_order_relaxed); }

    static constexpr const char* kVendor = "Kestrune";
    static constexpr const char* kProduct = "Kiv VST2 Host";

private:
    // The questions answered without the lock when calls are not recorded; -1 for others.
    intptr_t AnswerUnrecorded(int32_t opcode);
    intptr_t AnswerQuestion(int32_t opcode, int32_t index, void* ptr, float opt);
    intptr_t AnswerReport(int32_t opcode, int32_t index, void* ptr, float opt);
    intptr_t ReceiveEvents(const VstEvents* events);
    intptr_t ProcessLevel() const;
    static intptr_t CanDo(const char* text);

    mutable std::mutex lock_;
    mutable std::condition_variable called_;
    std::vector<KivVst2HostCall> calls_;
    std::vector<KivVst2AutomationReport> automation_;
    std::vector<KivVst2MidiMessage> receivedMidi_;
    int32_t ioChangedCount_ = 0;
    std::atomic<bool> processing_{false};
    VstTimeInfo timeInfo_{};
};
