#include "presets/editor/kiv_morph_pad.h"

#include <algorithm>
#include <cstdlib>

#include "gui/controls/kiv_control_painting.h"
#include "gui/core/kiv_window.h"
#include "gui/core/kiv_windows.h"
#include "gui/style/kiv_style_access.h"
#include "gui/text/kiv_text_alignment.h"

using KivStyleAccess::Color;

namespace {

double Clamp01(double value) { return std::clamp(value, 0.0, 1.0); }

}  // namespace

void KivMorphPad::SetPosition(double x, double y) {
    x_ = Clamp01(x);
    y_ = Clamp01(y);
    Invalidate();
}

int32_t KivMorphPad::TravelWidth() const {
    const KivRect r = GetClientRect();
    return (r.right - kInset) - (r.left + kInset) + 1;
}

int32_t KivMorphPad::TravelHeight() const {
    const KivRect r = GetClientRect();
    return (r.bottom - kInset) - (r.top + kInset) + 1;
}

KivPoint KivMorphPad::HandleCentre() const {
    const KivRect r = GetClientRect();
    // Truncation, not rounding: x = 1 puts the centre on the last pixel of the travel.
    return KivPoint{r.left + kInset + static_cast<int32_t>(TravelWidth() * x_),
                    r.top + kInset + static_cast<int32_t>(TravelHeight() * y_)};
}

bool KivMorphPad::IsNearHandle(KivPoint point) const {
    const KivPoint centre = HandleCentre();
    return std::abs(point.x - centre.x) <= kHandleRadius && std::abs(point.y - centre.y) <= kHandleRadius;
}

KivColor KivMorphPad::GuideColor(KivColor text) { return text.WithAlpha(static_cast<uint8_t>((text.a * 5 + 5) / 16)); }

KivColor KivMorphPad::HandleFillColor(KivColor highlight) {
    return highlight.WithAlpha(static_cast<uint8_t>((highlight.a + 1) * 60 / 256));
}

void KivMorphPad::Paint(KivDrawer& drawer, const KivRect&) {
    const KivRect pad = GetWindowRect();
    drawer.FillRectangle(pad, Color(drawer, KivStyleColor::kEditorBackground), KivDrawingMode::kCopy);
    PaintGuides(drawer, pad);
    PaintLetters(drawer, pad);
    const KivPoint centre = HandleCentre();
    PaintHandle(drawer, KivPoint{pad.left + centre.x, pad.top + centre.y});
}

void KivMorphPad::PaintGuides(KivDrawer& drawer, const KivRect& pad) const {
    const KivColor guide = GuideColor(Color(drawer, KivStyleColor::kText));
    const int32_t middleX = (pad.left + pad.right) / 2;
    const int32_t middleY = (pad.top + pad.bottom) / 2;
    const KivPoint lines[4][2] = {{{pad.left, pad.top}, {pad.right, pad.bottom}},
                                  {{pad.right, pad.top}, {pad.left, pad.bottom}},
                                  {{pad.left, middleY}, {pad.right, middleY}},
                                  {{middleX, pad.top}, {middleX, pad.bottom}}};
    for (const auto& line : lines) {
        drawer.MoveTo(line[0]);
        drawer.LineTo(line[1], guide, KivDrawingMode::kAlphablend);
    }
    drawer.FillCircle(KivPoint{middleX, middleY}, 3, guide, KivDrawingMode::kAlphablend);
}

void KivMorphPad::PaintLetters(KivDrawer& drawer, const KivRect& pad) const {
    const int32_t cell = kLetterCell - 1;
    const KivRect cells[4] = {{pad.left, pad.top, pad.left + cell, pad.top + cell},
                              {pad.right - cell, pad.top, pad.right, pad.top + cell},
                              {pad.left, pad.bottom - cell, pad.left + cell, pad.bottom},
                              {pad.right - cell, pad.bottom - cell, pad.right, pad.bottom}};
    const char* const letters[4] = {"A", "B", "C", "D"};
    for (int32_t corner = 0; corner < 4; ++corner) {
        drawer.FillRectangle(cells[corner], Color(drawer, KivStyleColor::kTitleBackground), KivDrawingMode::kCopy);
        KivControlPainting::Text(drawer, KivStyleFont::kNormal, KivString(letters[corner]), cells[corner],
                                 KivTextAlignment::kCentred, Color(drawer, KivStyleColor::kText));
    }
}

void KivMorphPad::PaintHandle(KivDrawer& drawer, KivPoint centre) const {
    const KivColor highlight = Color(drawer, KivStyleColor::kHighlight);
    drawer.FillCircle(centre, kHandleRadius, HandleFillColor(highlight), KivDrawingMode::kAlphablend);
    drawer.Circle(centre, kHandleRadius, highlight, KivDrawingMode::kAlphablend);
    drawer.FillCircle(centre, 2, highlight, KivDrawingMode::kAlphablend);
}

void KivMorphPad::OnMouseDown(KivPoint point, KivMouseButton button, uint8_t) {
    if (button != KivMouseButton::kLeft || !GetClientRect().Contains(point.x, point.y)) return;
    if (!IsNearHandle(point)) MoveHandleTo(point);
    dragging_ = true;
    const KivPoint centre = HandleCentre();
    grabOffset_ = KivPoint{point.x - centre.x, point.y - centre.y};
    if (KivWindow* window = GetWindow()) window->SetCapture(this);
    UpdateCursor(point);
}

void KivMorphPad::OnMouseUp(KivPoint point, KivMouseButton button, uint8_t) {
    if (button != KivMouseButton::kLeft || !dragging_) return;
    dragging_ = false;
    if (KivWindow* window = GetWindow()) window->SetCapture(nullptr);
    UpdateCursor(point);
}

void KivMorphPad::OnMouseMove(KivPoint point, uint8_t) {
    if (dragging_) MoveHandleTo(KivPoint{point.x - grabOffset_.x, point.y - grabOffset_.y});
    UpdateCursor(point);
}

int32_t KivMorphPad::GetCursorShape(KivPoint point) {
    return dragging_ || IsNearHandle(point) ? kHandleCursor : kAimCursor;
}

void KivMorphPad::MoveHandleTo(KivPoint point) {
    const KivRect r = GetClientRect();
    x_ = Clamp01(static_cast<double>(point.x - (r.left + kInset)) / TravelWidth());
    y_ = Clamp01(static_cast<double>(point.y - (r.top + kInset)) / TravelHeight());
    Invalidate();
    if (onMove) onMove(x_, y_);
}

// The window sets the cursor only when the pointer enters another control; over the pad the
// shape changes with the distance to the handle.
void KivMorphPad::UpdateCursor(KivPoint point) {
    KivWindow* window = GetWindow();
    KivWindowSystem* system = KivWindows::System();
    if (window != nullptr && system != nullptr && window->HasNativeWindow())
        system->SetCursorShape(GetCursorShape(point));
}
