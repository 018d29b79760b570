// The layer both plug-in formats share: notifications posted from any thread and told from
// the main thread only, the per-parameter echo guard, transport, channel groups, MIDI queue
// and sample rates.
#include "hosts/bridge/kiv_host_bridge.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "hosts/bridge/kiv_host_channel_layout.h"
#include "hosts/bridge/kiv_host_midi_queue.h"
#include "hosts/bridge/kiv_host_setup.h"
#include "hosts/bridge/kiv_host_transport.h"

namespace {

struct Told {
    std::string what;
    int32_t slot;
    double value;
    std::thread::id thread = {};
    bool operator==(const Told& other) const { return what == other.what && slot == other.slot && value == other.value; }
};

// A format that writes down what it tells the host, and from which thread; it may answer a
// value by setting another parameter, as hosts do.
class RecordingBridge : public KivHostBridge {
public:
    explicit RecordingBridge(int32_t parameters) {
        BindMainThread();
        PrepareNotifications(parameters);
    }
    ~RecordingBridge() { Retire(); }
    void ChangeEditorSize(int32_t, int32_t) override {}
    using KivHostBridge::BypassSlot;

    std::vector<Told> told;
    std::function<void(int32_t)> onValue;
    int32_t deliveryRequests = 0;

protected:
    void RequestDelivery() noexcept override { ++deliveryRequests; }
    void TellBeginEdit(int32_t slot) override { Record("begin", slot, 0.0); }
    void TellValue(int32_t slot, double value, bool inGesture) override {
        Record(inGesture ? "value in gesture" : "value", slot, value);
        if (onValue) onValue(slot);
    }
    void TellEndEdit(int32_t slot) override { Record("end", slot, 0.0); }
    void TellLatency() override { Record("latency", -1, 0.0); }
    void TellSettingsChanged() override { Record("settings", -1, 0.0); }

private:
    void Record(const char* what, int32_t slot, double value) {
        told.push_back({what, slot, value, std::this_thread::get_id()});
    }
};

TEST(KivHostBridge, PostsFromTheMainThreadAreToldAtOnceInOrder) {
    RecordingBridge bridge(4);
    bridge.BeginEdit(2);
    bridge.SendAutomation(2, 0.25);
    bridge.SendAutomation(2, 0.5);
    bridge.EndEdit(2);
    bridge.SendAutomation(1, 0.75);  // outside a gesture
    bridge.SendBypassAutomation(true);
    bridge.LatencyChanged();
    bridge.SettingsChanged();
    bridge.SendAutomation(4, 1.0);   // no parameter of the host's: dropped
    bridge.SendAutomation(-1, 1.0);
    const std::vector<Told> expected{{"begin", 2, 0.0},    {"value in gesture", 2, 0.25}, {"value in gesture", 2, 0.5},
                                     {"end", 2, 0.0},      {"value", 1, 0.75},            {"value", 4, 1.0},
                                     {"latency", -1, 0.0}, {"settings", -1, 0.0}};
    EXPECT_EQ(bridge.told, expected);
    EXPECT_EQ(bridge.BypassSlot(), 4);
    EXPECT_EQ(bridge.deliveryRequests, 0);
}

// Another thread (the audio thread, the plug-in's update thread) only posts: nothing reaches
// the host from there; the main thread's next chance tells the latest value of each
// parameter once, latency before values, the settings change after them.
TEST(KivHostBridge, PostsFromOtherThreadsWaitForTheMainThread) {
    RecordingBridge bridge(8);
    std::thread other([&] {
        bridge.SettingsChanged();
        for (int i = 1; i <= 100; ++i) bridge.SendAutomation(3, i / 100.0);
        bridge.SendAutomation(5, 0.125);
        bridge.LatencyChanged();
        bridge.DeliverNotifications();  // not the main thread: tells nothing
    });
    other.join();
    EXPECT_TRUE(bridge.told.empty());
    EXPECT_EQ(bridge.deliveryRequests, 103);
    bridge.DeliverNotifications();
    const std::vector<Told> expected{{"latency", -1, 0.0}, {"value", 3, 1.0}, {"value", 5, 0.125}, {"settings", -1, 0.0}};
    EXPECT_EQ(bridge.told, expected);
    for (const Told& told : bridge.told) EXPECT_EQ(told.thread, std::this_thread::get_id());
    bridge.told.clear();
    bridge.DeliverNotifications();
    EXPECT_TRUE(bridge.told.empty());
}

TEST(KivHostBridge, NothingIsToldFromInsideProcessingEvenOnTheMainThread) {
    RecordingBridge bridge(2);
    {
        KivHostBridge::ProcessingScope processing;
        bridge.LatencyChanged();
        bridge.SendAutomation(0, 0.5);
        bridge.DeliverNotifications();
    }
    EXPECT_TRUE(bridge.told.empty());
    bridge.DeliverNotifications();
    EXPECT_EQ(bridge.told.size(), 2u);
}

// The echo guard covers the one parameter being told, on the one thread telling it: the
// host's change of any other parameter meanwhile, and of the same one on another thread,
// counts.
TEST(KivHostBridge, EchoGuardCoversOneParameterOnOneThread) {
    RecordingBridge bridge(4);
    std::vector<std::pair<int32_t, bool>> seen;
    bridge.onValue = [&](int32_t slot) {
        seen.push_back({slot, bridge.IsEcho(slot)});
        seen.push_back({slot + 1, bridge.IsEcho(slot + 1)});
        bool echoElsewhere = true;
        std::thread audio([&] { echoElsewhere = bridge.IsEcho(slot); });
        audio.join();
        seen.push_back({slot, echoElsewhere});
    };
    bridge.SendAutomation(1, 0.5);
    const std::vector<std::pair<int32_t, bool>> expected{{1, true}, {2, false}, {1, false}};
    EXPECT_EQ(seen, expected);
    EXPECT_FALSE(bridge.IsEcho(1));
}

// A host answering a value by a change that the plug-in reports in turn (a derived
// parameter) hears of that too, in the same delivery.
TEST(KivHostBridge, PostsMadeWhileTellingAreToldInTheSameDelivery) {
    RecordingBridge bridge(4);
    bridge.onValue = [&](int32_t slot) {
        if (slot == 0) bridge.SendAutomation(3, 0.875);
    };
    bridge.SendAutomation(0, 0.5);
    const std::vector<Told> expected{{"value", 0, 0.5}, {"value", 3, 0.875}};
    EXPECT_EQ(bridge.told, expected);
}

// ---- transport ---------------------------------------------------------------------------

TEST(KivHostTime, TakesOnlyWhatTheHostMarksValid) {
    KivTransport transport;
    transport.tempo = 100.0;
    transport.songPosition = 3.0;
    transport.timeSignatureNumerator = 3;
    double last = 3.0;
    KivHostTime time;
    time.playing = true;
    time.tempo = 0.0;          // not marked valid: a host's zero must not stop the tempo
    time.position = 1000.0;    // not valid either
    time.hasBarStart = true;
    time.barStart = 8.3;
    time.hasTimeSignature = true;
    time.timeSignatureNumerator = 6;
    time.timeSignatureDenominator = 8;
    time.cycleActive = false;
    time.cycleStart = 1.0;
    time.cycleEnd = 5.0;
    KivApplyHostTime(time, transport, last);
    EXPECT_EQ(transport.tempo, 100.0);
    EXPECT_EQ(transport.songPosition, 3.0);
    EXPECT_EQ(transport.timeSignatureNumerator, 6);
    EXPECT_EQ(transport.barStartPosition, 8.5);  // on the eighth-note grid: round(2 * 8.3) / 2
    EXPECT_EQ(transport.cycleStart, -1.0);
    EXPECT_TRUE(transport.playing);
    EXPECT_TRUE(transport.playingChanged);

    time.hasTempo = time.hasPosition = true;
    time.tempo = 90.0;
    time.position = 4.5;
    time.cycleActive = true;
    KivApplyHostTime(time, transport, last);
    EXPECT_EQ(transport.tempo, 90.0);
    EXPECT_EQ(transport.songPosition, 4.5);
    EXPECT_EQ(transport.cycleStart, 1.0);
    EXPECT_EQ(transport.cycleEnd, 5.0);
    EXPECT_FALSE(transport.playingChanged);
    EXPECT_EQ(last, 4.5);

    time.position = 7.0;  // 2.5 beats on: a relocation, not play
    KivApplyHostTime(time, transport, last);
    EXPECT_TRUE(transport.positionJumped);
    time.cycleEnd = time.cycleStart;  // a cycle without length is none
    time.playing = false;
    KivApplyHostTime(time, transport, last);
    EXPECT_EQ(transport.cycleEnd, -1.0);
    EXPECT_FALSE(transport.playing);
}

// ---- channel groups ------------------------------------------------------------------------

// Inputs repeat a narrow group's last channel (a mono bus feeds both sides); outputs leave the
// rest empty, for the core to give each entry a discard buffer of its own.
TEST(KivHostChannels, RunsSplitIntoGroupsAndNarrowGroupsRepeatOnlyTheirLastInput) {
    float samples[5] = {};
    float* channels[5] = {&samples[0], &samples[1], &samples[2], &samples[3], &samples[4]};
    KivHostChannelGroup groups[4];
    ASSERT_EQ(KivSplitHostChannels(channels, 5, 2, groups, 4), 3);
    EXPECT_EQ(groups[2].count, 1);
    float* target[16];
    // Room for three groups of four, two spare.
    KivLayOutHostChannels(groups, 3, 4, target, 14, KivNarrowGroupFill::kRepeatLast);
    const std::vector<float*> inputs{channels[0], channels[1], channels[1], channels[1], channels[2], channels[3],
                                     channels[3], channels[3], channels[4], channels[4], channels[4], channels[4],
                                     nullptr,     nullptr};
    EXPECT_EQ(std::vector<float*>(target, target + 14), inputs);
    KivLayOutHostChannels(groups, 3, 4, target, 14, KivNarrowGroupFill::kLeaveEmpty);
    const std::vector<float*> outputs{channels[0], channels[1], nullptr, nullptr, channels[2], channels[3], nullptr,
                                      nullptr,     channels[4], nullptr, nullptr, nullptr, nullptr,     nullptr};
    EXPECT_EQ(std::vector<float*>(target, target + 14), outputs);
    KivHostChannelGroup empty[2] = {{nullptr, 2}, {channels, 0}};
    KivLayOutHostChannels(empty, 2, 2, target, 4, KivNarrowGroupFill::kRepeatLast);
    EXPECT_EQ(std::vector<float*>(target, target + 4), std::vector<float*>(4, nullptr));
}

// ---- MIDI queue ------------------------------------------------------------------------------

TEST(KivHostMidiQueue, KeepsOrderRefusesWhenFullAndTakesFromSeveralWriters) {
    auto queue = std::make_unique<KivHostMidiQueue>();
    const uint8_t bytes[3] = {0x90, 60, 100};
    for (uint32_t i = 0; i < KivHostMidiQueue::kCapacity; ++i) ASSERT_TRUE(queue->Append(static_cast<int32_t>(i), bytes));
    EXPECT_FALSE(queue->Append(0, bytes));
    KivHostMidiMessage message;
    for (uint32_t i = 0; i < KivHostMidiQueue::kCapacity; ++i) {
        ASSERT_TRUE(queue->Take(message));
        ASSERT_EQ(message.deltaFrames, static_cast<int32_t>(i));
    }
    EXPECT_FALSE(queue->Take(message));

    // Two writers, one reader taking as they go: every message once, each writer's in order.
    constexpr int32_t kEach = 5000;
    auto write = [&](uint8_t writer) {
        for (int32_t i = 0; i < kEach;) {
            const uint8_t data[3] = {0xB0, writer, 0};
            if (queue->Append(i, data)) ++i;
        }
    };
    std::thread first(write, uint8_t{1});
    std::thread second(write, uint8_t{2});
    int32_t next[3] = {0, 0, 0};
    int32_t received = 0;
    while (received < 2 * kEach) {
        if (!queue->Take(message)) continue;
        ASSERT_EQ(message.deltaFrames, next[message.bytes[1]]++);
        ++received;
    }
    first.join();
    second.join();
    EXPECT_EQ(next[1], kEach);
    EXPECT_EQ(next[2], kEach);
}

TEST(KivHostSetup, SampleRatesRoundHalfUpAndNoAudioRatesAreRefused) {
    EXPECT_EQ(KivHostSetup::RoundSampleRate(44099.5), 44100);
    EXPECT_EQ(KivHostSetup::RoundSampleRate(48000.49), 48000);
    EXPECT_EQ(KivHostSetup::RoundSampleRate(100.5), 101);
    EXPECT_EQ(KivHostSetup::RoundSampleRate(100.4), 0);
    EXPECT_EQ(KivHostSetup::RoundSampleRate(-44100.0), 0);
    EXPECT_EQ(KivHostSetup::RoundSampleRate(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(KivHostSetup::RoundSampleRate(1e300), 0);
}

}  // namespace
