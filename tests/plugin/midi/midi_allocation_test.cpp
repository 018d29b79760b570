#include <gtest/gtest.h>


#include "tests/plugin/fixtures/unity_gain_effect.h"

#include "tests/support/kiv_allocation_counting.h"

using KivAllocationCounting::allocations;
using KivAllocationCounting::counting;

namespace {

// A listener that keeps nothing, so that only the processors' own work is counted.
struct SilentListener : KivMIDIProcessor {};

void SendEveryKind(KivMIDIProcessor& processor) {
    static const uint8_t kMessages[][3] = {
        {0x90, 64, 100}, {0x90, 60, 90}, {0xB0, 1, 20}, {0xB3, 7, 127}, {0xE0, 0x12, 0x50}, {0xD0, 99, 0},
        {0xA0, 60, 40},  {0xC0, 3, 0},   {0x80, 64, 0}, {0x90, 60, 0},  {0xF8, 0, 0},
    };
    for (int32_t offset = 0; offset < 64; ++offset)
        for (const auto& message : kMessages) processor.ProcessMIDIEvent(offset, message);
}

TEST(MIDIAllocationTest, HandlingEventsAfterPreparationAllocatesNothing) {
    // Installed before the plug-in starts its update thread and removed after it has ended:
    // that thread allocates through the same table (the program change below switches slots).
    KivAllocationCounting::CountingMemoryTable memory;
    UnityGainPlugin unity;
    KivMIDIControllers& controllers = unity.plugin.GetMIDIControllers();
    for (int32_t slot = 0; slot < KivMIDIControllers::kSlots; ++slot) {
        KivControllerSlot controller;
        controller.enabled = true;
        controller.parameterName = "Gain";
        controller.rangeMode = static_cast<KivRangeMode>(slot % KivRangeModes::kCount);
        controller.controller = slot < 14 ? static_cast<uint32_t>(slot) : 128u + (slot - 14);
        controllers.SetControllerSlot(slot, controller);
        KivNoteControllerSlot note;
        note.enabled = true;
        note.parameterName = "Gain";
        note.mode = static_cast<KivNoteControllerMode>(slot % KivNoteControllerModes::kCount);
        controllers.SetNoteControllerSlot(slot, note);
    }
    SilentListener listener;
    unity.plugin.AddMIDIListener(listener);
    unity.plugin.SetNoteHold(0, true);
    SendEveryKind(unity.plugin);  // the first events may allocate

    allocations = 0;
    counting = true;
    controllers.SetControllerLearning(3, true);
    controllers.SetNoteLearning(3, true);
    SendEveryKind(unity.plugin);
    unity.plugin.SetNoteHold(0, false);
    unity.plugin.ProcessAllNotesOff(0);
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
    EXPECT_FALSE(controllers.IsControllerLearning(3));
}

}  // namespace
