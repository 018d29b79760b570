#include "gui/controls/kiv_scroll_bar.h"

#include <algorithm>

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/controls/kiv_control_painting.h"
#include "gui/core/kiv_window.h"
#include "gui/core/kiv_windows.h"
#include "gui/style/kiv_style_access.h"

using KivStyleAccess::Color;

namespace {
constexpr int32_t kMinimalThumb = 16;
// A held arrow or track repeats after a pause, then quickly.
constexpr int32_t kRepeatDelay = 350;
constexpr int32_t kRepeatInterval = 50;

int32_t ReadInt(const KivXMLItem& item, const char* name, int32_t fallback) {
    if (!item.HasAttribute(KivString(name))) return fallback;
    return static_cast<int32_t>(KivNumber::TextToInteger(item.GetAttribute(KivString(name))));
}
}  // namespace

KivScrollBar::KivScrollBar() : OnScroll(this) {}

void KivScrollBar::LoadAttributes(const KivXMLItem& item) {
    KivControlValue::LoadAttributes(item);
    if (item.HasAttribute(KivString("vertical"))) orientation_ = ReadInt(item, "vertical", 0) != 0 ? 1 : 0;
    line_ = std::max(1, ReadInt(item, "linesize", line_));
    SetRange(ReadInt(item, "range", range_), ReadInt(item, "pagesize", page_));
    SetScrollPosition(ReadInt(item, "position", position_));
}

void KivScrollBar::BindValue(std::unique_ptr<KivValue> value) {
    KivControlValue::BindValue(std::move(value));
    // A value without a range of its own scrolls through a hundred steps, a tenth in view.
    if (range_ <= 0) SetRange(110, 10);
    position_ = static_cast<int32_t>(GetPosition() * GetMaximum() + 0.5);
}

void KivScrollBar::SetVertical(bool vertical) {
    orientation_ = vertical ? 1 : 0;
    Invalidate();
}

bool KivScrollBar::IsVertical() const {
    if (orientation_ >= 0) return orientation_ == 1;
    return GetSize().y > GetSize().x;
}

void KivScrollBar::SetRange(int32_t range, int32_t page) {
    range_ = std::max(0, range);
    page_ = std::clamp(page, 0, range_);
    Invalidate();
    SetScrollPosition(position_);
}

int32_t KivScrollBar::GetMaximum() const { return std::max(0, range_ - page_); }

void KivScrollBar::SetScrollPosition(int32_t position) {
    position = std::clamp(position, 0, GetMaximum());
    if (position == position_) return;
    position_ = position;
    Invalidate();
    if (GetValue() != nullptr && GetMaximum() > 0) SetPosition(static_cast<double>(position_) / GetMaximum());
    OnScroll.Raise(KivOnItemParams<int32_t>{this, position_});
}

int32_t KivScrollBar::Length() const { return IsVertical() ? GetSize().y : GetSize().x; }

int32_t KivScrollBar::ArrowLength() const {
    const int32_t across = IsVertical() ? GetSize().x : GetSize().y;
    return std::min(across + 2, Length() / 2);
}

int32_t KivScrollBar::ThumbLength() const {
    const int32_t track = Length() - 2 * ArrowLength();
    if (range_ <= 0 || page_ >= range_) return track;
    const auto share = static_cast<int32_t>(static_cast<int64_t>(track) * page_ / range_);
    return std::min(track, std::max(kMinimalThumb, share));
}

int32_t KivScrollBar::ThumbStart() const {
    const int32_t travel = Length() - 2 * ArrowLength() - ThumbLength();
    const int32_t maximum = GetMaximum();
    const int32_t offset = maximum > 0 ? static_cast<int32_t>(static_cast<int64_t>(travel) * position_ / maximum) : 0;
    return ArrowLength() + offset;
}

KivRect KivScrollBar::PartRect(int32_t from, int32_t to) const {
    const KivRect client = GetClientRect();
    if (IsVertical()) return KivRect{client.left, from, client.right, to};
    return KivRect{from, client.top, to, client.bottom};
}

KivRect KivScrollBar::ThumbRect() const { return PartRect(ThumbStart(), ThumbStart() + ThumbLength() - 1); }

KivScrollBar::Part KivScrollBar::PartAt(KivPoint point) const {
    if (!GetClientRect().Contains(point.x, point.y)) return Part::kNone;
    const int32_t along = Along(point);
    if (along < ArrowLength()) return Part::kLessArrow;
    if (along >= Length() - ArrowLength()) return Part::kMoreArrow;
    if (!CanScroll()) return Part::kNone;
    if (along < ThumbStart()) return Part::kLessTrack;
    if (along >= ThumbStart() + ThumbLength()) return Part::kMoreTrack;
    return Part::kThumb;
}

void KivScrollBar::Act(Part part) {
    switch (part) {
        case Part::kLessArrow: MoveBy(-line_); break;
        case Part::kMoreArrow: MoveBy(line_); break;
        // A page keeps one line of the old view in sight.
        case Part::kLessTrack: MoveBy(-std::max(1, page_ - line_)); break;
        case Part::kMoreTrack: MoveBy(std::max(1, page_ - line_)); break;
        default: break;
    }
}

void KivScrollBar::OnMouseDown(KivPoint point, KivMouseButton button, uint8_t) {
    if (button != KivMouseButton::kLeft || !IsEnabled()) return;
    pressed_ = PartAt(point);
    if (pressed_ == Part::kNone) return;
    pointer_ = point;
    if (KivWindow* window = GetWindow()) window->SetCapture(this);
    if (pressed_ == Part::kThumb) {
        grab_ = Along(point) - ThumbStart();
    } else {
        Act(pressed_);
        if (KivWindowSystem* system = KivWindows::System(); system != nullptr && GetWindow() != nullptr) {
            repeating_ = false;
            system->SetTimer(*this, kRepeatDelay);
        }
    }
    Invalidate();
}

void KivScrollBar::OnMouseDoubleClick(KivPoint point, KivMouseButton button, uint8_t state) {
    OnMouseDown(point, button, state);
}

void KivScrollBar::OnMouseUp(KivPoint, KivMouseButton button, uint8_t) {
    if (button != KivMouseButton::kLeft || pressed_ == Part::kNone) return;
    pressed_ = Part::kNone;
    if (KivWindow* window = GetWindow(); window != nullptr && window->GetCapture() == this) window->SetCapture(nullptr);
    if (GetTimerInterval() > 0) {
        if (KivWindowSystem* system = KivWindows::System()) system->SetTimer(*this, 0);
    }
    Invalidate();
}

void KivScrollBar::OnMouseMove(KivPoint point, uint8_t) {
    pointer_ = point;
    if (pressed_ != Part::kThumb) {
        const Part hover = PartAt(point);
        if (hover != hover_) {
            hover_ = hover;
            Invalidate();
        }
        return;
    }
    const int32_t travel = Length() - 2 * ArrowLength() - ThumbLength();
    if (travel <= 0) return;
    const int32_t offset = Along(point) - grab_ - ArrowLength();
    const double share = std::clamp(static_cast<double>(offset) / travel, 0.0, 1.0);
    SetScrollPosition(static_cast<int32_t>(share * GetMaximum() + 0.5));
}

void KivScrollBar::OnTimer() {
    // Repeats only while the pointer stays on the part that was pressed; a page press stops
    // once the thumb has come to the pointer.
    if (pressed_ == Part::kNone || pressed_ == Part::kThumb) return;
    if (!repeating_) {
        repeating_ = true;
        if (KivWindowSystem* system = KivWindows::System()) system->SetTimer(*this, kRepeatInterval);
    }
    if (PartAt(pointer_) == pressed_) Act(pressed_);
}

bool KivScrollBar::OnMouseWheel(KivPoint, int32_t delta, uint8_t) {
    if (!IsEnabled() || !CanScroll()) return false;
    // Towards the user (negative) scrolls on, as everywhere else.
    const int32_t notches = delta / 120 != 0 ? delta / 120 : (delta > 0 ? 1 : -1);
    MoveBy(-notches * kWheelLines * line_);
    return true;
}

void KivScrollBar::OnMouseEnter() { Invalidate(); }

void KivScrollBar::OnMouseLeave() {
    hover_ = Part::kNone;
    Invalidate();
}

KivPoint KivScrollBar::ComputeAutoSize(KivPoint available) {
    if (IsVertical()) return KivPoint{kThickness, std::max(available.y, 4 * kThickness)};
    return KivPoint{std::max(available.x, 4 * kThickness), kThickness};
}

void KivScrollBar::Paint(KivDrawer& drawer, const KivRect&) {
    const KivRect box = GetWindowRect();
    const int32_t dx = box.left;
    const int32_t dy = box.top;
    drawer.FillRoundRectangle(box, 3, Color(drawer, KivStyleColor::kEditorBackground), KivDrawingMode::kAlphablend);
    const KivRect less = PartRect(0, ArrowLength() - 1).Offset(dx, dy);
    const KivRect more = PartRect(Length() - ArrowLength(), Length() - 1).Offset(dx, dy);
    PaintArrow(drawer, less, true);
    PaintArrow(drawer, more, false);
    if (!CanScroll()) return;
    const bool active = pressed_ == Part::kThumb || hover_ == Part::kThumb;
    const KivRect thumb = KivControlPainting::Inset(ThumbRect().Offset(dx, dy), 2, 2);
    const int32_t radius = std::max(1, std::min(thumb.Width(), thumb.Height()) / 2);
    const KivColor face = active ? Color(drawer, KivStyleColor::kHighlight)
                                 : KivControlPainting::Mix(Color(drawer, KivStyleColor::kFrame),
                                                           Color(drawer, KivStyleColor::kDimmedText), 70);
    drawer.FillRoundRectangle(thumb, radius, face, KivDrawingMode::kAlphablend);
}

void KivScrollBar::PaintArrow(KivDrawer& drawer, const KivRect& box, bool towardsLess) const {
    const Part part = towardsLess ? Part::kLessArrow : Part::kMoreArrow;
    const bool lit = pressed_ == part || hover_ == part;
    const KivColor ink = !IsEnabled() || !CanScroll() ? Color(drawer, KivStyleColor::kDisabledText)
                         : lit                         ? Color(drawer, KivStyleColor::kHighlight)
                                                       : Color(drawer, KivStyleColor::kDimmedText);
    const double x = box.left + box.Width() / 2.0;
    const double y = box.top + box.Height() / 2.0;
    const double s = std::max(2.0, std::min(box.Width(), box.Height()) / 4.0);
    const double d = towardsLess ? -1.0 : 1.0;
    if (IsVertical()) {
        const KivPointF arrow[] = {{x - s, y - d * s / 2}, {x + s, y - d * s / 2}, {x, y + d * s / 2 + d}};
        drawer.FillPolygonF(arrow, 3, ink, KivDrawingMode::kAlphablend);
    } else {
        const KivPointF arrow[] = {{x - d * s / 2, y - s}, {x - d * s / 2, y + s}, {x + d * s / 2 + d, y}};
        drawer.FillPolygonF(arrow, 3, ink, KivDrawingMode::kAlphablend);
    }
}
