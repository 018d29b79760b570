#include "gui/core/kiv_control.h"

#include "base/kiv_exception.h"
#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/core/kiv_window.h"
#include "gui/core/kiv_windows.h"
#include "gui/drawing/kiv_drawer.h"

namespace {

bool ReadBool(const KivXMLItem& item, const char* name, bool fallback) {
    if (!item.HasAttribute(KivString(name))) return fallback;
    const KivString& text = item.GetAttribute(KivString(name));
    if (text.EqualsFolded(KivString("true")) || text.EqualsFolded(KivString("yes"))) return true;
    if (text.EqualsFolded(KivString("false")) || text.EqualsFolded(KivString("no"))) return false;
    return KivNumber::TextToInteger(text) != 0;
}

int32_t ReadInt(const KivXMLItem& item, const char* name, int32_t fallback) {
    if (!item.HasAttribute(KivString(name))) return fallback;
    return static_cast<int32_t>(KivNumber::TextToInteger(item.GetAttribute(KivString(name))));
}

}  // namespace

KivControl::KivControl() = default;

KivControl::~KivControl() {
    if (timerInterval_ > 0) {
        if (KivWindowSystem* system = KivWindows::System()) system->SetTimer(*this, 0);
    }
    if (window_ != nullptr && window_ != this) window_->ForgetControl(this);
    if (parent_ != nullptr) parent_->RemoveChild(this);
}

void KivControl::LoadAttributes(const KivXMLItem& item) {
    visible_ = ReadBool(item, "visible", visible_);
    enabled_ = ReadBool(item, "enabled", enabled_);
    tabStop_ = ReadBool(item, "tabstop", tabStop_);
    const int32_t x = ReadInt(item, "posx", bounds_.left);
    const int32_t y = ReadInt(item, "posy", bounds_.top);
    const int32_t width = ReadInt(item, "sizex", bounds_.Width());
    const int32_t height = ReadInt(item, "sizey", bounds_.Height());
    bounds_ = KivRect{x, y, x + width - 1, y + height - 1};
    minClientSize_.x = ReadInt(item, "minclientsizex", minClientSize_.x);
    minClientSize_.y = ReadInt(item, "minclientsizey", minClientSize_.y);
    collapsed_ = ReadBool(item, "collapsed", collapsed_);
    layout_.ratioX = ReadInt(item, "layoutratiox", layout_.ratioX);
    layout_.ratioY = ReadInt(item, "layoutratioy", layout_.ratioY);
    layout_.borderX = ReadInt(item, "layoutborderx", layout_.borderX);
    layout_.borderY = ReadInt(item, "layoutbordery", layout_.borderY);
    layout_.autoSize = ReadBool(item, "autosize", layout_.autoSize);
    autoSaveState_ = ReadBool(item, "autosavestate", autoSaveState_);
    if (item.HasAttribute(KivString("help"))) help_ = item.GetAttribute(KivString("help"));
    if (item.HasAttribute(KivString("caption"))) SetText(item.GetAttribute(KivString("caption")));
}

void KivControl::Paint(KivDrawer&, const KivRect&) {}

void KivControl::PaintChildren(KivDrawer& drawer, const KivRect& dirty) {
    const int32_t count = GetChildCount();
    for (int32_t index = 0; index < count; ++index) {
        KivControl* child = GetChild(index);
        if (child == nullptr || !child->IsVisible()) continue;
        const KivRect area = child->GetWindowRect().Intersection(dirty);
        if (area.IsEmpty()) continue;
        const KivRect saved = drawer.GetClipRect();
        drawer.SetClipRect(area);
        child->Paint(drawer, area);
        child->PaintChildren(drawer, area);
        drawer.SetClipRect(saved);
    }
}

KivPoint KivControl::ComputeAutoSize(KivPoint) { return GetSize(); }

KivPoint KivControl::ComputeMinimalSize() { return minClientSize_; }

KivPoint KivControl::ComputePlasticSize(KivPoint) {
    KivException::RaiseNotImplemented("compute plastic control size");
}

void KivControl::SetBounds(const KivRect& bounds) {
    const bool resized = bounds.Width() != bounds_.Width() || bounds.Height() != bounds_.Height();
    if (bounds == bounds_) return;
    // The old place needs repainting as much as the new one.
    if (parent_ != nullptr && visible_) {
        parent_->Invalidate(&bounds_);
        parent_->Invalidate(&bounds);
    }
    bounds_ = bounds;
    if (resized) OnSize();
}

void KivControl::OnSize() { Arrange(); }

void KivControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    if (parent_ != nullptr) parent_->Invalidate(&bounds_);
    if (!visible && window_ != nullptr && window_ != this) window_->ForgetControl(this);
}

void KivControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Invalidate();
}

void KivControl::OnMouseDown(KivPoint, KivMouseButton, uint8_t) {}
void KivControl::OnMouseUp(KivPoint, KivMouseButton, uint8_t) {}
void KivControl::OnMouseDoubleClick(KivPoint point, KivMouseButton button, uint8_t state) {
    OnMouseDown(point, button, state);
}
void KivControl::OnMouseMove(KivPoint, uint8_t) {}
bool KivControl::OnMouseWheel(KivPoint, int32_t, uint8_t) { return false; }
void KivControl::OnMouseEnter() {}
void KivControl::OnMouseLeave() {}
bool KivControl::OnKeyDown(uint32_t, uint8_t) { return false; }
bool KivControl::OnKeyUp(uint32_t, uint8_t) { return false; }
bool KivControl::OnCharacter(char32_t) { return false; }
void KivControl::OnFocus(bool) {}
bool KivControl::CanTakeFocus() { return tabStop_ && enabled_; }
bool KivControl::OnCloseRequest() { return true; }
void KivControl::OnTimer() {}

KivControl* KivControl::ControlAt(KivPoint point) {
    // Later children lie above earlier ones.
    for (int32_t index = GetChildCount(); index-- > 0;) {
        KivControl* child = GetChild(index);
        if (child == nullptr || !child->IsVisible() || !child->bounds_.Contains(point.x, point.y)) continue;
        return child->ControlAt(KivPoint{point.x - child->bounds_.left, point.y - child->bounds_.top});
    }
    return this;
}

int32_t KivControl::GetCursorShape(KivPoint) { return 0; }

void KivControl::Arrange() {}

KivPoint KivControl::ComputeCurrentSize() {
    if (collapsed_ && layout_.alternativeSize.x > 0) return layout_.alternativeSize;
    return GetSize();
}

void KivControl::AddChild(KivControl*) { KivException::RaiseNotImplemented("add child control"); }
void KivControl::RemoveChild(KivControl*) {}
int32_t KivControl::GetChildCount() const { return 0; }
KivControl* KivControl::GetChild(int32_t) const { return nullptr; }

void KivControl::Invalidate(const KivRect* rect) {
    if (window_ == nullptr || !window_->HasNativeWindow()) return;
    const KivRect area = rect == nullptr ? GetClientRect() : *rect;
    if (area.IsEmpty()) return;
    const KivRect inWindow = GetWindowRect();
    window_->GetInvalidator().Invalidate(area.Offset(inWindow.left, inWindow.top));
}

void KivControl::OnWindowChanged(KivWindow*) {}
void KivControl::OnNativeWindow(bool) {}
void KivControl::SetText(const KivString&) {}
KivString KivControl::GetText() const { return KivString(); }

void KivControl::SaveState(KivXMLItem& item) {
    if (!autoSaveState_) return;
    item.SetAttribute(KivString("collapsed"), KivNumber::IntegerToText(collapsed_ ? 1 : 0));
    item.SetAttribute(KivString("maximized"), KivNumber::IntegerToText(maximized_ ? 1 : 0));
    item.SetAttribute(KivString("windowposx"), KivNumber::IntegerToText(bounds_.left));
    item.SetAttribute(KivString("windowposy"), KivNumber::IntegerToText(bounds_.top));
}

void KivControl::LoadState(const KivXMLItem& item) {
    if (!autoSaveState_) return;
    SetCollapsed(ReadBool(item, "collapsed", collapsed_));
    maximized_ = ReadBool(item, "maximized", maximized_);
    const int32_t x = ReadInt(item, "windowposx", bounds_.left);
    const int32_t y = ReadInt(item, "windowposy", bounds_.top);
    SetBounds(bounds_.Offset(x - bounds_.left, y - bounds_.top));
}

KivRect KivControl::GetWindowRect() const {
    KivRect rect = GetClientRect();
    for (const KivControl* control = this; control != nullptr && control != window_; control = control->parent_) {
        rect = rect.Offset(control->bounds_.left, control->bounds_.top);
    }
    return rect;
}

bool KivControl::IsShowing() const {
    for (const KivControl* control = this; control != nullptr; control = control->parent_) {
        if (!control->visible_) return false;
    }
    return true;
}

void KivControl::SetCollapsed(bool collapsed) {
    if (collapsed == collapsed_) return;
    collapsed_ = collapsed;
    if (parent_ != nullptr) parent_->Arrange();
    Invalidate();
}

void KivControl::AttachTo(KivControl* parent) {
    parent_ = parent;
    SetWindowOfTree(parent == nullptr ? nullptr : parent->window_);
}

void KivControl::SetWindowOfTree(KivWindow* window) {
    if (window_ != nullptr && window_ != window && window_ != this) window_->ForgetControl(this);
    window_ = window;
    for (int32_t index = 0; index < GetChildCount(); ++index) {
        if (KivControl* child = GetChild(index)) child->SetWindowOfTree(window);
    }
    OnWindowChanged(window);
}
