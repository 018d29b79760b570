#include "gui/core/kiv_panel.h"

#include <algorithm>

#include "base/kiv_exception.h"
#include "gui/layout/kiv_layout.h"
#include "gui/layout/kiv_layouts.h"

KivPanel::~KivPanel() {
    DeleteChildren();
    for (KivObject* layout : layouts_) delete layout;
}

void KivPanel::AddChild(KivControl* child) {
    if (child == nullptr || child == this) throw KivException(KivString("Invalid child control."), KivException::kInvalidArgument);
    if (child->GetParent() != nullptr) child->GetParent()->RemoveChild(child);
    children_.push_back(child);
    child->AttachTo(this);
    if (child->IsVisible()) Invalidate(&child->GetBounds());
}

// Also called by a dying child: its layout forgets it, so that no layout of this panel is
// left holding a control that moved elsewhere or no longer exists.
void KivPanel::RemoveChild(KivControl* child) {
    auto found = std::find(children_.begin(), children_.end(), child);
    if (found == children_.end()) return;
    children_.erase(found);
    if (KivLayout* layout = child->Layout().layout) layout->RemoveControl(*child);
    if (child->IsVisible()) Invalidate(&child->GetBounds());
    child->AttachTo(nullptr);
}

int32_t KivPanel::GetChildCount() const { return static_cast<int32_t>(children_.size()); }

KivControl* KivPanel::GetChild(int32_t index) const {
    if (index < 0 || index >= GetChildCount()) return nullptr;
    return children_[static_cast<size_t>(index)];
}

void KivPanel::Arrange() { KivLayouts::Arrange(*this); }

void KivPanel::DeleteChildren() {
    // Children remove themselves from `children_` as they die.
    while (!children_.empty()) delete children_.back();
}
