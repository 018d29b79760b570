#include "gui/layout/kiv_layout_occupy_border.h"

#include "base/kiv_exception.h"
#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/layout/kiv_layout_extent.h"

namespace {

void Read(const KivXMLItem& item, const char* name, int32_t& target) {
    const KivString key(name);
    if (item.HasAttribute(key)) target = static_cast<int32_t>(KivNumber::TextToInteger(item.GetAttribute(key)));
}

}  // namespace

void KivLayoutOccupyBorder::LoadAttributes(const KivXMLItem& item) {
    KivLayout::LoadAttributes(item);
    int32_t all = -1;
    Read(item, "border", all);
    if (all >= 0) borders_ = KivRect{all, all, all, all};
    Read(item, "borderx", borders_.left);
    Read(item, "borderx", borders_.right);
    Read(item, "bordery", borders_.top);
    Read(item, "bordery", borders_.bottom);
    Read(item, "borderleft", borders_.left);
    Read(item, "bordertop", borders_.top);
    Read(item, "borderright", borders_.right);
    Read(item, "borderbottom", borders_.bottom);
}

void KivLayoutOccupyBorder::AddControl(KivControl&, int32_t, int32_t) {
    KivException::RaiseNotImplemented("add control to occupy-space layout");
}

void KivLayoutOccupyBorder::Add(KivControl& control) { AddControl(control, -1, -1); }

void KivLayoutOccupyBorder::Arrange(KivRect& free) {
    free.left += borders_.left;
    free.top += borders_.top;
    free.right -= borders_.right;
    free.bottom -= borders_.bottom;
}

void KivLayoutOccupyBorder::ComputeSize(const KivRect&, const SizeComputer&, KivLayoutExtent& extent) {
    extent.Take(borders_.left + borders_.right, borders_.top + borders_.bottom);
}

void KivLayoutOccupyBorder::SetBorders(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    borders_ = KivRect{left, top, right, bottom};
}
