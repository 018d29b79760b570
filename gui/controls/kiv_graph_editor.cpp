#include "gui/controls/kiv_graph_editor.h"

#include <algorithm>
#include <cmath>

#include "base/kiv_exception.h"
#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "envelope/kiv_envelope_editing.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/controls/kiv_value_gestures.h"
#include "gui/core/kiv_window.h"

namespace {
// How near the pointer must come to a handle to take it, in pixels.
constexpr double kPointReach = 7.0;
constexpr double kCurvatureReach = 6.0;
// Pixels of vertical drag that bend a segment from straight to fully curved.
constexpr double kFullBendPixels = 100.0;
// Share of a range an arrow key moves a point when the axis does not snap.
constexpr double kKeyShare = 0.01;

bool Fine(uint8_t state) { return (state & KivInputState::kShift) != 0; }

double Distance(KivPointF a, KivPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

bool Flag(const KivXMLItem& item, const char* name, bool fallback) {
    const KivString key(name);
    return item.HasAttribute(key) ? KivNumber::TextToInteger(item.GetAttribute()) != 0 : fallback;
}

// "x,y" or "x,y,curvature" per point, points separated by blanks.
void ReadPoints(const KivString& text, KivEnvelope& envelope) {
    envelope.ClearPoints();
    int32_t at = 0;
    while (at < text.Length()) {
        while (at < text.Length() && text[at] <= ' ') ++at;
        int32_t end = at;
        while (end < text.Length() && text[end] > ' ') ++end;
        if (end == at) break;
        const KivString item = text.Substring(at, end - at);
        double numbers[3] = {0.0, 0.0, 0.0};
        int32_t from = 0;
        for (double& number : numbers) {
            int32_t consumed = 0;
            number = KivNumber::TextToDouble(item.Substring(from), &consumed);
            if (consumed == 0) break;
            from += consumed;
            if (from >= item.Length() || item[from] != ',') break;
            ++from;
        }
        KivEnvelopePoint& point = envelope.AddPoint(numbers[0], numbers[1]);
        point.curvature = std::clamp(numbers[2], -1.0, 1.0);
        at = end;
    }
    envelope.Update();
}
}  // namespace

KivGraphEditor::KivGraphEditor() : OnBeginEdit(this), OnChange(this), OnEndEdit(this) { computer_.Compile(own_); }

void KivGraphEditor::LoadAttributes(const KivXMLItem& item) {
    KivControlContent::LoadAttributes(item);
    editable_ = Flag(item, "editable", editable_);
    diagonal_ = Flag(item, "diagonal", diagonal_);
    if (item.HasAttribute(KivString("gridx"))) gridX_ = static_cast<int32_t>(KivNumber::TextToInteger(item.GetAttribute()));
    if (item.HasAttribute(KivString("gridy"))) gridY_ = static_cast<int32_t>(KivNumber::TextToInteger(item.GetAttribute()));
    if (item.HasAttribute(KivString("points"))) ReadPoints(item.GetAttribute(), own_);
    SetSnapToGrid(Flag(item, "snaptogridx", own_.GetSnapToGridX() != 0), Flag(item, "snaptogridy", own_.GetSnapToGridY() != 0));
    if (item.HasAttribute(KivString("axislabels")) && item.GetAttribute().EqualsFolded(KivString("decibels"))) {
        SetAxisLabels(RootAmplitudeDecibels, RootAmplitudeDecibels);
    }
    EnvelopeChanged();
}

KivPoint KivGraphEditor::ComputeAutoSize(KivPoint) { return KivPoint{280, 220}; }

void KivGraphEditor::SetEnvelope(KivEnvelope* envelope) {
    envelope_ = envelope != nullptr ? envelope : &own_;
    EnvelopeChanged();
}

void KivGraphEditor::EnvelopeChanged() {
    // Points the editor held may be gone; a drag in progress lets go of a vanished point.
    if (IndexOf(selected_) < 0) selected_ = nullptr;
    if (IndexOf(dragged_) < 0) {
        dragged_ = nullptr;
        if (drag_ != Drag::kNone) drag_ = Drag::kNone;
    }
    hover_ = Target{};
    CompileCurve();
    Invalidate();
}

void KivGraphEditor::SetCurveDomain(DomainMap into, DomainMap back) {
    if (into == into_ && back == back_) return;
    into_ = into && back ? into : nullptr;
    back_ = into && back ? back : nullptr;
    CompileCurve();
    Invalidate();
}

void KivGraphEditor::CompileCurve() {
    try {
        if (!into_) {
            computer_.Compile(*envelope_);
            return;
        }
        KivEnvelope mapped;
        mapped.CopyFrom(*envelope_);
        for (int32_t i = 0; i < mapped.GetPointCount(); ++i) {
            KivEnvelopePoint& point = mapped.GetPoint(i);
            point.x = into_(point.x);
            point.y = into_(point.y);
        }
        computer_.Compile(mapped);
    } catch (const KivException&) {
        // A point of an unknown segment type: the computer keeps a flat line, which is shown.
    }
}

void KivGraphEditor::SetEditable(bool editable) {
    if (editable == editable_) return;
    editable_ = editable;
    hover_ = Target{};
    Invalidate();
}

void KivGraphEditor::SetAxisLabels(AxisLabel x, AxisLabel y) {
    xLabel_ = std::move(x);
    yLabel_ = std::move(y);
    Invalidate();
}

void KivGraphEditor::SetGridDivisions(int32_t x, int32_t y) {
    gridX_ = std::max(0, x);
    gridY_ = std::max(0, y);
    Invalidate();
}

void KivGraphEditor::SetSnapToGrid(bool x, bool y) {
    envelope_->SetSnapToGridX(x ? 1 : 0);
    envelope_->SetSnapToGridY(y ? 1 : 0);
}

void KivGraphEditor::SetDiagonal(bool on) {
    diagonal_ = on;
    Invalidate();
}

KivString KivGraphEditor::RootAmplitudeDecibels(double value) {
    if (value <= 1e-10) return KivString::FromUTF8("-\xE2\x88\x9E");  // minus infinity: silence
    const double decibels = std::round(20.0 * std::log10(value * value) * 10.0) / 10.0;
    // Tenths only where they tell something: "-1.8" but "-21", and "0" at full level.
    const bool whole = std::fabs(decibels) >= 10.0 || decibels == 0.0;
    return KivNumber::DoubleToText(whole ? std::round(decibels) : decibels, whole ? 0 : 1);
}

int32_t KivGraphEditor::IndexOf(const KivEnvelopePoint* point) const {
    if (point == nullptr) return -1;
    for (int32_t index = 0; index < envelope_->GetPointCount(); ++index)
        if (&envelope_->GetPoint(index) == point) return index;
    return -1;
}

double KivGraphEditor::ValueAt(double x) const {
    return into_ ? back_(computer_.Value(into_(x))) : computer_.Value(x);
}

KivPointF KivGraphEditor::PointPosition(int32_t index) const {
    const KivEnvelopePoint& point = envelope_->GetPoint(index);
    return Plot().ToPixel(point.x, point.y);
}

bool KivGraphEditor::HasCurvatureHandle(int32_t index) const {
    if (index < 0 || index + 1 >= envelope_->GetPointCount()) return false;
    const KivEnvelopePoint& point = envelope_->GetPoint(index);
    // Smooth connections take their shape from the neighbours, not from a curvature.
    if (point.segmentType == 5 || point.segmentType == 6) return false;
    // Too short a segment to grab its middle apart from its ends.
    const KivGraphPlot plot = Plot();
    return std::fabs(plot.ToPixel(envelope_->GetPoint(index + 1).x, 0.0).x - plot.ToPixel(point.x, 0.0).x) >= 3.0 * kPointReach;
}

KivPointF KivGraphEditor::CurvatureHandlePosition(int32_t index) const {
    const double middle = (envelope_->GetPoint(index).x + envelope_->GetPoint(index + 1).x) / 2.0;
    return Plot().ToPixel(middle, ValueAt(middle));
}

KivGraphEditor::Target KivGraphEditor::TargetAt(KivPoint point) const {
    Target found;
    double nearest = kPointReach;
    for (int32_t index = 0; index < envelope_->GetPointCount(); ++index) {
        const double distance = Distance(PointPosition(index), point);
        if (distance <= nearest) {
            nearest = distance;
            found = Target{Target::kPoint, index};
        }
    }
    if (found.kind != Target::kNothing) return found;
    nearest = kCurvatureReach;
    for (int32_t index = 0; index + 1 < envelope_->GetPointCount(); ++index) {
        if (!HasCurvatureHandle(index)) continue;
        const double distance = Distance(CurvatureHandlePosition(index), point);
        if (distance <= nearest) {
            nearest = distance;
            found = Target{Target::kCurvature, index};
        }
    }
    return found;
}

void KivGraphEditor::OnMouseDown(KivPoint point, KivMouseButton button, uint8_t) {
    if (!CanEdit()) return;
    const Target target = TargetAt(point);
    if (button == KivMouseButton::kRight) {
        if (target.kind == Target::kPoint) DeletePoint(target.index);
        return;
    }
    if (button != KivMouseButton::kLeft || drag_ != Drag::kNone) return;
    if (target.kind == Target::kNothing && !GetPlotRect().Contains(point.x, point.y)) return;
    if (KivWindow* window = GetWindow()) window->SetCapture(this);
    last_ = point;
    BeginGesture();
    if (target.kind == Target::kPoint) {
        StartPointDrag(&envelope_->GetPoint(target.index), point);
    } else if (target.kind == Target::kCurvature) {
        drag_ = Drag::kCurvature;
        dragged_ = &envelope_->GetPoint(target.index);
    } else {
        AddPointAt(point);
    }
}

void KivGraphEditor::OnMouseUp(KivPoint, KivMouseButton button, uint8_t) {
    if (button != KivMouseButton::kLeft || !inGesture_) return;
    drag_ = Drag::kNone;
    dragged_ = nullptr;
    if (KivWindow* window = GetWindow()) window->SetCapture(nullptr);
    EndGesture();
}

void KivGraphEditor::OnMouseDoubleClick(KivPoint point, KivMouseButton button, uint8_t state) {
    if (!CanEdit() || button != KivMouseButton::kLeft) return;
    const Target target = TargetAt(point);
    // The second press of a double click on free ground is a press like any other.
    if (target.kind != Target::kPoint) {
        OnMouseDown(point, button, state);
        return;
    }
    DeletePoint(target.index);
}

void KivGraphEditor::OnMouseMove(KivPoint point, uint8_t state) {
    if (drag_ == Drag::kPoint) DragPoint(point, state);
    if (drag_ == Drag::kCurvature) DragCurvature(point, state);
    if (drag_ == Drag::kNone) SetHover(CanEdit() ? TargetAt(point) : Target{});
    last_ = point;
}

void KivGraphEditor::OnMouseLeave() {
    if (drag_ == Drag::kNone) SetHover(Target{});
}

bool KivGraphEditor::OnKeyDown(uint32_t key, uint8_t state) {
    const int32_t index = GetSelectedIndex();
    if (!CanEdit() || index < 0 || drag_ != Drag::kNone) return false;
    auto step = [&](bool snapping, double minimum, double maximum) {
        const double share = snapping ? 1.0 / KivEnvelopeEditing::kGridDivisions : kKeyShare / (Fine(state) ? KivValueGestures::kFineFactor : 1.0);
        return (maximum - minimum) * share;
    };
    const double dx = step(envelope_->GetSnapToGridX() != 0, envelope_->GetXMinimum(), envelope_->GetXMaximum());
    const double dy = step(envelope_->GetSnapToGridY() != 0, envelope_->GetYMinimum(), envelope_->GetYMaximum());
    switch (key) {
        case KivKeyCode::kDelete: DeletePoint(index); return true;
        case KivKeyCode::kLeft: NudgeSelected(-dx, 0.0); return true;
        case KivKeyCode::kRight: NudgeSelected(dx, 0.0); return true;
        case KivKeyCode::kUp: NudgeSelected(0.0, dy); return true;
        case KivKeyCode::kDown: NudgeSelected(0.0, -dy); return true;
        default: return false;
    }
}

void KivGraphEditor::OnFocus(bool gained) {
    focused_ = gained;
    Invalidate();
}

void KivGraphEditor::BeginGesture() {
    inGesture_ = true;
    OnBeginEdit.Raise(KivOnNotifyParams{this});
}

void KivGraphEditor::EndGesture() {
    inGesture_ = false;
    OnEndEdit.Raise(KivOnNotifyParams{this});
}

void KivGraphEditor::StartPointDrag(KivEnvelopePoint* point, KivPoint) {
    drag_ = Drag::kPoint;
    dragged_ = point;
    dragX_ = point->x;
    dragY_ = point->y;
    if (selected_ != point) {
        selected_ = point;
        Invalidate();
    }
}

void KivGraphEditor::AddPointAt(KivPoint at) {
    const KivGraphPlot plot = Plot();
    const KivEnvelope& envelope = *envelope_;
    double x = std::clamp(plot.XAt(at.x), envelope.GetXMinimum(), envelope.GetXMaximum());
    double y = std::clamp(plot.YAt(at.y), envelope.GetYMinimum(), envelope.GetYMaximum());
    if (envelope.GetSnapToGridX() != 0) x = KivEnvelopeEditing::SnapToGrid(x, envelope.GetXMinimum(), envelope.GetXMaximum());
    if (envelope.GetSnapToGridY() != 0) y = KivEnvelopeEditing::SnapToGrid(y, envelope.GetYMinimum(), envelope.GetYMaximum());
    const int32_t index = envelope_->InsertPoint(x, y);
    StartPointDrag(&envelope_->GetPoint(index), at);
    // The drag starts from the pointer, not from the grid line the point snapped to, so
    // that the point keeps snapping to the line nearest the pointer.
    dragX_ = plot.XAt(at.x);
    dragY_ = plot.YAt(at.y);
    NoteChange();
}

void KivGraphEditor::DeletePoint(int32_t index) {
    if (envelope_->GetPoint(index).IsLocked()) return;
    const bool ownGesture = !inGesture_;
    if (ownGesture) BeginGesture();
    if (selected_ == &envelope_->GetPoint(index)) selected_ = nullptr;
    if (dragged_ == &envelope_->GetPoint(index)) {
        dragged_ = nullptr;
        drag_ = Drag::kNone;
    }
    hover_ = Target{};
    envelope_->DeletePoint(index);
    NoteChange();
    if (ownGesture) EndGesture();
}

void KivGraphEditor::DragPoint(KivPoint at, uint8_t state) {
    const KivGraphPlot plot = Plot();
    const double scale = Fine(state) ? 1.0 / KivValueGestures::kFineFactor : 1.0;
    dragX_ += (at.x - last_.x) * plot.XPerPixel() * scale;
    dragY_ -= (at.y - last_.y) * plot.YPerPixel() * scale;
    if (MovePoint(IndexOf(dragged_), dragX_, dragY_)) NoteChange();
}

void KivGraphEditor::DragCurvature(KivPoint at, uint8_t state) {
    const int32_t index = IndexOf(dragged_);
    if (index < 0 || index + 1 >= envelope_->GetPointCount()) return;
    KivEnvelopePoint& point = envelope_->GetPoint(index);
    const double scale = Fine(state) ? 1.0 / KivValueGestures::kFineFactor : 1.0;
    double bend = (last_.y - at.y) / kFullBendPixels * scale;
    // Positive curvature pulls the middle of a segment towards its start's level for every
    // type but the Bezier one, so the handle follows the pointer up or down.
    if (envelope_->GetPoint(index + 1).y >= point.y) bend = -bend;
    if (point.segmentType == 3) bend = -bend;
    const double curvature = std::clamp(point.curvature + bend, -1.0, 1.0);
    if (curvature == point.curvature) return;
    point.curvature = curvature;
    NoteChange();
}

bool KivGraphEditor::NudgeSelected(double dx, double dy) {
    const int32_t index = GetSelectedIndex();
    const KivEnvelopePoint& point = envelope_->GetPoint(index);
    BeginGesture();
    const bool moved = MovePoint(index, point.x + dx, point.y + dy);
    if (moved) NoteChange();
    EndGesture();
    return moved;
}

bool KivGraphEditor::MovePoint(int32_t index, double x, double y) {
    if (index < 0) return false;
    const KivEnvelope& envelope = *envelope_;
    KivEnvelopePoint& point = envelope_->GetPoint(index);
    if (envelope.GetSnapToGridX() != 0) x = KivEnvelopeEditing::SnapToGrid(x, envelope.GetXMinimum(), envelope.GetXMaximum());
    if (envelope.GetSnapToGridY() != 0) y = KivEnvelopeEditing::SnapToGrid(y, envelope.GetYMinimum(), envelope.GetYMaximum());
    // Neighbours bound the move so that the order of the points never changes under the hand.
    const double left = index > 0 ? envelope.GetPoint(index - 1).x : envelope.GetXMinimum();
    const double right = index + 1 < envelope.GetPointCount() ? envelope.GetPoint(index + 1).x : envelope.GetXMaximum();
    x = point.IsLocked() ? point.x : std::clamp(x, std::max(left, envelope.GetXMinimum()), std::min(right, envelope.GetXMaximum()));
    y = std::clamp(y, envelope.GetYMinimum(), envelope.GetYMaximum());
    if (x == point.x && y == point.y) return false;
    point.x = x;
    point.y = y;
    return true;
}

void KivGraphEditor::NoteChange() {
    CompileCurve();
    Invalidate();
    OnChange.Raise(KivOnNotifyParams{this});
}

void KivGraphEditor::SetHover(Target target) {
    if (target.kind == hover_.kind && target.index == hover_.index) return;
    hover_ = target;
    Invalidate();
}
