// The factory presets as a VST 2.4 host's program list, through the built plug-in file:
// program 0 is the settings as they are, the others load a factory preset each.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hosts/vst2/vst2_abi.h"
#include "tools/vst2host/kiv_vst2_plugin.h"

namespace {

constexpr int32_t kFactoryPresets = 21;
constexpr int32_t kThreshold1 = 20;
constexpr int32_t kRatio1 = 21;
constexpr int32_t kGate = 14;

std::string ProgramName(KivVst2Plugin& plugin, int32_t index) {
    char text[64] = "unchanged";
    plugin.Dispatch(effGetProgramNameIndexed, index, -1, text);
    return text;
}

int32_t FindProgram(KivVst2Plugin& plugin, const std::string& name) {
    for (int32_t i = 0; i < plugin.Effect()->numPrograms; ++i)
        if (ProgramName(plugin, i) == name) return i;
    return -1;
}

TEST(TandrelMiniPrograms, ListTheCurrentSettingsThenEveryFactoryPreset) {
    KivVst2Plugin plugin;
    ASSERT_TRUE(plugin.Load(KIV_TANDREL_MINI_PATH)) << plugin.ErrorText();
    ASSERT_EQ(plugin.Effect()->numPrograms, kFactoryPresets + 1);
    EXPECT_EQ(plugin.Dispatch(effGetProgram), 0);
    EXPECT_EQ(ProgramName(plugin, 0), "Current settings");
    EXPECT_EQ(ProgramName(plugin, 1), "Vocal levelling");
    for (int32_t i = 1; i <= kFactoryPresets; ++i) {
        const std::string name = ProgramName(plugin, i);
        EXPECT_FALSE(name.empty()) << i;
        EXPECT_LT(name.size(), 24u) << name;  // the interface's program names hold 23 characters
    }
    char text[64] = "unchanged";
    EXPECT_EQ(plugin.Dispatch(effGetProgramNameIndexed, kFactoryPresets + 1, -1, text), 0);
    EXPECT_EQ(plugin.Dispatch(effGetProgramNameIndexed, -1, -1, text), 0);
}

TEST(TandrelMiniPrograms, ChoosingAProgramLoadsItsPresetAndProgramZeroChangesNothing) {
    KivVst2Plugin plugin;
    ASSERT_TRUE(plugin.Load(KIV_TANDREL_MINI_PATH)) << plugin.ErrorText();
    const int32_t limiter = FindProgram(plugin, "Brick-wall limiter");
    const int32_t gate = FindProgram(plugin, "Noise gate");
    ASSERT_GT(limiter, 0);
    ASSERT_GT(gate, 0);

    plugin.Dispatch(effSetProgram, 0, limiter);
    EXPECT_EQ(plugin.Dispatch(effGetProgram), limiter);
    EXPECT_EQ(plugin.ParameterDisplay(kThreshold1), "-6.00 dB");
    EXPECT_EQ(plugin.ParameterDisplay(kRatio1), "Infinity");
    char name[64] = {};
    plugin.Dispatch(effGetProgramName, 0, 0, name);
    EXPECT_STREQ(name, "Brick-wall limiter");

    // Another preset replaces every setting the first one changed.
    plugin.Dispatch(effSetProgram, 0, gate);
    EXPECT_EQ(plugin.ParameterDisplay(kGate), "On");
    EXPECT_EQ(plugin.ParameterDisplay(kRatio1), "1.00 : 1");

    // The user's own change survives a host selecting the current program again, and program 0.
    plugin.SetParameter(kThreshold1, 0.25f);
    const std::string edited = plugin.ParameterDisplay(kThreshold1);
    plugin.Dispatch(effSetProgram, 0, gate);
    EXPECT_EQ(plugin.ParameterDisplay(kThreshold1), edited);
    plugin.Dispatch(effSetProgram, 0, 0);
    EXPECT_EQ(plugin.ParameterDisplay(kThreshold1), edited);
    EXPECT_EQ(plugin.ParameterDisplay(kGate), "On");
    // Out-of-range programs are ignored.
    plugin.Dispatch(effSetProgram, 0, kFactoryPresets + 1);
    plugin.Dispatch(effSetProgram, 0, -3);
    EXPECT_EQ(plugin.Dispatch(effGetProgram), 0);
}

// A host restoring a project selects the saved program, then hands over the saved state: the
// state wins, and the program number comes back as it was.
TEST(TandrelMiniPrograms, RestoredStateWinsOverTheProgramSelectedBeforeIt) {
    KivVst2Plugin first;
    ASSERT_TRUE(first.Load(KIV_TANDREL_MINI_PATH)) << first.ErrorText();
    const int32_t limiter = FindProgram(first, "Brick-wall limiter");
    first.Dispatch(effSetProgram, 0, limiter);
    first.SetParameter(kThreshold1, 0.3f);
    const std::string edited = first.ParameterDisplay(kThreshold1);
    const std::vector<uint8_t> state = first.GetChunk();

    KivVst2Plugin second;
    ASSERT_TRUE(second.Load(KIV_TANDREL_MINI_PATH)) << second.ErrorText();
    second.Dispatch(effSetProgram, 0, limiter);
    ASSERT_TRUE(second.SetChunk(state));
    EXPECT_EQ(second.ParameterDisplay(kThreshold1), edited);
    EXPECT_EQ(second.ParameterDisplay(kRatio1), "Infinity");
    EXPECT_EQ(second.Dispatch(effGetProgram), limiter);
}

}  // namespace
