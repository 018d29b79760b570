#pragma once
#include <functional>

#include "gui/core/kiv_control.h"
#include "gui/drawing/kiv_color.h"

// The square pad of the "ABCD morphing" window: the four slot letters in its corners and a
// handle the user drags between them. The handle moves within the pad inset by kInset pixels,
// so that it can reach every corner and still be grabbed whole.
class KivMorphPad : public KivControl {
public:
    // Distance of the handle's travel from the pad's edge, and the handle's radius: a press
    // within this many pixels of the handle grabs it instead of making it jump.
    static constexpr int32_t kInset = 8;
    static constexpr int32_t kHandleRadius = 8;
    static constexpr int32_t kLetterCell = 16;
    // Cursors: a grabbing hand over (and while dragging) the handle, a cross for aiming
    // elsewhere.
    static constexpr int32_t kHandleCursor = 1;
    static constexpr int32_t kAimCursor = 5;

    // Handle position, x left to right and y top to bottom, 0..1.
    double GetX() const { return x_; }
    double GetY() const { return y_; }
    // Places the handle without telling anyone (the window's initial position).
    void SetPosition(double x, double y);
    bool IsDragging() const { return dragging_; }
    KivPoint GetGrabOffset() const { return grabOffset_; }
    // The handle's centre in the pad's own coordinates.
    KivPoint HandleCentre() const;

    // Called after every move of the handle by the user.
    std::function<void(double x, double y)> onMove;

    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    void OnMouseDown(KivPoint point, KivMouseButton button, uint8_t state) override;
    void OnMouseUp(KivPoint point, KivMouseButton button, uint8_t state) override;
    void OnMouseMove(KivPoint point, uint8_t state) override;
    int32_t GetCursorShape(KivPoint point) override;

    // The dimmed guide colour: `text` with its alpha scaled by (alpha * 5 + 5) / 16.
    static KivColor GuideColor(KivColor text);
    // The handle's fill: `highlight` with its alpha scaled to (alpha + 1) * 60 / 256.
    static KivColor HandleFillColor(KivColor highlight);

private:
    // Extent of the handle's travel across and down the pad.
    int32_t TravelWidth() const;
    int32_t TravelHeight() const;
    bool IsNearHandle(KivPoint point) const;
    // Moves the handle so that its centre lies at `point` (clamped), repaints and reports.
    void MoveHandleTo(KivPoint point);
    void UpdateCursor(KivPoint point);
    void PaintGuides(KivDrawer& drawer, const KivRect& pad) const;
    void PaintLetters(KivDrawer& drawer, const KivRect& pad) const;
    void PaintHandle(KivDrawer& drawer, KivPoint centre) const;

    double x_ = 0.5;
    double y_ = 0.5;
    bool dragging_ = false;
    KivPoint grabOffset_{};
};
