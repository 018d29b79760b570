#include "gui/layout/kiv_layout_client.h"

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/layout/kiv_layout_extent.h"
#include "gui/layout/kiv_layout_used_up.h"

void KivLayoutClient::LoadAttributes(const KivXMLItem& item) {
    KivLayout::LoadAttributes(item);
    const KivString name("space");
    if (item.HasAttribute(name)) SetSpace(static_cast<int32_t>(KivNumber::TextToInteger(item.GetAttribute(name))));
}

void KivLayoutClient::Arrange(KivRect& free) {
    VisibleLine(axis_).Place(free);
    KivLayoutUseUp(free);
}

void KivLayoutClient::ComputeSize(const KivRect&, const SizeComputer& computer, KivLayoutExtent& extent) {
    const KivLayoutLine line = VisibleLine(axis_);
    if (line.controls.empty()) return;
    const KivPoint measured = line.Measure(computer);
    const KivPoint size = KivLayoutAxes::MakeSize(axis_, measured.x, measured.y);
    extent.Need(size.x, size.y);
}
