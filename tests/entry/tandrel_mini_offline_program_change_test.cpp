// MIDI program changes in an offline render through the built library (VST 2.4 process level
// "offline"): the slot switch takes effect at the start of the block that carries the change,
// every change of a render is carried out, and the render comes out the same every time,
// however the threads are scheduled.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "tools/vst2host/kiv_vst2_plugin.h"

namespace {

constexpr int32_t kBlock = 256;
constexpr int32_t kBlocks = 40;
constexpr int32_t kToB = 10;     // the block carrying "program 1"
constexpr int32_t kBackToA = 24; // the block carrying "program 0"
constexpr float kGainB = 0.75f;  // input gain of slot B: -24 + 48 * 0.75 = +12 dB

int32_t FindParameter(KivVst2Plugin& plugin, const std::string& name) {
    for (int32_t index = 0; index < plugin.NumParams(); ++index)
        if (plugin.ParameterName(index) == name) return index;
    return -1;
}

std::string ChunkText(KivVst2Plugin& plugin) {
    const std::vector<uint8_t> chunk = plugin.GetChunk();
    return std::string(chunk.begin(), chunk.end());
}

KivVst2MidiMessage ProgramChange(uint8_t program, int32_t offset) {
    KivVst2MidiMessage change;
    change.deltaFrames = offset;
    change.bytes[0] = 0xC0;
    change.bytes[1] = program;
    return change;
}

// A real-time instance, switched to slot B, given +12 dB input gain there, and switched back:
// its chunk holds slot A live and slot B with the gain.
std::vector<uint8_t> TwoSlotState() {
    KivVst2Plugin plugin;
    EXPECT_TRUE(plugin.Load(KIV_TANDREL_MINI_PATH)) << plugin.ErrorText();
    plugin.Open();
    std::vector<std::vector<float>> inputs(2, std::vector<float>(kBlock, 0.0f)), outputs;
    const auto switchTo = [&](uint8_t program) {
        plugin.ProcessEvents({ProgramChange(program, 0)});
        const std::string wanted = "PresetIndex=\"" + std::to_string(program) + "\"";
        for (int32_t attempt = 0; attempt < 500; ++attempt) {
            plugin.ProcessInBlocks(inputs, outputs, kBlock);
            if (ChunkText(plugin).find(wanted) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    };
    EXPECT_TRUE(switchTo(1));
    plugin.SetParameter(FindParameter(plugin, "Input gain"), kGainB);
    EXPECT_TRUE(switchTo(0));
    return plugin.GetChunk();
}

// A quiet 1 kHz tone (-40 dBFS), far below every threshold: the plug-in passes it with the
// input gain alone.
std::vector<float> Tone() {
    std::vector<float> tone(static_cast<size_t>(kBlock * kBlocks));
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = 0.01f * static_cast<float>(std::sin(0.1309 * static_cast<double>(i)));
    return tone;
}

// The left output of an offline render of `state`, with the program changes of the test when
// `switching`.
std::vector<float> Render(const std::vector<uint8_t>& state, bool switching) {
    KivVst2HostSettings settings;
    settings.offline = true;
    settings.blockSize = kBlock;
    KivVst2Plugin plugin;
    EXPECT_TRUE(plugin.Load(KIV_TANDREL_MINI_PATH, settings)) << plugin.ErrorText();
    plugin.Open();
    EXPECT_TRUE(plugin.SetChunk(state));
    const std::vector<float> tone = Tone();
    std::vector<float> left;
    for (int32_t block = 0; block < kBlocks; ++block) {
        if (switching && block == kToB) plugin.ProcessEvents({ProgramChange(1, 100)});
        if (switching && block == kBackToA) plugin.ProcessEvents({ProgramChange(0, 7)});
        const std::vector<float> piece(tone.begin() + block * kBlock, tone.begin() + (block + 1) * kBlock);
        std::vector<std::vector<float>> inputs{piece, piece}, outputs;
        plugin.ProcessInBlocks(inputs, outputs, kBlock);
        left.insert(left.end(), outputs[0].begin(), outputs[0].end());
    }
    return left;
}

TEST(TandrelMiniOfflineProgramChange, TheSwitchPointIsTheCarryingBlocksStartOnEveryRender) {
    const std::vector<uint8_t> state = TwoSlotState();
    const std::vector<float> plain = Render(state, false);
    const std::vector<float> first = Render(state, true);
    for (int32_t run = 0; run < 5; ++run) ASSERT_EQ(Render(state, true), first) << "run " << run;

    // Before the carrying block the render is that of slot A alone; from its first sample on
    // it is not.
    const size_t switchPoint = static_cast<size_t>(kToB * kBlock);
    for (size_t i = 0; i < switchPoint; ++i) ASSERT_EQ(first[i], plain[i]) << "sample " << i;
    EXPECT_NE(first[switchPoint], plain[switchPoint]);

    // Slot B plays +12 dB (a factor of 10^(12/20) = 3.981) once its gain has settled, in the
    // block before the change back; the change back is carried out too: at the end the render
    // is slot A's again.
    const double gain = std::pow(10.0, 12.0 / 20.0);
    for (size_t i = static_cast<size_t>((kBackToA - 1) * kBlock); i < static_cast<size_t>(kBackToA * kBlock); ++i)
        if (std::fabs(plain[i]) > 0.005f) {
            ASSERT_NEAR(first[i] / plain[i], gain, 1e-3) << "sample " << i;
        }
    for (size_t i = static_cast<size_t>((kBlocks - 1) * kBlock); i < first.size(); ++i)
        ASSERT_NEAR(first[i], plain[i], 1e-6) << "sample " << i;
}

}  // namespace
