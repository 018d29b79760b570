#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "plugin/kiv_kestrune_audio_effect_plugin.h"
#include "tests/plugin/fixtures/unity_gain_effect.h"

namespace {

// Program changes reach the slots through the automation update thread, not on the audio
// thread: wait for the switch instead of expecting it at once.
bool WaitForCurrentSlot(KivKestruneAudioEffectPlugin& plugin, int32_t slot) {
    for (int i = 0; i < 400; ++i) {
        if (plugin.GetPresetSlots().GetCurrent() == slot) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

}  // namespace

TEST(ProgramChange, MidiProgramSelectsSlotModuloEightOffTheAudioThread) {
    KivKestruneAudioEffectPlugin plugin;
    plugin.Initialize("UnityGain", "Kestrune", &UnityGainEffectInterface);
    const uint8_t program13[3] = {0xC0, 13, 0};
    plugin.ProcessMIDIEvent(0, program13);
    EXPECT_TRUE(WaitForCurrentSlot(plugin, 5));  // 13 mod 8 = 5: slot F
    const uint8_t program8[3] = {0xC3, 8, 0};
    plugin.ProcessMIDIEvent(0, program8);
    EXPECT_TRUE(WaitForCurrentSlot(plugin, 0));  // slot A again
}
