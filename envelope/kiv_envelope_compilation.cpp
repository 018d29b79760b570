#include "envelope/kiv_envelope_compilation.h"

#include <algorithm>
#include <cmath>

#include "base/kiv_exception.h"
#include "envelope/kiv_envelope.h"
#include "envelope/kiv_envelope_items_sse.h"
#include "envelope/kiv_envelope_segment_type.h"

using Computer = KivEnvelopeComputer;

namespace {

constexpr double kJumpWidth = 1e-8;         // segments narrower than this are vertical jumps
constexpr double kZeroCurvature = 1e-20;    // curvature that counts as none
constexpr double kFlat = 1e-20;             // |y1 - y2| below this is a flat segment
constexpr double kEqual = 1e-50;            // values and slopes that agree
constexpr double kNoSmoothness = 1e-5;      // smoothness below this leaves the corner sharp
constexpr double kInsideMargin = 1e-10;     // the tangents must meet this far inside

bool IsZero(double curvature) { return std::fabs(curvature) < kZeroCurvature; }

// max(1, 64 k^2 rounded half up): the count of stairs or pulses.
int32_t RepeatCount(double curvature) {
    const double rounded = std::floor(64.0 * curvature * curvature + 0.5);
    return static_cast<int32_t>(std::max(1.0, std::min(rounded, 64.0)));
}

}  // namespace

KivEnvelopeCompilation::KivEnvelopeCompilation(const KivEnvelope& envelope, KivList<Item*, 16>& items,
                                               bool vectorItems)
    : envelope_(envelope), items_(items), vectorItems_(vectorItems) {}

const KivEnvelopePoint& KivEnvelopeCompilation::Point(int32_t index) const {
    return envelope_.GetPoint(std::clamp(index, 0, envelope_.GetPointCount() - 1));
}

void KivEnvelopeCompilation::Append(Item* item) { items_.Add(item); }

void KivEnvelopeCompilation::BuildSegments() {
    const int32_t count = envelope_.GetPointCount();
    // Room first, so that no item is ever created without a place to go.
    items_.Reserve(count + 1);
    if (count == 0) {
        const double middle = (envelope_.GetYMinimum() + envelope_.GetYMaximum()) * 0.5;
        Append(new Computer::ItemConstant(Computer::kEndless, middle));
        return;
    }
    Append(new Computer::ItemConstant(count == 1 ? Computer::kEndless : Point(0).x, Point(0).y));
    if (count == 1) return;
    for (int32_t i = 0; i + 1 < count; ++i) AddSegment(i);
    Append(new Computer::ItemConstant(Computer::kEndless, Point(count - 1).y));
}

void KivEnvelopeCompilation::AddSegment(int32_t first) {
    const KivEnvelopePoint& p1 = Point(first);
    const KivEnvelopePoint& p2 = Point(first + 1);
    if (std::fabs(p2.x - p1.x) <= kJumpWidth) return Append(new Computer::ItemConstant(p2.x, p1.y));
    switch (p1.segmentType) {
        case kKivSegmentStairs:
        case kKivSegmentPulses: return Append(MakeRepeatedSegment(p1, p2));
        case kKivSegmentSmoothByItems:
        case kKivSegmentSmoothByPoints:
            smoothSegments_.Add({first, p1.segmentType});
            // A straight placeholder: its slopes serve a neighbouring smooth segment
            // that is filled in before it.
            return Append(new Computer::ItemLinear(p1.x, p1.y, p2.x, p2.y));
        default: break;
    }
    if (!KivEnvelopeSegment::IsValid(p1.segmentType)) throw KivException("Invalid control point type.");
    const bool usesHorizontal = p1.segmentType == kKivSegmentBezier;
    if (IsZero(p1.curvature) && (!usesHorizontal || IsZero(p1.horizontalCurvature)))
        return Append(new Computer::ItemLinear(p1.x, p1.y, p2.x, p2.y));
    if (std::fabs(p1.y - p2.y) < kFlat) return Append(new Computer::ItemConstant(p2.x, p1.y));
    Append(MakeShapedSegment(p1, p2));
}

KivEnvelopeCompilation::Item* KivEnvelopeCompilation::MakeShapedSegment(const KivEnvelopePoint& p1,
                                                                       const KivEnvelopePoint& p2) {
    const double k = p1.curvature;
    switch (p1.segmentType) {
        case kKivSegmentQuadratic:
            if (vectorItems_) return new Computer::ItemQuadraticSSE(p1.x, p1.y, p2.x, p2.y, k);
            return new Computer::ItemQuadratic(p1.x, p1.y, p2.x, p2.y, k);
        case kKivSegmentFourthOrder:
            if (vectorItems_) return new Computer::ItemFourthOrderSSE(p1.x, p1.y, p2.x, p2.y, k);
            return new Computer::ItemFourthOrder(p1.x, p1.y, p2.x, p2.y, k);
        case kKivSegmentExponential: return new Computer::ItemExponencial(p1.x, p1.y, p2.x, p2.y, k);
        case kKivSegmentBezier: {
            const double cx = p1.x + (p2.x - p1.x) * (p1.horizontalCurvature + 1.0) * 0.5;
            const double cy = p1.y + (p2.y - p1.y) * (k + 1.0) * 0.5;
            if (vectorItems_) return new Computer::ItemBezierSSE(p1.x, p1.y, cx, cy, p2.x, p2.y);
            return new Computer::ItemBezier(p1.x, p1.y, cx, cy, p2.x, p2.y);
        }
        default: return new Computer::ItemDouble(p1.x, p1.y, p2.x, p2.y, k);
    }
}

KivEnvelopeCompilation::Item* KivEnvelopeCompilation::MakeRepeatedSegment(const KivEnvelopePoint& p1,
                                                                         const KivEnvelopePoint& p2) {
    const int32_t count = RepeatCount(p1.curvature);
    if (p1.segmentType == kKivSegmentPulses) {
        const bool startHigh = p1.curvature > kZeroCurvature;
        return new Computer::ItemPulses(p1.x, p2.x, startHigh ? p2.y : p1.y, startHigh ? p1.y : p2.y, count);
    }
    if (count < 2) return new Computer::ItemConstant(p2.x, p1.y);
    return new Computer::ItemStairs(p1.x, p1.y, p2.x, p2.y, count);
}

// The slope at point `at` from its neighbours: the mean of both sides' slopes, or 0 when
// a side has no width or the point is not above the lower neighbour.
double KivEnvelopeCompilation::SlopeAtPoint(int32_t before, int32_t at, int32_t after) const {
    const KivEnvelopePoint& a = Point(before);
    const KivEnvelopePoint& p = Point(at);
    const KivEnvelopePoint& b = Point(after);
    if (std::fabs(p.x - a.x) <= kEqual || std::fabs(b.x - p.x) <= kEqual) return 0.0;
    if (!(p.y - std::min(a.y, b.y) > kFlat)) return 0.0;
    return ((p.y - a.y) / (p.x - a.x) + (b.y - p.y) / (b.x - p.x)) * 0.5;
}

void KivEnvelopeCompilation::ConnectSmoothly() {
    for (const SmoothSegment& segment : smoothSegments_) {
        const int32_t index = SegmentItem(segment.point);
        const KivEnvelopePoint& p1 = Point(segment.point);
        const KivEnvelopePoint& p2 = Point(segment.point + 1);
        double m1, m2;
        if (segment.type == kKivSegmentSmoothByItems) {
            m1 = items_[index - 1]->SlopeRight(p1.x);
            m2 = items_[index + 1]->SlopeLeft(p2.x);
        } else {
            m1 = SlopeAtPoint(segment.point - 1, segment.point, segment.point + 1);
            m2 = SlopeAtPoint(segment.point, segment.point + 1, segment.point + 2);
        }
        Item* cubic = vectorItems_ ? new Computer::ItemCubicSSE(p1.x, p1.y, m1, p2.x, p2.y, m2)
                                   : new Computer::ItemCubic(p1.x, p1.y, m1, p2.x, p2.y, m2);
        delete items_[index];
        items_[index] = cubic;
    }
}

double KivEnvelopeCompilation::RoundCorners() {
    const int32_t count = envelope_.GetPointCount();
    double zeroStart = Computer::kEndless;
    bool trailingZeros = true;
    for (int32_t i = count - 1; i >= 0; --i) {
        trailingZeros = trailingZeros && Point(i).y == 0.0;
        if (trailingZeros) zeroStart = Point(i).x;
        if (i > 0 && i + 1 < count) RoundCorner(i);
    }
    return zeroStart;
}

void KivEnvelopeCompilation::RoundCorner(int32_t index) {
    const KivEnvelopePoint& point = Point(index);
    const double toPrevious = point.x - Point(index - 1).x;
    const double toNext = Point(index + 1).x - point.x;
    if (!(toPrevious > kJumpWidth && toNext > kJumpWidth)) return;
    const double left = point.leftSmoothness;
    const double right = point.EffectiveRightSmoothness();
    if (std::fabs(left) < kNoSmoothness && std::fabs(right) < kNoSmoothness) return;

    double halfLeft = toPrevious * 0.5;
    double halfRight = toNext * 0.5;
    if (point.Has(KivEnvelopePoint::kSymmetricWidth)) halfLeft = halfRight = std::min(halfLeft, halfRight);
    const double xs = point.x - left * halfLeft;
    const double xe = point.x + right * halfRight;
    if (!(xe - xs > kEqual)) return;

    Item& before = *items_[SegmentItem(index - 1)];
    Item& after = *items_[SegmentItem(index)];
    const double ys = before.Value(xs);
    const double m1 = before.SlopeRight(xs);
    const double ye = after.Value(xe);
    const double m2 = after.SlopeLeft(xe);
    if (std::fabs(m1 - m2) <= kEqual) return;

    items_.Reserve(items_.Count() + 1);
    Item* corner = MakeCorner(point, xs, ys, m1, xe, ye, m2);
    before.SetEndX(xs);
    items_.Insert(SegmentItem(index), corner);
}

KivEnvelopeCompilation::Item* KivEnvelopeCompilation::MakeCorner(const KivEnvelopePoint& point, double xs, double ys,
                                                                double m1, double xe, double ye, double m2) {
    if (point.smoothingKind == KivEnvelopePoint::kBezierCorner) {
        // Where the two tangents meet, measured from xs.
        const double t = std::fabs(m1 - m2) < kEqual ? Computer::kEndless : ((ys - ye) - (xs - xe) * m2) / (m2 - m1);
        if (t >= kInsideMargin && t <= (xe - xs) - kInsideMargin) {
            const double cx = xs + t;
            const double cy = ys + t * m1;
            if (vectorItems_) return new Computer::ItemBezierSSE(xs, ys, cx, cy, xe, ye);
            return new Computer::ItemBezier(xs, ys, cx, cy, xe, ye);
        }
    }
    if (vectorItems_) return new Computer::ItemCubicSSE(xs, ys, m1, xe, ye, m2);
    return new Computer::ItemCubic(xs, ys, m1, xe, ye, m2);
}

void KivEnvelopeComputer::Compile(const KivEnvelope& envelope) {
    DestroyItems();
    yMinimum_ = envelope.GetYMinimum();
    yMaximum_ = envelope.GetYMaximum();
    zeroStart_ = kEndless;
    try {
        KivEnvelopeCompilation compilation(envelope, items_, vectorItems_);
        compilation.BuildSegments();
        compilation.ConnectSmoothly();
        zeroStart_ = compilation.RoundCorners();
    } catch (...) {
        // Evaluation must keep working whatever the envelope held.
        DestroyItems();
        items_.Add(new ItemConstant(kEndless, (yMinimum_ + yMaximum_) * 0.5));
        throw;
    }
}
