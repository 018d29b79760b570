#pragma once
#include <cstdint>

class KivKestruneAudioEffectPlugin;

// What the slot selector and the A/B button do to a plug-in's preset slots.
namespace KivPresetSlotCommands {

// The selector chose `slot` (0..7, A..H): it becomes live.
void Select(KivKestruneAudioEffectPlugin& plugin, int32_t slot);
// Back to the slot that was live before the last switch, or to B when there was none; twice
// returns to where one started.
void CompareAB(KivKestruneAudioEffectPlugin& plugin);

}  // namespace KivPresetSlotCommands
