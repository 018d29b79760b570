#include "plugin/editor/midi/kiv_midi_slot_controls.h"

#include <memory>

#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_check_box.h"
#include "gui/controls/kiv_combo_edit.h"
#include "gui/controls/kiv_edit.h"
#include "gui/controls/kiv_static.h"
#include "gui/core/kiv_panel.h"
#include "gui/loader/kiv_owned_value.h"
#include "parameters/values/kiv_display_text.h"
#include "parameters/values/kiv_value_percents.h"
#include "plugin/kiv_audio_plugin.h"

namespace {

using Percents = KivOwnedValue<KivValuePercents>;

template <typename T>
T* Make(KivPanel& parent, int32_t width, int32_t height = KivMIDISlotControls::kRowHeight) {
    auto* control = new T();
    parent.AddChild(control);
    control->SetBounds(KivRect{0, 0, width - 1, height - 1});
    return control;
}

KivString Number(int32_t number) { return KivString::FromUTF8(std::to_string(number)); }

}  // namespace

namespace KivMIDISlotControls {

KivStatic* Heading(KivPanel& parent, const char* text, int32_t width) {
    auto* heading = Make<KivStatic>(parent, width);
    heading->SetText(KivString(text));
    return heading;
}

KivCheckBox* Check(KivPanel& parent) { return Make<KivCheckBox>(parent, 20); }

KivComboEdit* Menu(KivPanel& parent, std::vector<KivString> items, int32_t width) {
    auto* menu = Make<KivComboEdit>(parent, width);
    menu->SetItems(std::move(items), 0);
    return menu;
}

KivButton* LearnButton(KivPanel& parent) {
    auto* button = Make<KivButton>(parent, 58);
    button->SetText(KivString("Learn"));
    button->SetToggle(true);
    return button;
}

KivEdit* PercentField(KivPanel& parent, int32_t width) {
    auto* field = Make<KivEdit>(parent, width);
    auto value = std::make_unique<Percents>();
    value->SetRange(0.0, 1.0);
    field->BindValue(std::move(value));
    return field;
}

double GetPercentField(const KivEdit& field) {
    return static_cast<const KivValuePercents*>(field.GetValue())->GetValue();
}

void SetPercentField(KivEdit& field, double value) {
    static_cast<KivValuePercents*>(field.GetValue())->SetValue(value);
    field.Refresh();
}

std::vector<KivString> ParameterItems(KivAudioPlugin& plugin) {
    std::vector<KivString> items{KivString("None")};
    for (int32_t index = 0; index < plugin.GetParameterCount(); ++index)
        items.push_back(plugin.GetParameterName(index));
    return items;
}

KivString ParameterName(const KivComboEdit& menu) {
    return menu.GetSelected() > 0 ? menu.GetItem(menu.GetSelected()) : KivString();
}

// A slot whose name matches no parameter of this plug-in (a setting of another version, a
// parameter an editor adds later) shows "None"; writing that back would lose the name.
KivString KeptParameterName(const KivComboEdit& menu, int32_t resolved, const KivString& stored) {
    if (menu.GetSelected() <= 0 && resolved < 0) return stored;
    return ParameterName(menu);
}

std::vector<KivString> ChannelItems() {
    std::vector<KivString> items{KivString("Any")};
    for (int32_t channel = 1; channel <= 16; ++channel) items.push_back(Number(channel));
    return items;
}

std::vector<KivString> ControllerItems() {
    std::vector<KivString> items;
    for (int32_t controller = 0; controller < 128; ++controller) items.push_back(Number(controller));
    items.push_back(KivString("Aftertouch"));
    items.push_back(KivString("Pitch-bend"));
    return items;
}

// Named as every display of the framework names notes (note 60 is "C5"), so that the panel
// and the parameter displays agree.
std::vector<KivString> NoteItems() {
    std::vector<KivString> items;
    for (int32_t note = 0; note < 128; ++note) items.push_back(KivFormatMIDINote(note));
    return items;
}

}  // namespace KivMIDISlotControls
