#include "gui/controls/kiv_standard_controls.h"

#include "gui/controls/kiv_bar_meter.h"
#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_check_box.h"
#include "gui/controls/kiv_combo_edit.h"
#include "gui/controls/kiv_edit.h"
#include "gui/controls/kiv_graph_editor.h"
#include "gui/controls/kiv_knob.h"
#include "gui/controls/kiv_list_box.h"
#include "gui/controls/kiv_menu_bar.h"
#include "gui/controls/kiv_plain_field.h"
#include "gui/controls/kiv_progress_bar.h"
#include "gui/controls/kiv_scroll_bar.h"
#include "gui/controls/kiv_section_panel.h"
#include "gui/controls/kiv_splitter.h"
#include "gui/controls/kiv_static.h"
#include "gui/controls/kiv_static_multi_line.h"
#include "gui/controls/kiv_tab_set.h"
#include "gui/controls/kiv_tracker.h"
#include "gui/controls/kiv_tree_control.h"
#include "gui/loader/kiv_xml_loader.h"
#include "gui/loader/kiv_xml_loader_control.h"

namespace {
template <typename T>
void Control(KivControl::KivXmlLoader& loader, const char* name) {
    loader.Register(KivString(name), std::make_unique<KivControl::KivXmlLoader::Control<T>>());
}

// Elements whose full editors the toolkit does not have yet get the nearest standard control,
// so that their descriptions load, paint plainly and keep their values.
void RegisterPlainStandIns(KivControl::KivXmlLoader& loader) {
    Control<KivSectionPanel>(loader, "zoomer");
    Control<KivEdit>(loader, "multilineedit");
    Control<KivEdit>(loader, "fileselector");
    Control<KivTreeControl>(loader, "directorytree");
    Control<KivListBox>(loader, "filelistbox");
    Control<KivButton>(loader, "colorselectbutton");
    Control<KivPlainField>(loader, "coloreditor");
    Control<KivPlainField>(loader, "signalgeneratoreditor");
    Control<KivPlainField>(loader, "vector2deditor");
}
}  // namespace

void KivRegisterStandardControls(KivControl::KivXmlLoader& loader) {
    Control<KivSectionPanel>(loader, "panel");
    Control<KivSectionPanel>(loader, "container");
    Control<KivStatic>(loader, "static");
    Control<KivStaticMultiLine>(loader, "multilinestatic");
    Control<KivButton>(loader, "button");
    Control<KivButton>(loader, "repeaterbutton");
    Control<KivCheckBox>(loader, "checkbox");
    Control<KivKnob>(loader, "knob");
    Control<KivKnob>(loader, "rotator");
    Control<KivTracker>(loader, "tracker");
    Control<KivComboEdit>(loader, "comboedit");
    Control<KivEdit>(loader, "edit");
    Control<KivProgressBar>(loader, "progressbar");
    Control<KivBarMeter>(loader, "barmeter");
    Control<KivListBox>(loader, "listbox");
    Control<KivTreeControl>(loader, "treecontrol");
    Control<KivScrollBar>(loader, "scrollbar");
    Control<KivTabSet>(loader, "tabset");
    Control<KivSwitcher>(loader, "switcher");
    Control<KivSplitter>(loader, "splitter");
    Control<KivMenuBar>(loader, "menubar");
    RegisterPlainStandIns(loader);
    Control<KivGraphEditor>(loader, "grapheditor");
}
