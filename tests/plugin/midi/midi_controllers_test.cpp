#include <gtest/gtest.h>

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "tests/plugin/fixtures/unity_gain_effect.h"

namespace {

constexpr int32_t kGain = 0;  // the stand-in effect's one parameter

// Controller and note slots driving the stand-in effect's "Gain" through raw MIDI.
class MIDIControllersTest : public ::testing::Test {
protected:
    KivMIDIControllers& controllers() { return unity.plugin.GetMIDIControllers(); }
    double gain() { return unity.plugin.GetParameter(kGain); }
    void Send(uint8_t status, uint8_t data1, uint8_t data2 = 0) {
        const uint8_t bytes[3] = {status, data1, data2};
        unity.plugin.ProcessMIDIEvent(0, bytes);
    }
    // Gain after control change 1 on channel index 0 at 7-bit value `value`.
    double GainAt(uint8_t value) {
        Send(0xB0, 1, value);
        return gain();
    }
    void SetController(int32_t slot, KivRangeMode mode, double value, double depth, double maxValue = 0.0,
                       bool invert = false) {
        KivControllerSlot settings;
        settings.enabled = true;
        settings.parameterName = "gain";  // names match ignoring case
        settings.rangeMode = mode;
        settings.value = value;
        settings.depth = depth;
        settings.maxValue = maxValue;
        settings.invert = invert;
        controllers().SetControllerSlot(slot, settings);
    }
    void SetNoteSlot(int32_t slot, KivNoteControllerMode mode, uint32_t note = 64) {
        KivNoteControllerSlot settings;
        settings.enabled = true;
        settings.parameterName = "Gain";
        settings.mode = mode;
        settings.minValue = 0.1;
        settings.maxValue = 0.9;
        settings.note = note;
        controllers().SetNoteControllerSlot(slot, settings);
    }

    UnityGainPlugin unity;
};

TEST_F(MIDIControllersTest, RangeModesMapTheControllerTravel) {
    SetController(0, kKivRangeUpAndDown, 0.1, 1.0);
    EXPECT_NEAR(GainAt(0), 0.0, 1e-12);
    EXPECT_NEAR(GainAt(127), 0.2, 1e-12);
    SetController(0, kKivRangeFullRange, 0.1, 1.0);
    EXPECT_NEAR(GainAt(0), 0.0, 1e-12);
    EXPECT_NEAR(GainAt(127), 1.0, 1e-12);
    SetController(0, kKivRangeFullRange, 0.9, 0.4);  // the range moves inwards to 0.6..1
    EXPECT_NEAR(GainAt(0), 0.6, 1e-12);
    EXPECT_NEAR(GainAt(127), 1.0, 1e-12);
    SetController(0, kKivRangeUpOnly, 0.8, 0.5);
    EXPECT_NEAR(GainAt(0), 0.8, 1e-12);
    EXPECT_NEAR(GainAt(127), 1.0, 1e-12);
    SetController(0, kKivRangeDownOnly, 0.7, 0.3);
    EXPECT_NEAR(GainAt(0), 0.7, 1e-12);
    EXPECT_NEAR(GainAt(127), 0.4, 1e-12);
    SetController(0, kKivRangeInterval, 0.2, 1.0, 0.6);
    EXPECT_NEAR(GainAt(0), 0.2, 1e-12);
    EXPECT_NEAR(GainAt(127), 0.6, 1e-12);
    SetController(0, kKivRangeInterval, 0.2, 1.0, 0.6, true);
    EXPECT_NEAR(GainAt(0), 0.6, 1e-12);
    EXPECT_NEAR(GainAt(127), 0.2, 1e-12);
}

TEST_F(MIDIControllersTest, SlotsFilterChannelAndSource) {
    SetController(0, kKivRangeInterval, 0.0, 1.0, 1.0);
    Send(0xB5, 1, 127);  // channel 0 listens to every channel
    EXPECT_NEAR(gain(), 1.0, 1e-12);
    KivControllerSlot slot = controllers().GetControllerSlot(0);
    slot.channel = 3;
    controllers().SetControllerSlot(0, slot);
    Send(0xB3, 1, 0);  // channel index 3 is channel 4: not this slot's
    EXPECT_NEAR(gain(), 1.0, 1e-12);
    Send(0xB2, 2, 0);  // right channel, other controller
    EXPECT_NEAR(gain(), 1.0, 1e-12);
    Send(0xB2, 1, 0);
    EXPECT_NEAR(gain(), 0.0, 1e-12);
    slot.channel = 0;
    slot.controller = KivControllerSlot::kPitchBend;
    controllers().SetControllerSlot(0, slot);
    Send(0xE0, 0x00, 0x40);  // centre bend: half way
    EXPECT_NEAR(gain(), 0.5, 1e-4);
    slot.controller = KivControllerSlot::kAftertouch;
    controllers().SetControllerSlot(0, slot);
    Send(0xA0, 60, 127);  // one key's pressure is not channel aftertouch
    EXPECT_NEAR(gain(), 0.5, 1e-4);
    Send(0xD0, 127);
    EXPECT_NEAR(gain(), 1.0, 1e-12);
}

TEST_F(MIDIControllersTest, SlotWithoutMatchingParameterDoesNothing) {
    KivControllerSlot settings;
    settings.enabled = true;
    settings.parameterName = "Nothing";
    controllers().SetControllerSlot(0, settings);
    unity.plugin.SetParameter(kGain, 0.3, false);
    Send(0xB0, 1, 127);
    EXPECT_NEAR(gain(), 0.3, 1e-12);
    EXPECT_EQ(controllers().GetControllerSlot(0).parameter, -1);
}

TEST_F(MIDIControllersTest, LearnTakesTheNextSourceOnce) {
    SetController(4, kKivRangeInterval, 0.0, 1.0, 1.0);
    controllers().SetControllerLearning(4, true);
    Send(0xB6, 7, 127);  // channel index 6, controller 7: learned, not yet applied
    EXPECT_FALSE(controllers().IsControllerLearning(4));
    EXPECT_EQ(controllers().GetControllerSlot(4).channel, 7u);
    EXPECT_EQ(controllers().GetControllerSlot(4).controller, 7u);
    EXPECT_EQ(controllers().GetLearnedChannel(), 7u);
    EXPECT_NEAR(gain(), 1.0, 1e-12);  // the default gain, untouched so far
    Send(0xB6, 7, 0);
    EXPECT_NEAR(gain(), 0.0, 1e-12);
    Send(0xB0, 9, 127);  // learning ended: another source changes nothing
    EXPECT_EQ(controllers().GetControllerSlot(4).controller, 7u);
    EXPECT_NEAR(gain(), 0.0, 1e-12);

    SetNoteSlot(2, kKivNoteOnOff, 0);
    controllers().SetNoteLearning(2, true);
    Send(0x90, 67, 100);
    EXPECT_EQ(controllers().GetNoteControllerSlot(2).note, 67u);
    EXPECT_EQ(controllers().GetLearnedNote(), 67);
    Send(0x80, 67, 0);
    EXPECT_NEAR(gain(), 0.1, 1e-12);
}

// A hand resting on the keys sends pressure, a wheel off centre sends bends: a learning slot
// waits for the knob the user turns, and takes bend or pressure only when nothing else comes.
TEST_F(MIDIControllersTest, LearnPrefersControlChangesToBendAndPressure) {
    SetController(1, kKivRangeInterval, 0.0, 1.0, 1.0);
    controllers().SetControllerLearning(1, true);
    for (int32_t i = 0; i < KivMIDIControllers::kUnintendedSourceRepeats - 1; ++i) {
        Send(0xE2, 0, static_cast<uint8_t>(64 + i % 8));  // bend on channel index 2
        Send(0xD2, static_cast<uint8_t>(i));              // channel pressure, which breaks the bends' run
    }
    EXPECT_TRUE(controllers().IsControllerLearning(1));
    Send(0xB3, 74, 10);
    EXPECT_FALSE(controllers().IsControllerLearning(1));
    EXPECT_EQ(controllers().GetControllerSlot(1).channel, 4u);
    EXPECT_EQ(controllers().GetControllerSlot(1).controller, 74u);

    // Bends alone, one run long enough: the slot takes pitch bend at the last of the run.
    controllers().SetControllerLearning(1, true);
    for (int32_t i = 0; i < KivMIDIControllers::kUnintendedSourceRepeats; ++i) {
        EXPECT_TRUE(controllers().IsControllerLearning(1)) << i;
        Send(0xE5, 0, 70);
    }
    EXPECT_FALSE(controllers().IsControllerLearning(1));
    EXPECT_EQ(controllers().GetControllerSlot(1).channel, 6u);
    EXPECT_EQ(controllers().GetControllerSlot(1).controller, static_cast<uint32_t>(KivControllerSlot::kPitchBend));
}

TEST_F(MIDIControllersTest, NoteSlotsSwitchAndFollowThePitch) {
    SetNoteSlot(0, kKivNoteOnOffAllOctaves);
    Send(0x90, 76, 100);  // E an octave above the slot's note
    EXPECT_NEAR(gain(), 0.9, 1e-12);
    Send(0x90, 65, 100);
    Send(0x80, 76, 0);
    EXPECT_NEAR(gain(), 0.1, 1e-12);

    SetNoteSlot(0, kKivNoteSwitch);
    Send(0x90, 64, 100);
    EXPECT_NEAR(gain(), 0.9, 1e-12);
    Send(0x80, 64, 0);
    Send(0x90, 64, 100);
    EXPECT_NEAR(gain(), 0.1, 1e-12);

    // Note 60 sounds at 440 * 2^0.25 = 523.2511 Hz.
    SetNoteSlot(0, kKivNoteLinear);
    Send(0x90, 60, 100);
    EXPECT_NEAR(gain(), 0.1 + 0.8 * 0.0251877443, 1e-9);
    SetNoteSlot(0, kKivNoteLogarithmic);
    Send(0x90, 60, 100);
    EXPECT_NEAR(gain(), 0.1 + 0.8 * 0.4725600599, 1e-9);
    unity.plugin.ProcessPitchBend(0, 0.0, 0, 1.0);  // a semitone up: 554.3653 Hz
    EXPECT_NEAR(gain(), 0.1 + 0.8 * 0.4809220042, 1e-9);
}

TEST_F(MIDIControllersTest, SlotsSurviveAStorageRoundTrip) {
    SetController(2, kKivRangeInterval, 0.25, 0.5, 0.75, true);
    KivControllerSlot slot = controllers().GetControllerSlot(2);
    slot.channel = 3;
    slot.controller = KivControllerSlot::kPitchBend;
    controllers().SetControllerSlot(2, slot);
    SetNoteSlot(15, kKivNoteSwitchAllOctaves, 70);

    KivXMLItem settings("settings");
    unity.plugin.StoreControllers(settings, true);
    ASSERT_TRUE(settings.HasSubItem("Controllers"));
    const KivXMLItem& controllerItem = settings.GetSubItem().GetSubItem("Controller2");
    EXPECT_EQ(settings.GetSubItem("Controllers").GetSubItemCount(), 1);
    EXPECT_EQ(controllerItem.GetAttribute("Enabled"), KivString("1"));
    EXPECT_EQ(controllerItem.GetAttribute("ParameterName"), KivString("gain"));
    EXPECT_EQ(controllerItem.GetAttribute("FullRange"), KivString("4"));
    EXPECT_EQ(controllerItem.GetAttribute("Invert"), KivString("1"));
    EXPECT_EQ(controllerItem.GetAttribute("Channel"), KivString("3"));
    EXPECT_EQ(controllerItem.GetAttribute("Controller"), KivString("129"));
    EXPECT_EQ(KivNumber::TextToDouble(controllerItem.GetAttribute("Range")), 0.5);
    ASSERT_TRUE(settings.GetSubItem("NoteControllers").HasSubItem("NoteController15"));

    UnityGainPlugin other;
    KivControllerSlot stale;
    stale.enabled = true;
    other.plugin.GetMIDIControllers().SetControllerSlot(0, stale);
    other.plugin.StoreControllers(settings, false);
    const KivControllerSlot loaded = other.plugin.GetMIDIControllers().GetControllerSlot(2);
    EXPECT_FALSE(other.plugin.GetMIDIControllers().GetControllerSlot(0).enabled);  // no child: disabled
    EXPECT_TRUE(loaded.enabled);
    EXPECT_EQ(loaded.parameter, kGain);
    EXPECT_EQ(loaded.rangeMode, kKivRangeInterval);
    EXPECT_DOUBLE_EQ(loaded.value, 0.25);
    EXPECT_DOUBLE_EQ(loaded.maxValue, 0.75);
    EXPECT_TRUE(loaded.invert);
    EXPECT_EQ(loaded.channel, 3u);
    EXPECT_EQ(loaded.controller, KivControllerSlot::kPitchBend);
    const KivNoteControllerSlot note = other.plugin.GetMIDIControllers().GetNoteControllerSlot(15);
    EXPECT_TRUE(note.enabled);
    EXPECT_EQ(note.mode, kKivNoteSwitchAllOctaves);
    EXPECT_EQ(note.note, 70u);
    EXPECT_DOUBLE_EQ(note.minValue, 0.1);
    EXPECT_DOUBLE_EQ(note.maxValue, 0.9);
}

}  // namespace
