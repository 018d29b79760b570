#include "gui/core/kiv_window.h"

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/core/kiv_windows.h"
#include "gui/drawing/kiv_drawer.h"

namespace {
KivWindowSystem* System() { return KivWindows::System(); }
}  // namespace

KivWindow::KivWindow() {
    SetWindowOfTree(this);
    invalidator_ = std::make_unique<KivControlInvalidator>(*this);
}

KivWindow::~KivWindow() {
    Close();
    // The children die while the window (and its invalidator) is still whole.
    DeleteChildren();
    focus_ = capture_ = hover_ = nullptr;
}

void KivWindow::Paint(KivDrawer& drawer, const KivRect& dirty) {
    drawer.FillRectangle(dirty, background_, KivDrawingMode::kCopy);
}

void KivWindow::SetBounds(const KivRect& bounds) {
    if (bounds == GetBounds()) return;
    KivPanel::SetBounds(bounds);
    if (hasNative_) {
        if (KivWindowSystem* system = System()) system->SetWindowBounds(*this, GetDeviceBounds());
    }
    Invalidate();
}

void KivWindow::SetScale(double factor) {
    factor = KivScale::Limited(factor);
    if (factor == scale_.factor) return;
    scale_.factor = factor;
    if (!hasNative_) return;
    if (KivWindowSystem* system = System()) {
        system->SetWindowBounds(*this, GetDeviceBounds());
        system->Invalidate(*this, nullptr);
    }
}

KivRect KivWindow::GetDeviceBounds() const {
    const KivRect bounds = GetBounds();
    const KivPoint size = scale_.ToDeviceSize(GetPaintSize());
    return KivRect{bounds.left, bounds.top, bounds.left + size.x - 1, bounds.top + size.y - 1};
}

void KivWindow::SetVisible(bool visible) {
    if (visible) {
        Show(parentHandle_);
    } else {
        Hide();
    }
}

bool KivWindow::OnCloseRequest() {
    if (applicationMain_) return Confirm(KivString("Are you sure you want to close the application?"));
    return true;
}

bool KivWindow::Confirm(const KivString&) { return true; }

void KivWindow::Invalidate(const KivRect* rect) {
    // A window without a native window has nothing on screen to repaint; showing it paints
    // all of it.
    if (!hasNative_) return;
    const KivRect area = rect == nullptr ? GetClientRect() : *rect;
    if (!area.IsEmpty()) invalidator_->Invalidate(area);
}

void KivWindow::SetText(const KivString& text) {
    title_ = text;
    if (hasNative_) {
        if (KivWindowSystem* system = System()) system->SetTitle(*this, text);
    }
}

void KivWindow::SaveState(KivXMLItem& item) {
    if (hasNative_) {
        if (KivWindowSystem* system = System()) {
            const KivRect bounds = system->GetWindowBounds(*this);
            if (!bounds.IsEmpty() && GetParentHandle() == 0) KivPanel::SetBounds(FromDeviceBounds(bounds));
        }
    }
    KivPanel::SaveState(item);
}

void KivWindow::LoadState(const KivXMLItem& item) {
    KivPanel::LoadState(item);
    if (hasNative_) {
        if (KivWindowSystem* system = System()) system->SetWindowBounds(*this, GetDeviceBounds());
    }
}

void KivWindow::Show(KivNativeHandle parent) {
    KivWindowSystem* system = System();
    if (system == nullptr) return;
    if (!hasNative_) {
        parentHandle_ = parent;
        system->CreateNativeWindow(*this, parent);
        if (!title_.IsEmpty()) system->SetTitle(*this, title_);
    }
    if (!KivPanel::IsVisible()) KivPanel::SetVisible(true);
    // Showing exposes the window: the window system paints all of it.
    system->MoveAndShow(*this);
}

void KivWindow::Hide() {
    if (KivWindowSystem* system = System(); system != nullptr && hasNative_) system->Hide(*this);
}

void KivWindow::Close() {
    if (!hasNative_) return;
    modal_ = false;
    if (KivWindowSystem* system = System()) {
        if (capture_ != nullptr) system->SetMouseCapture(*this, false);
        system->DestroyNativeWindow(*this);
    }
    capture_ = nullptr;
    hover_ = nullptr;
}

KivNativeHandle KivWindow::GetNativeHandle() const {
    KivWindowSystem* system = System();
    return system == nullptr ? 0 : system->GetNativeHandle(*this);
}

int32_t KivWindow::RunModal() {
    KivWindowSystem* system = System();
    if (system == nullptr) return 0;
    if (!hasNative_) Show(parentHandle_);
    modalResult_ = 0;
    modal_ = true;
    system->RunModal(*this);
    modal_ = false;
    return modalResult_;
}

void KivWindow::EndModal(int32_t result) {
    modalResult_ = result;
    if (KivWindowSystem* system = System()) system->EndModal(*this);
}

KivPoint KivWindow::GetPaintSize() const {
    if (IsInAlternativeSize()) return Layout().alternativeSize;
    return GetSize();
}

KivControlInvalidator& KivWindow::GetInvalidator() { return *invalidator_; }

void KivWindow::SetFocus(KivControl* control) {
    if (control == focus_) return;
    KivControl* old = focus_;
    focus_ = control;
    if (old != nullptr) old->OnFocus(false);
    if (control != nullptr) control->OnFocus(true);
}

void KivWindow::SetCapture(KivControl* control) {
    if (control == capture_) return;
    capture_ = control;
    if (KivWindowSystem* system = System(); system != nullptr && hasNative_) {
        system->SetMouseCapture(*this, control != nullptr);
    }
}

void KivWindow::ForgetControl(KivControl* control) {
    for (KivControl* c = focus_; c != nullptr; c = c->GetParent()) {
        if (c == control) {
            focus_ = nullptr;
            break;
        }
    }
    for (KivControl* c = capture_; c != nullptr; c = c->GetParent()) {
        if (c == control) {
            SetCapture(nullptr);
            break;
        }
    }
    for (KivControl* c = hover_; c != nullptr; c = c->GetParent()) {
        if (c == control) {
            hover_ = nullptr;
            break;
        }
    }
}

KivControl* KivWindow::Target(KivPoint point) {
    if (capture_ != nullptr) return capture_;
    return ControlAt(point);
}

KivPoint KivWindow::ToControl(const KivControl* control, KivPoint point) {
    const KivRect rect = control->GetWindowRect();
    return KivPoint{point.x - rect.left, point.y - rect.top};
}

void KivWindow::HandleMouseDown(KivPoint point, KivMouseButton button, uint8_t state, bool doubleClick) {
    KivControl* target = Target(point);
    if (!target->IsEnabled()) return;
    for (KivControl* c = target; c != nullptr; c = c->GetParent()) {
        if (c->CanTakeFocus()) {
            SetFocus(c);
            break;
        }
    }
    if (doubleClick) {
        target->OnMouseDoubleClick(ToControl(target, point), button, state);
    } else {
        target->OnMouseDown(ToControl(target, point), button, state);
    }
}

void KivWindow::HandleMouseUp(KivPoint point, KivMouseButton button, uint8_t state) {
    KivControl* target = Target(point);
    if (target->IsEnabled()) target->OnMouseUp(ToControl(target, point), button, state);
}

void KivWindow::HandleMouseMove(KivPoint point, uint8_t state) {
    KivControl* under = ControlAt(point);
    if (under != hover_) {
        KivControl* old = hover_;
        hover_ = under;
        if (old != nullptr) old->OnMouseLeave();
        if (under != nullptr) under->OnMouseEnter();
        if (KivWindowSystem* system = System(); system != nullptr && hasNative_) {
            system->TrackMouseLeave(*this);
            system->SetCursorShape(under->GetCursorShape(ToControl(under, point)));
        }
    }
    KivControl* target = Target(point);
    if (target->IsEnabled()) target->OnMouseMove(ToControl(target, point), state);
}

bool KivWindow::HandleMouseWheel(KivPoint point, int32_t delta, uint8_t state) {
    for (KivControl* c = Target(point); c != nullptr; c = c->GetParent()) {
        if (c->IsEnabled() && c->OnMouseWheel(ToControl(c, point), delta, state)) return true;
    }
    return false;
}

void KivWindow::HandleMouseLeave() {
    KivControl* old = hover_;
    hover_ = nullptr;
    if (old != nullptr) old->OnMouseLeave();
}

bool KivWindow::HandleKeyDown(uint32_t key, uint8_t state) {
    for (KivControl* c = focus_ != nullptr ? focus_ : this; c != nullptr; c = c->GetParent()) {
        if (c->OnKeyDown(key, state)) return true;
    }
    return false;
}

bool KivWindow::HandleKeyUp(uint32_t key, uint8_t state) {
    for (KivControl* c = focus_ != nullptr ? focus_ : this; c != nullptr; c = c->GetParent()) {
        if (c->OnKeyUp(key, state)) return true;
    }
    return false;
}

bool KivWindow::HandleCharacter(char32_t character) {
    for (KivControl* c = focus_ != nullptr ? focus_ : this; c != nullptr; c = c->GetParent()) {
        if (c->OnCharacter(character)) return true;
    }
    return false;
}

KivRect KivWindow::FromDeviceBounds(const KivRect& device) const {
    // The native size in logical pixels; the window's own size when that is what it shows at
    // this scale, so that a size rounded on the way out is not rounded again on the way back.
    const KivPoint deviceSize{device.Width(), device.Height()};
    const KivPoint shown = scale_.ToDeviceSize(GetPaintSize());
    const KivPoint size = deviceSize == shown ? GetPaintSize() : scale_.ToLogicalSize(deviceSize);
    return KivRect{device.left, device.top, device.left + size.x - 1, device.top + size.y - 1};
}

void KivWindow::HandleNativeBounds(const KivRect& device) {
    if (device.IsEmpty() || device == GetDeviceBounds()) return;
    const KivRect bounds = FromDeviceBounds(device);
    if (bounds == GetBounds()) return;
    const bool resized = bounds.Width() != GetBounds().Width() || bounds.Height() != GetBounds().Height();
    KivPanel::SetBounds(bounds);
    // The native side repaints at once what a resize uncovers, without the merge delay.
    if (resized) {
        if (KivWindowSystem* system = System()) system->Invalidate(*this, nullptr);
    }
}

void KivWindow::HandleCloseRequest() {
    if (OnCloseRequest()) Close();
}

void KivWindow::NoteNativeWindow(bool exists) {
    if (exists == hasNative_) return;
    hasNative_ = exists;
    OnNativeWindow(exists);
}
