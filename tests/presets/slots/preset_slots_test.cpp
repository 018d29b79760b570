#include <gtest/gtest.h>

#include "presets/slots/kiv_preset_slot_commands.h"
#include "platform/kiv_clipboard.h"
#include "presets/slots/kiv_settings_clipboard.h"
#include "tests/plugin/fixtures/unity_gain_effect.h"

namespace {

int32_t Live(UnityGainPlugin& unity) { return unity.plugin.GetPresetSlots().GetCurrent(); }

TEST(PresetSlotsTest, EverySlotKeepsItsOwnSettings) {
    UnityGainPlugin unity;
    unity.plugin.SetParameter(0, 0.2, true);
    KivPresetSlotCommands::Select(unity.plugin, 3);
    EXPECT_DOUBLE_EQ(unity.plugin.GetParameter(0), 0.2);  // a fresh slot takes over the live settings
    unity.plugin.SetParameter(0, 0.9, true);
    KivPresetSlotCommands::Select(unity.plugin, 0);
    EXPECT_DOUBLE_EQ(unity.plugin.GetParameter(0), 0.2);
    KivPresetSlotCommands::Select(unity.plugin, 3);
    EXPECT_DOUBLE_EQ(unity.plugin.GetParameter(0), 0.9);
}

TEST(PresetSlotsTest, SelectingTheLiveSlotDoesNothing) {
    UnityGainPlugin unity;
    KivPresetSlotCommands::Select(unity.plugin, 2);
    unity.plugin.SetParameter(0, 0.4, true);
    KivPresetSlotCommands::Select(unity.plugin, 2);
    EXPECT_EQ(unity.plugin.GetPresetSlots().GetPrevious(), 0);
    EXPECT_EQ(unity.plugin.GetPresetSlots().Item(2).GetAttributeCount(), 0);  // nothing stored
    EXPECT_DOUBLE_EQ(unity.plugin.GetParameter(0), 0.4);
}

TEST(PresetSlotsTest, ABReturnsToThePreviousSlotAndOnAFreshInstanceGoesToB) {
    UnityGainPlugin fresh;
    KivPresetSlotCommands::CompareAB(fresh.plugin);
    EXPECT_EQ(Live(fresh), 1);

    UnityGainPlugin unity;
    KivPresetSlotCommands::Select(unity.plugin, 2);  // A -> C
    KivPresetSlotCommands::CompareAB(unity.plugin);
    EXPECT_EQ(Live(unity), 0);
    KivPresetSlotCommands::CompareAB(unity.plugin);
    EXPECT_EQ(Live(unity), 2);
    KivPresetSlotCommands::CompareAB(unity.plugin);
    EXPECT_EQ(Live(unity), 0);
}

TEST(PresetSlotsTest, ProgramChangesSelectTheProgramModuloEight) {
    UnityGainPlugin unity;
    const int32_t programs[] = {0, 7, 8, 13};
    const int32_t slots[] = {0, 7, 0, 5};  // A, H, A, F
    for (int32_t i = 0; i < 4; ++i) {
        unity.plugin.SelectPresetByProgram(programs[i]);
        EXPECT_EQ(Live(unity), slots[i]) << "program " << programs[i];
    }
}

TEST(PresetSlotsTest, SelectorValuesAboveHCountAsH) {
    KivPresetSlotItems slots;
    slots.Select(12);
    EXPECT_EQ(slots.GetSelected(), 7);
}

TEST(SettingsClipboardTest, PasteTransfersTheLiveSettingsButNotTheOtherSlots) {
    UnityGainPlugin source;
    source.plugin.SetParameter(0, 0.3, true);
    KivPresetSlotCommands::Select(source.plugin, 1);
    source.plugin.SetParameter(0, 0.6, true);
    source.plugin.SetBypass(true);
    ASSERT_TRUE(KivSettingsClipboard::Copy(source.plugin));

    UnityGainPlugin target;
    target.plugin.SetParameter(0, 0.1, true);
    ASSERT_TRUE(KivSettingsClipboard::Paste(target.plugin));
    EXPECT_DOUBLE_EQ(target.plugin.GetParameter(0), 0.6);
    EXPECT_FALSE(target.plugin.IsBypassed());  // settings change the sound, not whether it is heard
    EXPECT_EQ(Live(target), 0);
    EXPECT_EQ(target.plugin.GetPresetSlots().Item(1).GetAttributeCount(), 0);  // B never arrives
}

TEST(SettingsClipboardTest, PasteWithoutSettingsOnTheClipboardChangesNothing) {
    const char16_t* format = u"SomethingElse";
    const uint8_t text[] = "<settings parametergain=\"0.5\"/>";
    ASSERT_EQ(KivClipboard::Put(format, text, sizeof(text) - 1), KivClipboard::Result::kDone);
    UnityGainPlugin unity;
    unity.plugin.SetParameter(0, 0.1, true);
    EXPECT_FALSE(KivSettingsClipboard::Paste(unity.plugin));
    const uint8_t cut[] = "<KivAudioPluginSettings parametergain=\"0.5\"><Controllers/>";
    ASSERT_EQ(KivClipboard::Put(KivSettingsClipboard::kFormatName, cut, sizeof(cut) - 1),
              KivClipboard::Result::kDone);
    EXPECT_FALSE(KivSettingsClipboard::Paste(unity.plugin));
    EXPECT_DOUBLE_EQ(unity.plugin.GetParameter(0), 0.1);
}

}  // namespace
