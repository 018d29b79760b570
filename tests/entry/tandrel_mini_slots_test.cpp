// Preset slots through the built library, driven as a VST 2.4 host drives them: a MIDI
// program change selects a slot, and the plug-in's chunk shows what became live.
#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "tools/vst2host/kiv_vst2_plugin.h"

namespace {

std::string ChunkText(KivVst2Plugin& plugin) {
    const std::vector<uint8_t> chunk = plugin.GetChunk();
    return std::string(chunk.begin(), chunk.end());
}

// The live settings of a chunk: without the slot index and the other slots' children.
std::string LiveSettings(const std::string& chunk) {
    std::string live = std::regex_replace(chunk, std::regex(" PresetIndex=\"[0-9]+\""), "");
    live = std::regex_replace(live, std::regex("<Preset[0-7][^>]*/>|<Preset([0-7])[^>]*>[\\s\\S]*?</Preset\\1>"), "");
    return std::regex_replace(live, std::regex("[\\n\\t]"), "");
}

void SwitchOn(KivVst2Plugin& plugin, const std::vector<const char*>& flags) {
    std::string text = ChunkText(plugin);
    for (const char* flag : flags) {
        const std::string off = std::string(flag) + "=\"0\"";
        const size_t at = text.find(off);
        ASSERT_NE(at, std::string::npos) << flag;
        text.replace(at, off.size(), std::string(flag) + "=\"1\"");
    }
    ASSERT_TRUE(plugin.SetChunk(std::vector<uint8_t>(text.begin(), text.end())));
}

// Sends program `program` and runs blocks until the chunk names that slot; the update thread
// carries the switch out within its 100 ms period.
bool ProgramChange(KivVst2Plugin& plugin, uint8_t program) {
    KivVst2MidiMessage change;
    change.bytes[0] = 0xC0;
    change.bytes[1] = program;
    plugin.ProcessEvents({change});
    const std::string wanted = "PresetIndex=\"" + std::to_string(program) + "\"";
    std::vector<std::vector<float>> inputs(2, std::vector<float>(256, 0.1f)), outputs;
    for (int32_t attempt = 0; attempt < 500; ++attempt) {
        plugin.ProcessInBlocks(inputs, outputs, 256);
        if (ChunkText(plugin).find(wanted) != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// A/B must never change the sound: a slot never stored starts as the live settings, the
// settings that are no parameters (expander, limiting, release modes) included.
TEST(TandrelMiniSlots, AFreshSlotIsAFullCopyOfTheLiveSettings) {
    KivVst2Plugin plugin;
    ASSERT_TRUE(plugin.Load(KIV_TANDREL_MINI_PATH)) << plugin.ErrorText();
    plugin.Open();
    SwitchOn(plugin, {"Expander2", "DoNotLimitAbove0dB"});
    plugin.SetParameter(0, 0.7f);
    plugin.SetParameter(24, 1.0f);  // Processor 2 on
    // A block applies the parameters: the drawn shape follows the second processor.
    std::vector<std::vector<float>> inputs(2, std::vector<float>(256, 0.1f)), outputs;
    plugin.ProcessInBlocks(inputs, outputs, 256);
    const std::string before = ChunkText(plugin);

    ASSERT_TRUE(ProgramChange(plugin, 1));
    EXPECT_EQ(LiveSettings(ChunkText(plugin)), LiveSettings(before));
    EXPECT_EQ(plugin.GetParameter(0), 0.7f);

    // Changed in B, back to A: A is as it was left, B keeps its own.
    plugin.SetParameter(0, 0.2f);
    ASSERT_TRUE(ProgramChange(plugin, 0));
    EXPECT_EQ(LiveSettings(ChunkText(plugin)), LiveSettings(before));
    ASSERT_TRUE(ProgramChange(plugin, 1));
    EXPECT_EQ(plugin.GetParameter(0), 0.2f);
    EXPECT_NE(ChunkText(plugin).find("Expander2=\"1\""), std::string::npos);
}

}  // namespace
