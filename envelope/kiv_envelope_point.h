#pragma once
#include <cstddef>
#include <cstdint>

// One point of an envelope, together with the shape of the segment that starts at it and
// the rounding of its corner. Points are separate heap records owned by their envelope, so
// that the editor can hold on to a point while the list around it is reordered.
struct KivEnvelopePoint {
    enum Flag : uint8_t {
        kLocked = 0x01,          // cannot be moved or changed
        kSortsFirst = 0x02,      // with kLocked: goes before a point of equal x
        kSameSmoothness = 0x04,  // the right smoothness follows the left one ("Lock sides")
        kSymmetricWidth = 0x08,  // the rounding area is set by the smaller side ("Proportional")
        kTransient = 0x40        // never kept: cleared whenever a point is created
    };
    static constexpr uint8_t kNewPointFlags = kSameSmoothness | kSymmetricWidth;

    // Smoothing kinds.
    static constexpr int32_t kBezierCorner = 0;
    static constexpr int32_t kCubicCorner = 1;  // "Faster smoothing"

    double x = 0.0;
    double y = 0.0;
    uint8_t flags = kNewPointFlags;
    double horizontalCurvature = 0.0;  // -1 .. 1
    double curvature = 0.0;            // -1 .. 1
    double leftSmoothness = 0.0;       // 0 .. 1
    double rightSmoothness = 0.0;      // follows leftSmoothness while kSameSmoothness is set
    int32_t segmentType = 1;           // KivEnvelopeSegmentType
    int32_t smoothingKind = kBezierCorner;

    bool Has(Flag flag) const noexcept { return (flags & flag) != 0; }
    void Set(Flag flag, bool on) noexcept { flags = on ? (flags | flag) : (flags & ~flag); }
    bool IsLocked() const noexcept { return Has(kLocked); }
    // The smoothness that applies to the right of the point.
    double EffectiveRightSmoothness() const noexcept { return Has(kSameSmoothness) ? leftSmoothness : rightSmoothness; }

    // Points live in the module's memory like every other framework allocation.
    static void* operator new(size_t size);
    static void operator delete(void* block) noexcept;
};
