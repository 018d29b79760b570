// The element tables of the toolkit. Control elements whose own class the toolkit does not
// offer yet build a stand-in: a container where the control holds other controls, a value
// control where it edits a value, a captioned control otherwise.
#include "gui/controls/kiv_standard_controls.h"
#include "gui/core/kiv_control_content.h"
#include "gui/core/kiv_panel.h"
#include "gui/layout/kiv_layout_client.h"
#include "gui/layout/kiv_layout_corner.h"
#include "gui/layout/kiv_layout_grid.h"
#include "gui/layout/kiv_layout_occupy_border.h"
#include "gui/layout/kiv_layout_side.h"
#include "gui/layout/kiv_layout_switch.h"
#include "gui/loader/kiv_gui_enumerations.h"
#include "gui/loader/kiv_loaded_value_control.h"
#include "gui/loader/kiv_xml_loader.h"
#include "gui/loader/kiv_xml_loader_control.h"
#include "gui/loader/kiv_xml_loader_value.h"
#include "parameters/values/kiv_value_frequency.h"
#include "parameters/values/kiv_value_frequency_linear.h"
#include "parameters/values/kiv_value_frequency_log.h"
#include "parameters/values/kiv_value_pan.h"
#include "parameters/values/kiv_value_percents.h"
#include "parameters/values/kiv_value_pitch.h"
#include "parameters/values/kiv_value_signal_generator_shape.h"
#include "parameters/values/kiv_value_step_double.h"
#include "parameters/values/kiv_value_time_ms.h"
#include "parameters/values/kiv_value_volume.h"

namespace {

using Loader = KivControl::KivXmlLoader;

template <typename T>
void Control(Loader& loader, const char* name) {
    loader.Register(KivString(name), std::make_unique<Loader::Control<T>>());
}

template <typename T>
void Layout(Loader& loader, const char* name) {
    loader.Register(KivString(name), std::make_unique<Loader::Layout<T>>());
}

template <typename T>
void Value(Loader& loader, const char* name) {
    loader.RegisterValue(KivString(name), std::make_unique<Loader::Value<T>>());
}

void RegisterLayouts(Loader& loader) {
    Layout<KivLayoutGrid>(loader, "grid");
    Layout<KivLayoutTop>(loader, "top");
    Layout<KivLayoutLeft>(loader, "left");
    Layout<KivLayoutRight>(loader, "right");
    Layout<KivLayoutBottom>(loader, "bottom");
    Layout<KivLayoutCorner>(loader, "corner");
    Layout<KivLayoutVertical>(loader, "vertical");
    Layout<KivLayoutHorizontal>(loader, "horizontal");
    Layout<KivLayoutSwitch>(loader, "overlay");
    Layout<KivLayoutOccupyBorder>(loader, "occupyborder");
}

void RegisterControls(Loader& loader) {
    Control<KivControl>(loader, "control");
    Control<KivPanel>(loader, "panel");
    Control<KivContainer>(loader, "container");
    for (const char* name : {"menubar", "tabset", "splitter", "switcher", "zoomer"}) Control<KivContainer>(loader, name);
    for (const char* name : {"progressbar", "scrollbar", "tracker", "rotator", "knob", "checkbox", "edit", "comboedit"}) {
        Control<KivLoadedValueControl>(loader, name);
    }
    for (const char* name : {"static", "multilinestatic", "button", "repeaterbutton", "multilineedit", "listbox",
                             "treecontrol", "grapheditor", "vector2deditor", "directorytree", "coloreditor",
                             "colorselectbutton", "filelistbox", "fileselector", "signalgeneratoreditor"}) {
        Control<KivControlContent>(loader, name);
    }
}

void RegisterNumberValues(Loader& loader) {
    Value<KivValueNumber<int, int, 1, 0>>(loader, "int32");
    Value<KivValueNumber<long long, long long, 1, 0>>(loader, "int64");
    Value<KivValueNumber<short, int, 1, 0>>(loader, "int16");
    Value<KivValueNumber<float, double, 0, 0>>(loader, "float");
    Value<KivValueNumber<double, double, 0, 0>>(loader, "double");
    Value<KivValueStepDouble>(loader, "stepdouble");
    Value<KivValuePercents>(loader, "percents");
    Value<KivValueSignalGeneratorShape>(loader, "signalgeneratorshape");
    Value<KivValueFrequency>(loader, "frequency");
    Value<KivValueFrequencyLog>(loader, "frequencylog");
    Value<KivValueFrequencyLinear>(loader, "frequencylinear");
    Value<KivValueVolume>(loader, "volume");
    Value<KivValuePan>(loader, "panorama");
    Value<KivValuePitch>(loader, "pitch");
    Value<KivValueTimeMS>(loader, "timems");
}

void RegisterEnumerationValues(Loader& loader) {
    Value<KivValueEnum<KivStdIcon>>(loader, "stdicon");
    Value<KivValueEnum<KivStdBitmap>>(loader, "stdbitmap");
    Value<KivValueEnum<KivStdCursor>>(loader, "stdcursor");
    Value<KivValueEnum<KivStdFont>>(loader, "stdfont");
    Value<KivValueEnum<KivStdColor>>(loader, "stdcolor");
    Value<KivValueEnum<KivHorizontalObjectLayout>>(loader, "horizontalobjectlayout");
    Value<KivValueEnum<KivVerticalObjectLayout>>(loader, "verticalobjectlayout");
    Value<KivValueEnum<KivLocale::Language>>(loader, "language");
    Value<KivValueEnum<KivLocale::Country>>(loader, "country");
    Value<KivValueEnum<KivThread::Priority>>(loader, "threadpriority");
    Value<KivValueEnum<KivControlType>>(loader, "controltype");
    Value<KivValueEnum<KivCaptionType>>(loader, "captiontype");
    Value<KivValueEnum<KivModalValue>>(loader, "modalvalue");
    Value<KivValueEnum<KivCheckBoxState>>(loader, "checkboxstate");
}

}  // namespace

void KivControl::KivXmlLoader::RegisterToolkit() {
    RegisterLayouts(*this);
    RegisterControls(*this);
    KivRegisterStandardControls(*this);
    RegisterNumberValues(*this);
    RegisterEnumerationValues(*this);
}
