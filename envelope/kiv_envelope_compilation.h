#pragma once
#include <cstdint>

#include "base/kiv_list.h"
#include "envelope/kiv_envelope_computer.h"

class KivEnvelope;
struct KivEnvelopePoint;

// Builds a computer's items from an envelope's points in three passes: one item per
// segment between constant ends, then the smooth-connection segments (which need their
// neighbours), then the rounded corners, from the last point to the first so that the
// item of every point not yet visited keeps its index.
class KivEnvelopeCompilation {
public:
    using Item = KivEnvelopeComputer::Item;

    KivEnvelopeCompilation(const KivEnvelope& envelope, KivList<Item*, 16>& items, bool vectorItems);

    void BuildSegments();
    void ConnectSmoothly();
    // Returns the start of the trailing zero region.
    double RoundCorners();

private:
    // A type 5 or 6 segment, filled in once all its neighbours exist.
    struct SmoothSegment {
        int32_t point;  // index of the segment's first point
        int32_t type;
    };

    const KivEnvelopePoint& Point(int32_t index) const;
    void Append(Item* item);
    void AddSegment(int32_t first);
    Item* MakeShapedSegment(const KivEnvelopePoint& p1, const KivEnvelopePoint& p2);
    Item* MakeRepeatedSegment(const KivEnvelopePoint& p1, const KivEnvelopePoint& p2);
    double SlopeAtPoint(int32_t before, int32_t at, int32_t after) const;
    void RoundCorner(int32_t index);
    Item* MakeCorner(const KivEnvelopePoint& point, double xs, double ys, double m1, double xe, double ye, double m2);

    // Items of segment i sit at index i + 1: item 0 is the constant before the first point.
    static int32_t SegmentItem(int32_t firstPoint) { return firstPoint + 1; }

    const KivEnvelope& envelope_;
    KivList<Item*, 16>& items_;
    bool vectorItems_;
    KivList<SmoothSegment, 4> smoothSegments_;
};
