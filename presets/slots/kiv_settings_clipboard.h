#pragma once

class KivKestruneAudioEffectPlugin;

// Copy and paste of a plug-in's live settings (not its other slots) through the system
// clipboard, as UTF-8 XML text under the clipboard format "KivAudioPluginSettings".
namespace KivSettingsClipboard {

extern const char16_t* const kFormatName;

// Replaces the clipboard's contents by the live settings; false when the clipboard refused.
bool Copy(KivKestruneAudioEffectPlugin& plugin);
// Loads the live settings from the clipboard. Without data of the format, with unreadable
// data or when loading fails, nothing changes and the answer is false.
bool Paste(KivKestruneAudioEffectPlugin& plugin);

}  // namespace KivSettingsClipboard
