#include "envelope/kiv_envelope.h"

#include <cmath>
#include <utility>

namespace {

constexpr double kEqualX = 1e-50;

bool SortsFirstAmongEquals(const KivEnvelopePoint& point) {
    constexpr uint8_t kBoth = KivEnvelopePoint::kLocked | KivEnvelopePoint::kSortsFirst;
    return (point.flags & kBoth) == kBoth;
}

bool MustSwap(const KivEnvelopePoint& first, const KivEnvelopePoint& second) {
    if (first.x - second.x > kEqualX) return true;
    if (std::fabs(first.x - second.x) > kEqualX) return false;
    return SortsFirstAmongEquals(second) && !SortsFirstAmongEquals(first);
}

KivEnvelopePoint* NewPoint(double x, double y) {
    auto* point = new KivEnvelopePoint;
    point->x = x;
    point->y = y;
    return point;
}

}  // namespace

KivEnvelope::KivEnvelope(const KivEnvelope& other) : KivObject() { CopyFrom(other); }

KivEnvelope& KivEnvelope::operator=(const KivEnvelope& other) {
    if (this != &other) CopyFrom(other);
    return *this;
}

KivEnvelope::~KivEnvelope() { ClearPoints(); }

void KivEnvelope::SetXRange(double minimum, double maximum) noexcept {
    xMinimum_ = minimum;
    xMaximum_ = maximum;
}

void KivEnvelope::SetYRange(double minimum, double maximum) noexcept {
    yMinimum_ = minimum;
    yMaximum_ = maximum;
}

KivEnvelopePoint& KivEnvelope::AddPoint(double x, double y) {
    points_.Reserve(points_.Count() + 1);
    return *points_.Add(NewPoint(x, y));
}

int32_t KivEnvelope::InsertPoint(double x, double y) {
    int32_t index = 0;
    while (index < points_.Count() && points_[index]->x <= x) ++index;
    points_.Reserve(points_.Count() + 1);
    points_.Insert(index, NewPoint(x, y));
    return index;
}

KivEnvelopePoint& KivEnvelope::InsertPointAt(int32_t index, const KivEnvelopePoint& point) {
    points_.Reserve(points_.Count() + 1);
    auto* copy = new KivEnvelopePoint(point);
    copy->Set(KivEnvelopePoint::kTransient, false);
    if (index < 0) index = 0;
    return *points_.Insert(index, copy);
}

void KivEnvelope::DeletePoint(int32_t index) {
    if (index < 0 || index >= points_.Count()) return;
    delete points_[index];
    points_.RemoveAt(index);
}

void KivEnvelope::ClearPoints() {
    for (KivEnvelopePoint* point : points_) delete point;
    points_.Clear();
}

void KivEnvelope::ResetToLine(double a, double b) {
    ClearPoints();
    AddPoint(xMinimum_, a).Set(KivEnvelopePoint::kLocked, true);
    AddPoint(xMaximum_, b).Set(KivEnvelopePoint::kLocked, true);
}

void KivEnvelope::ScaleY(double factor, bool scaleRange) {
    for (KivEnvelopePoint* point : points_) point->y *= factor;
    if (scaleRange) SetYRange(yMinimum_ * factor, yMaximum_ * factor);
}

void KivEnvelope::CopyFrom(const KivEnvelope& other) {
    if (this == &other) return;
    ClearPoints();
    points_.Reserve(other.points_.Count());
    for (const KivEnvelopePoint* point : other.points_) points_.Add(new KivEnvelopePoint(*point));
    SetXRange(other.xMinimum_, other.xMaximum_);
    SetYRange(other.yMinimum_, other.yMaximum_);
    drawingMode_ = other.drawingMode_;
    snapToGridX_ = other.snapToGridX_;
    snapToGridY_ = other.snapToGridY_;
}

void KivEnvelope::Sort() {
    int32_t low = 0;
    int32_t high = points_.Count() - 1;
    bool swapped = true;
    while (swapped && low < high) {
        swapped = false;
        for (int32_t i = low; i < high; ++i) {
            if (MustSwap(*points_[i], *points_[i + 1])) {
                std::swap(points_[i], points_[i + 1]);
                swapped = true;
            }
        }
        --high;
        for (int32_t i = high; i > low; --i) {
            if (MustSwap(*points_[i - 1], *points_[i])) {
                std::swap(points_[i - 1], points_[i]);
                swapped = true;
            }
        }
        ++low;
    }
}

void KivEnvelope::MergeEqualNeighbours() {
    for (int32_t i = points_.Count() - 1; i > 0; --i) {
        const KivEnvelopePoint& previous = *points_[i - 1];
        const KivEnvelopePoint& point = *points_[i];
        if (std::fabs(point.x - previous.x) <= kEqualX && std::fabs(point.y - previous.y) <= kEqualX) DeletePoint(i);
    }
}

void KivEnvelope::Update() {
    Sort();
    for (KivEnvelopePoint* point : points_)
        if (point->Has(KivEnvelopePoint::kSameSmoothness)) point->rightSmoothness = point->leftSmoothness;
}
