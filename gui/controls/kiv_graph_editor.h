#pragma once
#include <cstdint>
#include <functional>

#include "envelope/kiv_envelope.h"
#include "envelope/kiv_envelope_computer.h"
#include "gui/controls/kiv_graph_plot.h"
#include "gui/core/kiv_control_content.h"
#include "gui/core/kiv_event.h"

// Shows and edits an envelope: a labelled grid, the curve exactly as processing evaluates
// it, the points as handles and a curvature handle in the middle of every segment that can
// bend. A click on free ground adds a point and drags it, a point drags between its
// neighbours, a curvature handle bends its segment, a double or right click deletes a point;
// Shift makes drags ten times finer. Locked points keep their x and cannot be deleted.
//
// Every gesture that may edit raises OnBeginEdit once when it starts and OnEndEdit once when
// it ends, with OnChange after each change in between, so that an owner can write the
// envelope back into a parameter and report the gesture to the host as automation.
class KivGraphEditor : public KivControlContent {
public:
    // The text shown at a grid line for the value there.
    using AxisLabel = std::function<KivString(double value)>;

    // What lies under a position: a point, the curvature handle of the segment starting at
    // a point, or nothing (index -1).
    struct Target {
        enum Kind { kNothing, kPoint, kCurvature };
        Kind kind = kNothing;
        int32_t index = -1;
    };

    KivGraphEditor();

    void LoadAttributes(const KivXMLItem& item) override;
    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    KivPoint ComputeAutoSize(KivPoint available) override;
    void OnMouseDown(KivPoint point, KivMouseButton button, uint8_t state) override;
    void OnMouseUp(KivPoint point, KivMouseButton button, uint8_t state) override;
    void OnMouseDoubleClick(KivPoint point, KivMouseButton button, uint8_t state) override;
    void OnMouseMove(KivPoint point, uint8_t state) override;
    void OnMouseLeave() override;
    bool OnKeyDown(uint32_t key, uint8_t state) override;
    void OnFocus(bool gained) override;
    bool CanTakeFocus() override { return IsEnabled(); }

    // The envelope shown and edited. The owner keeps it alive while it is set here and
    // calls EnvelopeChanged after changing it from outside; null returns to the editor's
    // own envelope (the one a GUI description fills).
    void SetEnvelope(KivEnvelope* envelope);
    KivEnvelope& GetEnvelope() { return *envelope_; }
    const KivEnvelope& GetEnvelope() const { return *envelope_; }
    void EnvelopeChanged();
    // Draws the curve as it is evaluated in another domain: the points are carried into it
    // (both coordinates through `into`), the curve is compiled and rounded there, and its
    // values come back through `back`. Null for both: the plane's own domain.
    using DomainMap = double (*)(double);
    void SetCurveDomain(DomainMap into, DomainMap back);
    // The curve's value at x as it is drawn, through the compiled envelope.
    double ValueAt(double x) const;

    // Without it no gesture or key changes the envelope; it is still shown.
    void SetEditable(bool editable);
    bool IsEditable() const { return editable_; }
    // Texts at the grid lines along the bottom (x) and the left side (y); without one a
    // plain number is shown.
    void SetAxisLabels(AxisLabel x, AxisLabel y);
    // Grid lines: each axis range divided into that many parts (0: no lines).
    void SetGridDivisions(int32_t x, int32_t y);
    // Moved and added points go to the nearest grid line of KivEnvelopeEditing; the choice is
    // kept in the envelope's own snapping bytes, so it travels with the envelope.
    void SetSnapToGrid(bool x, bool y);
    // A faint line from the lower left to the upper right corner, the identity of a
    // transfer shape.
    void SetDiagonal(bool on);

    // The point the keys act on, -1 when none.
    int32_t GetSelectedIndex() const { return IndexOf(selected_); }
    // The plot area and where a point and a segment's curvature handle are drawn, in the
    // control's coordinates.
    KivRect GetPlotRect() const { return Plot().Area(); }
    KivPointF PointPosition(int32_t index) const;
    KivPointF CurvatureHandlePosition(int32_t index) const;
    // Whether the segment starting at point `index` has a curvature handle.
    bool HasCurvatureHandle(int32_t index) const;
    Target TargetAt(KivPoint point) const;

    KivEvent<KivOnNotifyParams> OnBeginEdit;
    KivEvent<KivOnNotifyParams> OnChange;
    KivEvent<KivOnNotifyParams> OnEndEdit;

    // A label for an axis in root amplitude: a position v is the level 20·log10(v²) dB.
    static KivString RootAmplitudeDecibels(double value);

private:
    enum class Drag { kNone, kPoint, kCurvature };

    // Gestures.
    void BeginGesture();
    void EndGesture();
    void StartPointDrag(KivEnvelopePoint* point, KivPoint at);
    void AddPointAt(KivPoint at);
    void DeletePoint(int32_t index);
    void DragPoint(KivPoint at, uint8_t state);
    void DragCurvature(KivPoint at, uint8_t state);
    bool NudgeSelected(double dx, double dy);
    // Moves point `index` to (x, y) after snapping and limiting; true when it moved.
    bool MovePoint(int32_t index, double x, double y);
    void NoteChange();
    void SetHover(Target target);

    // Geometry and painting (kiv_graph_editor_painting.cpp).
    // The plot inside the control, leaving room for the caption and the labels.
    KivGraphPlot Plot() const;
    void PaintGrid(KivDrawer& drawer, const KivGraphPlot& plot) const;
    void PaintLabels(KivDrawer& drawer, const KivGraphPlot& plot) const;
    void PaintCurve(KivDrawer& drawer, const KivGraphPlot& plot);
    void PaintHandles(KivDrawer& drawer, const KivGraphPlot& plot);
    KivString LabelOf(const AxisLabel& label, double value) const;

    int32_t IndexOf(const KivEnvelopePoint* point) const;
    bool CanEdit() const { return editable_ && IsEnabled(); }

    KivEnvelope own_;
    KivEnvelope* envelope_ = &own_;
    void CompileCurve();

    mutable KivEnvelopeComputer computer_;
    DomainMap into_ = nullptr;
    DomainMap back_ = nullptr;
    AxisLabel xLabel_;
    AxisLabel yLabel_;
    int32_t gridX_ = 10;
    int32_t gridY_ = 10;
    bool editable_ = true;
    bool diagonal_ = false;
    bool focused_ = false;

    // Points are separate records that survive reordering, so the editor holds on to them.
    KivEnvelopePoint* selected_ = nullptr;
    Target hover_;
    Drag drag_ = Drag::kNone;
    KivEnvelopePoint* dragged_ = nullptr;
    bool inGesture_ = false;
    KivPoint last_{};
    // Where the drag would put the point without limits, so that it follows the pointer
    // again after being held at a neighbour.
    double dragX_ = 0.0;
    double dragY_ = 0.0;
};
