#include "presets/slots/kiv_preset_slot_commands.h"

#include "plugin/kiv_kestrune_audio_effect_plugin.h"

namespace {

constexpr int32_t kSlotB = 1;

}  // namespace

namespace KivPresetSlotCommands {

void Select(KivKestruneAudioEffectPlugin& plugin, int32_t slot) {
    plugin.GetPresetSlots().Select(slot);
    plugin.OnChangePreset();
}

void CompareAB(KivKestruneAudioEffectPlugin& plugin) {
    const int32_t previous = plugin.GetPresetSlots().GetPrevious();
    Select(plugin, previous < 0 ? kSlotB : previous);
}

}  // namespace KivPresetSlotCommands
