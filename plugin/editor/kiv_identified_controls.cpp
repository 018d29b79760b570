#include "plugin/editor/kiv_identified_controls.h"

#include "base/xml/kiv_xml_item.h"
#include "gui/controls/kiv_bar_meter.h"
#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_check_box.h"
#include "gui/controls/kiv_combo_edit.h"
#include "gui/controls/kiv_section_panel.h"
#include "gui/controls/kiv_static.h"

void KivIdentifiedControls::RegisterStandard(KivControl::KivXmlLoader& loader) {
    Add<KivSectionPanel>(loader, "panel");
    Add<KivSectionPanel>(loader, "container");
    Add<KivStatic>(loader, "static");
    Add<KivButton>(loader, "button");
    Add<KivCheckBox>(loader, "checkbox");
    Add<KivComboEdit>(loader, "comboedit");
    Add<KivBarMeter>(loader, "barmeter");
    Add<KivControl>(loader, "control");
}

KivControl* KivIdentifiedControls::Find(const KivString& identifier, int32_t occurrence) const {
    for (const auto& [name, control] : entries_) {
        if (name.EqualsFolded(identifier) && occurrence-- == 0) return control;
    }
    return nullptr;
}
