// The built plug-in file in a VST 2.4 host that records every call the plug-in makes and the
// thread it makes it from: news of the plug-in (latency, whole-settings changes) reaches the
// host, never from the thread that processes audio.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "hosts/vst2/vst2_abi.h"
#include "tools/vst2host/kiv_vst2_plugin.h"

namespace {

constexpr int32_t kBlock = 256;
constexpr int32_t kWaitMilliseconds = 20000;

class TandrelMiniHostNotifications : public ::testing::Test {
protected:
    void SetUp() override {
        KivVst2HostSettings settings;
        settings.sampleRate = 44100.0;
        settings.blockSize = kBlock;
        ASSERT_TRUE(plugin.Load(KIV_TANDREL_MINI_PATH, settings)) << plugin.ErrorText();
        plugin.Open();
        plugin.Host().ClearReports();
    }

    int32_t FindParameter(const char* name) {
        for (int32_t index = 0; index < plugin.NumParams(); ++index)
            if (plugin.ParameterName(index).find(name) != std::string::npos) return index;
        return -1;
    }

    // Blocks of noise processed on a thread of their own, as a host's audio thread does.
    std::thread::id ProcessOnAudioThread(int32_t blocks) {
        std::thread::id id;
        std::thread audio([&] {
            id = std::this_thread::get_id();
            std::vector<std::vector<float>> inputs(2, std::vector<float>(static_cast<size_t>(kBlock * blocks)));
            for (size_t i = 0; i < inputs[0].size(); ++i) inputs[0][i] = inputs[1][i] = 0.5f * std::sin(0.01f * i);
            std::vector<std::vector<float>> outputs;
            plugin.ProcessInBlocks(inputs, outputs, kBlock * blocks);
        });
        audio.join();
        return id;
    }

    std::vector<KivVst2HostCall> CallsOf(int32_t opcode) {
        std::vector<KivVst2HostCall> calls = plugin.Host().Calls();
        calls.erase(std::remove_if(calls.begin(), calls.end(), [&](const KivVst2HostCall& call) { return call.opcode != opcode; }),
                    calls.end());
        return calls;
    }

    KivVst2Plugin plugin;
};

// initialDelay holds the new latency by the time audioMasterIOChanged asks the host to read it.
TEST_F(TandrelMiniHostNotifications, LatencyChangeReachesTheHostOffTheAudioThread) {
    const int32_t lookAhead = FindParameter("Look-ahead");
    ASSERT_GE(lookAhead, 0);
    EXPECT_EQ(plugin.Latency(), 0);
    // The knob runs 0..1 s under a fourth-power curve: 0.005 s sits at 0.005^(1/4), 220.5
    // samples at 44.1 kHz, which round up to 221.
    plugin.SetParameter(lookAhead, static_cast<float>(std::pow(0.005, 0.25)));
    const std::thread::id audio = ProcessOnAudioThread(4);
    ASSERT_TRUE(plugin.Host().WaitForCalls(audioMasterIOChanged, 1, kWaitMilliseconds));
    const std::vector<KivVst2HostCall> changes = CallsOf(audioMasterIOChanged);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].initialDelay, 221);
    EXPECT_NE(changes[0].thread, audio);
    EXPECT_EQ(plugin.Latency(), 221);
    // The audio thread asks its questions (time, process level) and sends MIDI, nothing more.
    for (const KivVst2HostCall& call : plugin.Host().Calls()) {
        if (call.thread != audio) continue;
        for (int32_t report : {audioMasterAutomate, audioMasterIOChanged, audioMasterUpdateDisplay,
                               audioMasterBeginEdit, audioMasterEndEdit, audioMasterSizeWindow})
            EXPECT_NE(call.opcode, report);
    }
}

// A MIDI program change switches the preset slot on the plug-in's update thread; the host
// hears of the whole-settings change from there and reads the parameters again.
TEST_F(TandrelMiniHostNotifications, ProgramChangeMakesTheHostReadEveryParameterAgain) {
    const int32_t threshold = FindParameter("Threshold");
    ASSERT_GE(threshold, 0);
    plugin.SetParameter(threshold, 0.25f);
    plugin.ProcessEvents({KivVst2MidiMessage{0, {0xC0, 1, 0}}});
    const std::thread::id audio = ProcessOnAudioThread(2);
    ASSERT_TRUE(plugin.Host().WaitForCalls(audioMasterUpdateDisplay, 1, kWaitMilliseconds));
    for (const KivVst2HostCall& call : CallsOf(audioMasterUpdateDisplay)) EXPECT_NE(call.thread, audio);
    // Slot B started as a copy of slot A: the host reads the values the slot holds.
    plugin.Host().ClearReports();
    plugin.ProcessEvents({KivVst2MidiMessage{0, {0xC0, 0, 0}}});
    ProcessOnAudioThread(2);
    ASSERT_TRUE(plugin.Host().WaitForCalls(audioMasterUpdateDisplay, 1, kWaitMilliseconds));
    EXPECT_FLOAT_EQ(plugin.GetParameter(threshold), 0.25f);
}

// A chunk set by the host on its main thread is a whole-settings change as well; the host
// hears of it at once, on that thread.
TEST_F(TandrelMiniHostNotifications, ChunkLoadMakesTheHostReadEveryParameterAgain) {
    const std::vector<uint8_t> chunk = plugin.GetChunk();
    ASSERT_FALSE(chunk.empty());
    plugin.Host().ClearReports();
    ASSERT_TRUE(plugin.SetChunk(chunk));
    const std::vector<KivVst2HostCall> updates = CallsOf(audioMasterUpdateDisplay);
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_EQ(updates[0].thread, std::this_thread::get_id());
}

// The drawn shape's point parameters follow threshold and ratio while the shape is automatic:
// the host hears of their new values as automation, and of nothing it set itself.
TEST_F(TandrelMiniHostNotifications, ShapePointsThatFollowTheRatioAreReportedAsAutomation) {
    const int32_t ratio = FindParameter("Ratio");  // processor 1's, which is on
    ASSERT_GE(ratio, 0);
    // 1 : 1 draws the shape as the diagonal; 0.5 bends it: the top point comes down.
    const float topY = plugin.GetParameter(38);
    plugin.SetParameter(ratio, 0.5f);
    EXPECT_LT(plugin.GetParameter(38), topY);
    const std::vector<KivVst2HostCall> automation = CallsOf(audioMasterAutomate);
    ASSERT_FALSE(automation.empty());
    bool topReported = false;
    for (const KivVst2HostCall& call : automation) {
        EXPECT_GE(call.index, 29);  // after the 29 simple parameters: the shape's points
        EXPECT_EQ(call.thread, std::this_thread::get_id());
        EXPECT_FLOAT_EQ(call.opt, plugin.GetParameter(call.index)) << call.index;
        topReported = topReported || call.index == 38;
    }
    EXPECT_TRUE(topReported);
}

}  // namespace
