#include <gtest/gtest.h>

#include "base/xml/kiv_xml_item.h"
#include "plugin/kiv_shared_settings.h"
#include "tests/plugin/fixtures/unity_gain_effect.h"
#include "tests/support/kiv_test_print.h"

namespace {

constexpr int32_t kStereo = 2;
constexpr int32_t kSurround = 8;

KivSharedSettings Read(KivXMLItem& item, int32_t channelsPerGroup = kStereo) {
    KivSharedSettings settings;
    settings.StoreVersion(item, false);
    settings.StoreModeAndFlags(item, false, channelsPerGroup);
    return settings;
}

TEST(SharedSettingsReadTest, EmptyItemGivesTheDefaults) {
    KivXMLItem item("settings");
    const KivSharedSettings settings = Read(item);
    EXPECT_EQ(settings.version, 328448u);
    EXPECT_EQ(settings.channelMode, kKivChannelModeLeftRight);
    EXPECT_FALSE(settings.bypass);
    EXPECT_EQ(settings.maxLFOBlockSize, 256);
}

TEST(SharedSettingsReadTest, PresentAttributesAreTakenOver) {
    KivXMLItem item("settings");
    item.SetAttribute("Version", "393216");
    item.SetAttribute("ChannelMode", "stereo");
    item.SetAttribute("Bypass", "1");
    item.SetAttribute("MaxLFOBlockSize", "64");
    const KivSharedSettings settings = Read(item);
    EXPECT_EQ(settings.version, 393216u);
    EXPECT_EQ(settings.channelMode, kKivChannelModeSide);
    EXPECT_TRUE(settings.bypass);
    EXPECT_EQ(settings.maxLFOBlockSize, 64);
}

TEST(SharedSettingsReadTest, BypassZeroIsOff) {
    KivXMLItem item("settings");
    item.SetAttribute("Bypass", "0");
    EXPECT_FALSE(Read(item).bypass);
}

TEST(SharedSettingsReadTest, SurroundNeedsASurroundSetUp) {
    KivXMLItem stored("settings");
    stored.SetAttribute("ChannelMode", "Surround");
    EXPECT_EQ(Read(stored, kStereo).channelMode, kKivChannelModeLeftRight);
    EXPECT_EQ(Read(stored, kSurround).channelMode, kKivChannelModeSurround);

    KivXMLItem older("settings");
    older.SetAttribute("EnableSurroundProcessing", "1");
    EXPECT_EQ(Read(older, kSurround).channelMode, kKivChannelModeSurround);
    EXPECT_EQ(Read(older, kStereo).channelMode, kKivChannelModeLeftRight);
    older.SetAttribute("EnableSurroundProcessing", "0");
    older.SetAttribute("ChannelMode", "Mono");
    EXPECT_EQ(Read(older, kSurround).channelMode, kKivChannelModeLeftRight);
}

TEST(SharedSettingsWriteTest, DefaultsLeaveOutBypassAndBlockSize) {
    KivXMLItem item("settings");
    item.SetAttribute("Bypass", "1");
    item.SetAttribute("MaxLFOBlockSize", "64");
    KivSharedSettings settings;
    settings.channelMode = kKivChannelModeMid;
    settings.StoreVersion(item, true);
    settings.StoreModeAndFlags(item, true, kStereo);
    EXPECT_EQ(item.GetAttribute("Version"), KivString("328448"));
    EXPECT_EQ(item.GetAttribute("ChannelMode"), KivString("Mono"));
    EXPECT_FALSE(item.HasAttribute("Bypass"));
    EXPECT_FALSE(item.HasAttribute("MaxLFOBlockSize"));
    EXPECT_EQ(item.GetAttributeCount(), 2);
}

TEST(SharedSettingsWriteTest, RoundTripKeepsEveryField) {
    KivSharedSettings written;
    written.version = 400000;
    written.channelMode = kKivChannelModeLeftRightNegated;
    written.bypass = true;
    written.maxLFOBlockSize = 1024;
    KivXMLItem item("settings");
    written.StoreVersion(item, true);
    written.StoreModeAndFlags(item, true, kStereo);
    EXPECT_EQ(item.GetAttribute("Bypass"), KivString("1"));
    const KivSharedSettings read = Read(item);
    EXPECT_EQ(read.version, 400000u);
    EXPECT_EQ(read.channelMode, kKivChannelModeLeftRightNegated);
    EXPECT_TRUE(read.bypass);
    EXPECT_EQ(read.maxLFOBlockSize, 1024);
}

TEST(AdapterSettingsTest, ReadingAppliesModeBypassAndThresholdToThePlugin) {
    UnityGainPlugin unity;
    KivXMLItem item("settings");
    item.SetAttribute("ChannelMode", "stereo");
    item.SetAttribute("Bypass", "1");
    item.SetAttribute("MaxLFOBlockSize", "32");
    unity.plugin.StoreSettings(item, false);
    EXPECT_EQ(unity.plugin.GetChannelMode(), kKivChannelModeSide);
    EXPECT_TRUE(unity.plugin.IsBypassed());
    EXPECT_EQ(unity.plugin.GetPendingInterpolationThreshold(), 32);
    EXPECT_EQ(unity.plugin.GetSettingsVersion(), 328448u);
    EXPECT_EQ(unity.effect().Channels(), 1);  // the effect was re-initialised for the mode

    KivXMLItem plain("settings");
    unity.plugin.StoreSettings(plain, false);
    EXPECT_FALSE(unity.plugin.IsBypassed());
    EXPECT_EQ(unity.plugin.GetPendingInterpolationThreshold(), 256);
    EXPECT_EQ(unity.plugin.GetChannelMode(), kKivChannelModeSide);  // no "ChannelMode": unchanged
}

}  // namespace
