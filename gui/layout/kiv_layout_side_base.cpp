#include "gui/layout/kiv_layout_side_base.h"

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"

void KivLayoutSideBase::LoadControlAttributes(KivControl& control, const KivXMLItem& item) {
    const KivString name("space");
    if (item.HasAttribute(name)) {
        gaps_.Set(control, static_cast<int32_t>(KivNumber::TextToInteger(item.GetAttribute(name))));
    }
}

void KivLayoutSideBase::RemoveControl(KivControl& control) {
    gaps_.Erase(control);
    KivLayout::RemoveControl(control);
}

bool KivLayoutSideBase::TakesSpace() const {
    for (int32_t index = 0; index < GetControlCount(); ++index) {
        if (GetControl(index).IsVisible()) return true;
    }
    return false;
}

KivLayoutLine KivLayoutSideBase::VisibleLine(KivLayoutAxis axis) const {
    KivLayoutLine line;
    line.axis = axis;
    line.spacing = GetSpacing();
    line.controls = VisibleControls();
    for (KivControl* control : line.controls) line.gaps.push_back(gaps_.Get(*control, 0));
    return line;
}
