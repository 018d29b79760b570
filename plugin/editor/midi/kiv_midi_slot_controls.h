#pragma once
#include <cstdint>
#include <vector>

#include "base/kiv_string.h"
#include "gui/drawing/kiv_point.h"

class KivAudioPlugin;
class KivButton;
class KivCheckBox;
class KivComboEdit;
class KivEdit;
class KivPanel;
class KivStatic;

// The controls a row of the MIDI controllers and notes panels is made of, and the item
// lists of their menus. Every control is made as a child of `parent`, sized for the grid.
namespace KivMIDISlotControls {

inline constexpr int32_t kRowHeight = 24;

// Column headings and row numbers in the secondary text colour.
KivStatic* Heading(KivPanel& parent, const char* text, int32_t width);
KivCheckBox* Check(KivPanel& parent);
KivComboEdit* Menu(KivPanel& parent, std::vector<KivString> items, int32_t width);
// A "Learn" toggle: engaged while its slot waits for a message.
KivButton* LearnButton(KivPanel& parent);
// A field editing a normalised 0..1 value, shown and typed in percent.
KivEdit* PercentField(KivPanel& parent, int32_t width);
double GetPercentField(const KivEdit& field);
void SetPercentField(KivEdit& field, double value);

// "None" followed by the plug-in's parameters: item i + 1 is host parameter i.
std::vector<KivString> ParameterItems(KivAudioPlugin& plugin);
// The parameter name chosen in a menu of ParameterItems; empty for "None".
KivString ParameterName(const KivComboEdit& menu);
// The name to store for a slot: the menu's, except that a stored name no parameter answers
// to survives while the menu shows "None".
KivString KeptParameterName(const KivComboEdit& menu, int32_t resolved, const KivString& stored);
// "Any" followed by "1" .. "16": the item is the stored channel (0 any, else channel + 1).
std::vector<KivString> ChannelItems();
// "0" .. "127", then "Aftertouch" and "Pitch-bend": the item is the controller number.
std::vector<KivString> ControllerItems();
// "C-1" .. "G9": the item is the MIDI note number (60 is C4).
std::vector<KivString> NoteItems();

}  // namespace KivMIDISlotControls
