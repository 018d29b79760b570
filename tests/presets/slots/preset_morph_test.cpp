#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "plugin/kiv_plugin_host.h"
#include "presets/slots/kiv_preset_morph.h"
#include "presets/slots/kiv_preset_morph_session.h"
#include "presets/slots/kiv_preset_slot_commands.h"
#include "tests/plugin/fixtures/unity_gain_effect.h"
#include "threads/kiv_synchronizer_guard.h"

namespace {

struct CountingHost : KivPluginHost {
    void SendAutomation(int32_t, double value) override { sent.push_back(value); }
    void GenerateMIDIEvent(int32_t, const uint8_t*) override {}
    void LatencyChanged() override {}
    void ChangeEditorSize(int32_t, int32_t) override {}
    std::vector<double> sent;
};

// Slots A..D hold gains 0.1, 0.3, 0.5 and 0.9; `live` is live at the end.
struct MorphFixture {
    explicit MorphFixture(int32_t live) {
        const double gains[4] = {0.1, 0.3, 0.5, 0.9};
        for (int32_t slot = 0; slot < 4; ++slot) {
            KivPresetSlotCommands::Select(unity.plugin, slot);
            unity.plugin.SetParameter(0, gains[slot], true);
        }
        KivPresetSlotCommands::Select(unity.plugin, live);
        unity.plugin.SetPluginHost(&host);
    }
    double Gain() { return unity.plugin.GetParameter(0); }

    // The host outlives the plug-in, as a real host's callback does: the plug-in's update
    // thread may tell it of a switch until the plug-in is gone.
    CountingHost host;
    UnityGainPlugin unity;
};

struct ScriptedDialog : KivPresetMorphDialog {
    int32_t Run(KivPresetMorph& morph) override {
        for (double x = 0.0; x <= 1.0; x += 0.125) morph.MoveTo(x, 1.0 - x);
        morph.MoveTo(finalX, finalY);
        return result;
    }
    double finalX = 0.5;
    double finalY = 0.5;
    int32_t result = kOK;
};

struct YesAnswer : KivPresetEQuestion {
    bool AskToSelectPresetE(const KivString& message) override {
        asked = message;
        return true;
    }
    KivString asked;
};

TEST(PresetMorphTest, CornersReproduceTheirSlotsAndTheCentreIsTheMean) {
    MorphFixture fixture(4);
    KivPresetMorph morph(fixture.unity.plugin);
    EXPECT_EQ(morph.GetX(), 0.5);  // slot E starts in the middle
    const double corners[4][3] = {{0, 0, 0.1}, {1, 0, 0.3}, {0, 1, 0.5}, {1, 1, 0.9}};
    for (const auto& corner : corners) {
        morph.MoveTo(corner[0], corner[1]);
        EXPECT_NEAR(fixture.Gain(), corner[2], 1e-12);
    }
    morph.MoveTo(0.5, 0.5);
    EXPECT_NEAR(fixture.Gain(), 0.45, 1e-12);
    morph.MoveTo(0.25, 0.5);  // 0.75 * (0.1 + 0.5) / 2 + 0.25 * (0.3 + 0.9) / 2
    EXPECT_NEAR(fixture.Gain(), 0.375, 1e-12);
    EXPECT_NEAR(fixture.host.sent.back(), 0.375, 1e-12);
}

TEST(PresetMorphTest, HandleStartsOnTheLiveSlotsCorner) {
    MorphFixture fixture(2);
    KivPresetMorph morph(fixture.unity.plugin);
    EXPECT_EQ(morph.GetX(), 0.0);
    EXPECT_EQ(morph.GetY(), 1.0);
    EXPECT_NEAR(fixture.Gain(), 0.5, 1e-12);  // opening the pad leaves the live settings
}

TEST(PresetMorphTest, ParametersOnWhichTheCornersAgreeAreNeverSet) {
    CountingHost host;  // outlives the plug-in, as in the fixture
    UnityGainPlugin unity;
    unity.plugin.SetParameter(0, 0.7, true);
    for (int32_t slot = 1; slot < 4; ++slot) KivPresetSlotCommands::Select(unity.plugin, slot);
    unity.plugin.SetPluginHost(&host);
    KivPresetMorph morph(unity.plugin);
    for (double x = 0.0; x <= 1.0; x += 0.1) morph.MoveTo(x, x * x);
    EXPECT_TRUE(host.sent.empty());
}

TEST(PresetMorphTest, CancellingRestoresTheSettingsFromBefore) {
    MorphFixture fixture(4);
    fixture.unity.plugin.SetParameter(0, 0.65, true);
    ScriptedDialog dialog;
    dialog.result = 2;
    KivDefaultPresetEAnswer answer;
    KivPresetMorphSession::Run(fixture.unity.plugin, dialog, answer);
    EXPECT_DOUBLE_EQ(fixture.Gain(), 0.65);
    EXPECT_FALSE(fixture.host.sent.empty());  // it did move meanwhile
}

// A program change that arrives while the pad is open waits for the session to end: the
// cancelled session puts back the slot it started on, and the slot the program names keeps
// its own settings.
TEST(PresetMorphTest, ProgramChangeDuringASessionWaitsAndNoSlotIsOverwritten) {
    MorphFixture fixture(0);
    struct SwitchingDialog : ScriptedDialog {
        int32_t Run(KivPresetMorph& morph) override {
            morph.MoveTo(1.0, 1.0);  // D's gain, 0.9
            plugin->ProcessProgramChange(0, 0.0, 0, 2);
            plugin->CarryOutAutomationUpdates(0);  // as the update thread would, meanwhile
            stillA = plugin->GetPresetSlots().GetCurrent() == 0;
            return 2;  // cancel
        }
        KivKestruneAudioEffectPlugin* plugin = nullptr;
        bool stillA = false;
    } dialog;
    dialog.plugin = &fixture.unity.plugin;
    KivDefaultPresetEAnswer answer;
    KivPresetMorphSession::Run(fixture.unity.plugin, dialog, answer);
    EXPECT_TRUE(dialog.stillA);
    // The gain right after the session is not checked: the update thread may already be
    // carrying out the switch that waited. Slot A's own gain is checked at the end.
    // The switch that waited follows the session, by this pass or by the update thread,
    // whichever comes first; the state mutex is free once the switch is complete.
    KivKestruneAudioEffectPlugin& plugin = fixture.unity.plugin;
    plugin.CarryOutAutomationUpdates(0);
    for (int32_t wait = 0; wait < 500 && plugin.GetPresetSlots().GetCurrent() != 2; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    { KivSynchronizerGuard settled(plugin.GetStateMutex()); }
    EXPECT_EQ(plugin.GetPresetSlots().GetCurrent(), 2);
    EXPECT_DOUBLE_EQ(fixture.Gain(), 0.5);
    KivPresetSlotCommands::Select(fixture.unity.plugin, 0);
    EXPECT_DOUBLE_EQ(fixture.Gain(), 0.1);
}

TEST(PresetMorphTest, WithSlotELiveNoQuestionIsAsked) {
    MorphFixture fixture(4);
    ScriptedDialog dialog;
    YesAnswer answer;
    KivPresetMorphSession::Run(fixture.unity.plugin, dialog, answer);
    EXPECT_TRUE(answer.asked.IsEmpty());
    EXPECT_NEAR(fixture.Gain(), 0.45, 1e-12);
}

TEST(PresetMorphTest, YesWithSlotBLiveKeepsBAndMakesEThePlaceOfTheMorph) {
    MorphFixture fixture(1);
    ScriptedDialog dialog;
    YesAnswer answer;
    KivPresetMorphSession::Run(fixture.unity.plugin, dialog, answer);
    EXPECT_NE(answer.asked.ToUTF8().find("Preset B is currently selected"), std::string::npos);
    KivPresetSlotItems& slots = fixture.unity.plugin.GetPresetSlots();
    EXPECT_EQ(slots.GetCurrent(), 4);
    EXPECT_EQ(slots.GetSelected(), 4);
    EXPECT_NEAR(fixture.Gain(), 0.45, 1e-12);
    KivPresetSlotCommands::Select(fixture.unity.plugin, 1);
    EXPECT_NEAR(fixture.Gain(), 0.3, 1e-12);
}

TEST(PresetMorphTest, DefaultAnswerLeavesTheSlotsAsTheyAre) {
    MorphFixture fixture(1);
    ScriptedDialog dialog;
    KivDefaultPresetEAnswer answer;
    KivPresetMorphSession::Run(fixture.unity.plugin, dialog, answer);
    EXPECT_EQ(fixture.unity.plugin.GetPresetSlots().GetCurrent(), 1);
    EXPECT_NEAR(fixture.Gain(), 0.45, 1e-12);
}

}  // namespace
