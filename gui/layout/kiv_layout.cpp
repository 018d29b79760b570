#include "gui/layout/kiv_layout.h"

#include <algorithm>
#include <bit>

#include "base/kiv_exception.h"
#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/core/kiv_panel.h"
#include "gui/layout/kiv_layout_size_computer.h"

int32_t KivLayout::styleControlSpacing_ = 0;

namespace {

int32_t ReadInteger(const KivXMLItem& item, const char* name, int32_t fallback) {
    const KivString key(name);
    if (!item.HasAttribute(key)) return fallback;
    return static_cast<int32_t>(KivNumber::TextToInteger(item.GetAttribute(key)));
}

}  // namespace

KivLayout::KivLayout(KivControl* parent) {
    if (parent == nullptr) return;
    auto* panel = dynamic_cast<KivPanel*>(parent);
    if (panel == nullptr) throw KivException(KivString("A layout needs a panel as its parent."), KivException::kInvalidArgument);
    panel->AddLayout(this);
}

// The panel's children normally left already (a child that leaves its panel leaves its
// layout); any control still held is told that it is laid out no more.
KivLayout::~KivLayout() {
    for (KivControl* control : controls_) {
        KivLayoutData& data = control->Layout();
        data.laidOut = false;
        data.layout = nullptr;
    }
}

void KivLayout::LoadAttributes(const KivXMLItem& item) {
    space_ = ReadInteger(item, "layoutspace", space_);
    defaultBorderX_ = ReadInteger(item, "deflayoutborderx", defaultBorderX_);
    defaultBorderY_ = ReadInteger(item, "deflayoutbordery", defaultBorderY_);
}

void KivLayout::LoadControlAttributes(KivControl&, const KivXMLItem&) {}

void KivLayout::AddControl(KivControl& control, int32_t borderX, int32_t borderY) {
    KivLayoutData& data = control.Layout();
    if (data.layout == this && Holds(control)) return;
    if (data.layout != nullptr) data.layout->RemoveControl(control);
    // The list grows to the next power of two so that adding stays cheap.
    if (controls_.size() == controls_.capacity()) controls_.reserve(std::bit_ceil(controls_.size() + 1));
    controls_.push_back(&control);
    data.laidOut = true;
    data.layout = this;
    if (borderX >= 0) data.borderX = borderX;
    if (borderY >= 0) data.borderY = borderY;
}

void KivLayout::RemoveControl(KivControl& control) {
    auto found = std::find(controls_.begin(), controls_.end(), &control);
    if (found == controls_.end()) return;
    controls_.erase(found);
    KivLayoutData& data = control.Layout();
    data.laidOut = false;
    data.layout = nullptr;
}

void KivLayout::Add(KivControl& control) { AddControl(control, defaultBorderX_, defaultBorderY_); }

void KivLayout::Remove(KivControl& control) { RemoveControl(control); }

void KivLayout::ComputeMinimalSize(const KivRect& free, KivLayoutExtent& extent) {
    ComputeSize(free, MinimalSizeComputer(), extent);
}

void KivLayout::ComputeCurrentSize(const KivRect& free, KivLayoutExtent& extent) {
    ComputeSize(free, CurrentSizeComputer(KivPoint{free.Width(), free.Height()}), extent);
}

bool KivLayout::TakesSpace() const { return false; }

bool KivLayout::Holds(const KivControl& control) const {
    return std::find(controls_.begin(), controls_.end(), &control) != controls_.end();
}

void KivLayout::SetDefaultBorders(int32_t borderX, int32_t borderY) {
    defaultBorderX_ = borderX;
    defaultBorderY_ = borderY;
}

std::vector<KivControl*> KivLayout::VisibleControls() const {
    std::vector<KivControl*> visible;
    for (KivControl* control : controls_) {
        if (control->IsVisible()) visible.push_back(control);
    }
    return visible;
}
