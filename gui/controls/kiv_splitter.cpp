#include "gui/controls/kiv_splitter.h"

#include <algorithm>
#include <cmath>

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/core/kiv_window.h"
#include "gui/style/kiv_style_access.h"

using KivStyleAccess::Color;

namespace {
int32_t ReadInt(const KivXMLItem& item, const char* name, int32_t fallback) {
    if (!item.HasAttribute(KivString(name))) return fallback;
    return static_cast<int32_t>(KivNumber::TextToInteger(item.GetAttribute(KivString(name))));
}
}  // namespace

void KivSplitter::LoadAttributes(const KivXMLItem& item) {
    KivPanel::LoadAttributes(item);
    vertical_ = ReadInt(item, "vertical", vertical_ ? 1 : 0) != 0;
    SetMinimalSizes(ReadInt(item, "minfirst", minFirst_), ReadInt(item, "minsecond", minSecond_));
    if (item.HasAttribute(KivString("keep"))) {
        const KivString& keep = item.GetAttribute(KivString("keep"));
        if (keep.EqualsFolded(KivString("first"))) keep_ = Keep::kFirst;
        if (keep.EqualsFolded(KivString("second"))) keep_ = Keep::kSecond;
        if (keep.EqualsFolded(KivString("ratio"))) keep_ = Keep::kRatio;
    }
    if (item.HasAttribute(KivString("splitposition"))) SetSplitPosition(ReadInt(item, "splitposition", 0));
}

void KivSplitter::SetVertical(bool vertical) {
    vertical_ = vertical;
    Arrange();
}

void KivSplitter::SetMinimalSizes(int32_t first, int32_t second) {
    minFirst_ = std::max(0, first);
    minSecond_ = std::max(0, second);
    if (position_ >= 0) SetSplitPosition(position_);
}

int32_t KivSplitter::Clamp(int32_t position) const {
    return std::max(std::min(position, Room() - minSecond_), std::min(minFirst_, Room()));
}

void KivSplitter::SetSplitPosition(int32_t position) {
    // Before the splitter has a size the wish is kept as it is.
    position_ = Room() > 0 ? Clamp(position) : std::max(0, position);
    NotePosition();
    PlacePanes();
}

void KivSplitter::NotePosition() {
    if (Room() <= 0) {
        second_ = -1;
        return;
    }
    ratio_ = static_cast<double>(position_) / Room();
    second_ = Room() - position_;
}

void KivSplitter::Arrange() {
    if (Room() <= 0) return;
    if (position_ < 0) {
        position_ = Clamp(Room() / 2);
        NotePosition();
    } else if (second_ < 0) {
        // A position set before there was a size: it counts as the first pane's size.
        position_ = Clamp(position_);
        NotePosition();
    } else {
        int32_t wanted = position_;
        if (keep_ == Keep::kRatio) wanted = static_cast<int32_t>(std::lround(ratio_ * Room()));
        if (keep_ == Keep::kSecond) wanted = Room() - second_;
        // The remembered ratio or side survives a squeeze through the minimums.
        position_ = Clamp(wanted);
    }
    PlacePanes();
}

KivRect KivSplitter::BarRect() const {
    const KivRect client = GetClientRect();
    const int32_t at = std::max(0, position_);
    if (vertical_) return KivRect{client.left, at, client.right, at + kBarSize - 1};
    return KivRect{at, client.top, at + kBarSize - 1, client.bottom};
}

void KivSplitter::PlacePanes() {
    if (Room() <= 0) return;
    const KivRect client = GetClientRect();
    const KivRect bar = BarRect();
    KivRect first = client;
    KivRect second = client;
    if (vertical_) {
        first.bottom = bar.top - 1;
        second.top = bar.bottom + 1;
    } else {
        first.right = bar.left - 1;
        second.left = bar.right + 1;
    }
    if (KivControl* pane = GetChild(0)) pane->SetBounds(first);
    if (KivControl* pane = GetChild(1)) pane->SetBounds(second);
    Invalidate();
}

bool KivSplitter::OnBar(KivPoint point) const { return BarRect().Contains(point.x, point.y); }

void KivSplitter::OnMouseDown(KivPoint point, KivMouseButton button, uint8_t) {
    if (button != KivMouseButton::kLeft || !IsEnabled() || !OnBar(point)) return;
    dragging_ = true;
    grab_ = (vertical_ ? point.y : point.x) - position_;
    if (KivWindow* window = GetWindow()) window->SetCapture(this);
    Invalidate();
}

void KivSplitter::OnMouseMove(KivPoint point, uint8_t) {
    if (!dragging_) {
        if (OnBar(point) != hover_) {
            hover_ = !hover_;
            Invalidate();
        }
        return;
    }
    const int32_t position = Clamp((vertical_ ? point.y : point.x) - grab_);
    if (position == position_) return;
    position_ = position;
    NotePosition();
    PlacePanes();
    OnSplit.Raise(KivOnItemParams<int32_t>{this, position_});
}

void KivSplitter::OnMouseUp(KivPoint, KivMouseButton button, uint8_t) {
    if (button != KivMouseButton::kLeft || !dragging_) return;
    dragging_ = false;
    if (KivWindow* window = GetWindow(); window != nullptr && window->GetCapture() == this) window->SetCapture(nullptr);
    Invalidate();
}

void KivSplitter::OnMouseEnter() {}

void KivSplitter::OnMouseLeave() {
    if (!hover_) return;
    hover_ = false;
    Invalidate();
}

int32_t KivSplitter::GetCursorShape(KivPoint point) {
    if (!OnBar(point)) return 0;
    return vertical_ ? 4 : 3;
}

void KivSplitter::Paint(KivDrawer& drawer, const KivRect&) {
    const KivRect box = GetWindowRect();
    const KivRect bar = BarRect().Offset(box.left, box.top);
    const bool lit = dragging_ || hover_;
    // A short grip in the middle of the bar; the bar itself stays the window's ground.
    const KivColor grip = Color(drawer, lit ? KivStyleColor::kHighlight : KivStyleColor::kFrame);
    const int32_t half = 14;
    if (vertical_) {
        const int32_t x = (bar.left + bar.right) / 2;
        const int32_t y = (bar.top + bar.bottom) / 2;
        drawer.FillRoundRectangle(KivRect{x - half, y - 1, x + half, y + 1}, 1, grip, KivDrawingMode::kAlphablend);
    } else {
        const int32_t x = (bar.left + bar.right) / 2;
        const int32_t y = (bar.top + bar.bottom) / 2;
        drawer.FillRoundRectangle(KivRect{x - 1, y - half, x + 1, y + half}, 1, grip, KivDrawingMode::kAlphablend);
    }
}
