#pragma once
#include <cstdint>

#include "base/kiv_list.h"
#include "base/kiv_object.h"
#include "envelope/kiv_envelope_point.h"

class KivXMLItem;

// An editable curve: points in ascending x on a bounded x/y plane. The envelope owns its
// points; the computer turns it into a fast function, the graph offers it to hosts and
// editors.
class KivEnvelope : public KivObject {
public:
    KivEnvelope() = default;
    KivEnvelope(const KivEnvelope& other);
    KivEnvelope& operator=(const KivEnvelope& other);
    ~KivEnvelope() override;

    int32_t GetPointCount() const noexcept { return points_.Count(); }
    KivEnvelopePoint& GetPoint(int32_t index) noexcept { return *points_[index]; }
    const KivEnvelopePoint& GetPoint(int32_t index) const noexcept { return *points_[index]; }

    double GetXMinimum() const noexcept { return xMinimum_; }
    double GetXMaximum() const noexcept { return xMaximum_; }
    double GetYMinimum() const noexcept { return yMinimum_; }
    double GetYMaximum() const noexcept { return yMaximum_; }
    void SetXRange(double minimum, double maximum) noexcept;
    void SetYRange(double minimum, double maximum) noexcept;

    uint8_t GetDrawingMode() const noexcept { return drawingMode_; }
    uint8_t GetSnapToGridX() const noexcept { return snapToGridX_; }
    uint8_t GetSnapToGridY() const noexcept { return snapToGridY_; }
    void SetDrawingMode(uint8_t on) noexcept { drawingMode_ = on; }
    void SetSnapToGridX(uint8_t on) noexcept { snapToGridX_ = on; }
    void SetSnapToGridY(uint8_t on) noexcept { snapToGridY_ = on; }

    // Appends a new point (default shape) without sorting: builders add all, then Sort.
    KivEnvelopePoint& AddPoint(double x, double y);
    // Creates a new point where it belongs in x order; returns its index.
    int32_t InsertPoint(double x, double y);
    // Inserts a copy of `point` at `index` (0 .. count); the caller keeps the order.
    KivEnvelopePoint& InsertPointAt(int32_t index, const KivEnvelopePoint& point);
    void DeletePoint(int32_t index);
    void ClearPoints();
    // A straight line from (x minimum, a) to (x maximum, b) between two locked points.
    void ResetToLine(double a, double b);

    // Multiplies every y (and the y range when asked) by `factor`.
    void ScaleY(double factor, bool scaleRange = false);
    // Points, ranges and the three mode bytes.
    void CopyFrom(const KivEnvelope& other);

    // Shaker sort on x; equal x keeps the order, except that a locked point marked to sort
    // first goes before its twin.
    void Sort();
    // Removes every point equal in x and y (within 1e-50) to the one before it.
    void MergeEqualNeighbours();
    // Restores what follows from the points after they were set from outside: the x order
    // and the right smoothness of points whose sides are locked together.
    void Update();

    // The XML form: the mode attributes and one "Point" child per point. Loading replaces
    // all points and then calls Update.
    void Store(KivXMLItem& element) const;
    void Load(const KivXMLItem& element);

private:
    KivList<KivEnvelopePoint*, 8> points_;
    double xMinimum_ = 0.0;
    double xMaximum_ = 1.0;
    double yMinimum_ = 0.0;
    double yMaximum_ = 1.0;
    uint8_t drawingMode_ = 0;
    uint8_t snapToGridX_ = 0;
    uint8_t snapToGridY_ = 0;
};
