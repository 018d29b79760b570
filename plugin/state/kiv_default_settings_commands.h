#pragma once

class KivKestruneAudioEffectPlugin;

// The editor's commands on the family's default settings. Both run on the editor's thread.
namespace KivDefaultSettingsCommands {

// "Save as default": the live settings become the family's default settings, which every
// instance created afterwards starts with (in this process and in others). Raises
// KivException when the file cannot be written; the defaults saved before then stay.
void SaveAsDefault(KivKestruneAudioEffectPlugin& plugin);

// "Reset to factory settings": the live settings become those of a new instance before any
// default settings apply, as a whole change the host hears of; the slots and the saved
// defaults stay as they are.
void ResetToFactorySettings(KivKestruneAudioEffectPlugin& plugin);

}  // namespace KivDefaultSettingsCommands
