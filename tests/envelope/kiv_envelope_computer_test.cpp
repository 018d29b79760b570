#include "envelope/kiv_envelope_computer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <vector>

#include "base/kiv_exception.h"
#include "envelope/kiv_envelope.h"

// Expected values below were worked out independently (python3, directly from the
// formulas, the Bézier parameter by bisection, Hermite cubics from their basis functions).
namespace {

constexpr double kTolerance = 1e-12;

struct PointDescription {
    double x, y;
    int32_t type = 1;
    double curvature = 0.0;
};

KivEnvelope Envelope(std::initializer_list<PointDescription> points) {
    KivEnvelope envelope;
    for (const PointDescription& described : points) {
        KivEnvelopePoint& point = envelope.AddPoint(described.x, described.y);
        point.segmentType = described.type;
        point.curvature = described.curvature;
    }
    return envelope;
}

// One shaped segment from (0.2, 0.1) to (0.8, 0.9), evaluated at kXs.
const double kXs[] = {0.2, 0.35, 0.5, 0.65, 0.79};

void ExpectSegment(KivEnvelope envelope, const std::vector<double>& expected) {
    for (bool vector : {false, true}) {
        KivEnvelopeComputer computer;
        computer.SetVectorItems(vector);
        computer.Compile(envelope);
        ASSERT_EQ(computer.GetItemCount(), 3);
        for (size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(computer.Value(kXs[i]), expected[i], kTolerance) << i;
        EXPECT_DOUBLE_EQ(computer.Value(0.8), 0.9);
        EXPECT_DOUBLE_EQ(computer.Value(0.0), 0.1);
    }
}

KivEnvelope Segment(int32_t type, double curvature, double horizontal = 0.0) {
    KivEnvelope envelope = Envelope({{0.2, 0.1, type, curvature}, {0.8, 0.9}});
    envelope.GetPoint(0).horizontalCurvature = horizontal;
    return envelope;
}

}  // namespace

TEST(EnvelopeComputerShapes, LineCompilesToConstantLinearConstant) {
    KivEnvelopeComputer computer;
    computer.Compile(Envelope({{0, 0}, {1, 1}}));
    EXPECT_EQ(computer.GetItemCount(), 3);
    EXPECT_EQ(computer.Value(2.0), 1.0);
    EXPECT_EQ(computer.Value(-1.0), 0.0);
    EXPECT_DOUBLE_EQ(computer.Value(0.25), 0.25);
    EXPECT_EQ(computer.GetItem(1).SlopeLeft(0.5), 1.0);
}

TEST(EnvelopeComputerShapes, EveryCurvedTypeFollowsItsFormula) {
    ExpectSegment(Segment(0, 0.5), {0.1, 0.225, 0.4, 0.625, 0.8801111111111112});
    ExpectSegment(Segment(0, -0.5), {0.1, 0.375, 0.6, 0.775, 0.8932222222222224});
    ExpectSegment(Segment(1, 0.5), {0.1, 0.20156249999999998, 0.325, 0.5265624999999999, 0.8673259567901234});
    ExpectSegment(Segment(1, -0.5), {0.1, 0.47343749999999996, 0.675, 0.7984375, 0.8933333024691358});
    ExpectSegment(Segment(2, 0.5), {0.1, 0.10035788278193847, 0.1081323138922536, 0.1554990333972116,
                                    0.45447344203380247});
    ExpectSegment(Segment(2, -0.5), {0.1, 0.8978816082984576, 0.899867692496487, 0.8999968637481991,
                                     0.8999999999893563});
    ExpectSegment(Segment(3, 0.5, 0.25), {0.1, 0.33303027798233586, 0.5492422502470642, 0.7422205101855956,
                                          0.8909813393952932});
    ExpectSegment(Segment(3, -0.5, -0.25), {0.1, 0.25777948981440413, 0.45075774975293564, 0.6669697220176639,
                                            0.8840285971671185});
    ExpectSegment(Segment(3, 0.0, 0.6), {0.1, 0.23333333333333328, 0.3892064140206265, 0.5854801408612433,
                                         0.8685242696666944});
    ExpectSegment(Segment(4, 0.5), {0.1, 0.2125, 0.5, 0.7875000000000001, 0.8933330864197531});
    ExpectSegment(Segment(4, -0.5), {0.1, 0.38750000000000007, 0.5, 0.6125, 0.8679706172839506});
}

TEST(EnvelopeComputerShapes, ZeroCurvatureIsLinearAndFlatSegmentsAreConstant) {
    for (int32_t type = 0; type <= 4; ++type) {
        KivEnvelopeComputer computer;
        computer.Compile(Segment(type, 0.0));
        EXPECT_DOUBLE_EQ(computer.Value(0.5), 0.5) << type;
        EXPECT_NEAR(computer.GetItem(1).SlopeRight(0.5), 0.8 / 0.6, 1e-12) << type;
        computer.Compile(Envelope({{0.2, 0.3, type, 0.7}, {0.8, 0.3}}));
        EXPECT_EQ(computer.Value(0.5), 0.3) << type;
    }
}

TEST(EnvelopeComputerShapes, StairsAndPulses) {
    KivEnvelopeComputer computer;
    computer.Compile(Envelope({{0, 0, 7, 0.5}, {1, 1}}));  // 64 * 0.25 = 16 stairs
    for (double x : {0.0, 0.03, 0.07, 0.5, 0.99, 0.9999}) EXPECT_EQ(computer.Value(x), std::trunc(x * 16) / 16) << x;
    EXPECT_EQ(computer.Value(1.0), 1.0);
    computer.Compile(Envelope({{0, 0.2, 7, 0.1}, {1, 1}}));  // 0.64 rounds to 1 stair: constant
    EXPECT_EQ(computer.Value(0.9), 0.2);

    computer.Compile(Envelope({{0, 0.2, 8, 0.25}, {1, 0.6}}));  // 4 pulses, starting high
    const double expected[] = {0.6, 0.2, 0.6, 0.2, 0.6, 0.2, 0.6, 0.2};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(computer.Value((i + 0.5) / 8), expected[i]) << i;
    computer.Compile(Envelope({{0, 0.2, 8, -0.25}, {1, 0.6}}));  // negative curvature starts low
    EXPECT_EQ(computer.Value(0.05), 0.2);
    EXPECT_EQ(computer.Value(0.2), 0.6);
}

TEST(EnvelopeComputerShapes, VerticalJumpAndDegenerateEnvelopes) {
    KivEnvelopeComputer computer;
    computer.Compile(Envelope({{0, 0}, {0.5, 0}, {0.5, 1}, {1, 1}}));
    EXPECT_EQ(computer.Value(0.4999), 0.0);
    EXPECT_EQ(computer.Value(0.5), 1.0);
    EXPECT_EQ(computer.Value(0.25), 0.0);

    KivEnvelope empty;
    empty.SetYRange(-2.0, 4.0);
    computer.Compile(empty);
    EXPECT_EQ(computer.GetItemCount(), 1);
    EXPECT_EQ(computer.Value(123.0), 1.0);
    computer.Compile(Envelope({{0.3, 0.7}}));
    EXPECT_EQ(computer.Value(-5.0), 0.7);
    EXPECT_EQ(computer.Value(5.0), 0.7);
}

TEST(EnvelopeComputerShapes, InvalidTypeThrowsAndLeavesAUsableConstant) {
    KivEnvelopeComputer computer;
    try {
        computer.Compile(Envelope({{0, 0, 9, 0.5}, {1, 1}}));
        FAIL() << "no exception";
    } catch (const KivException& exception) {
        EXPECT_EQ(exception.GetMessage().ToUTF8(), "Invalid control point type.");
    }
    EXPECT_EQ(computer.GetItemCount(), 1);
    EXPECT_EQ(computer.Value(0.3), 0.5);
}

TEST(EnvelopeComputerConnections, SmoothSegmentsTakeSlopesFromItemsOrPoints) {
    KivEnvelopeComputer computer;
    computer.Compile(Envelope({{0, 0}, {0.3, 0.3, 5}, {0.7, 0.5}, {1, 1}}));
    const double byItems[] = {0.35625, 0.3666666666666667, 0.39375};
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(computer.Value(0.4 + 0.1 * i), byItems[i], kTolerance);

    computer.Compile(Envelope({{0, 0}, {0.3, 0.3, 6}, {0.7, 0.5}, {1, 1}}));
    const double byPoints[] = {0.353125, 0.38333333333333336, 0.421875};
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(computer.Value(0.4 + 0.1 * i), byPoints[i], kTolerance);

    // A point not above its lower neighbour gets slope 0: the cubic arrives flat.
    computer.Compile(Envelope({{0, 0}, {0.3, 0.3, 6}, {0.7, 0.2}, {1, 1}}));
    EXPECT_NEAR(computer.GetItem(2).SlopeLeft(0.7), 0.0, 1e-5);
    EXPECT_NEAR(computer.GetItem(2).SlopeRight(0.3), ((0.3 / 0.3) + (-0.1 / 0.4)) / 2, 1e-5);
}

namespace {

KivEnvelope Corner(uint8_t flags, int32_t smoothingKind) {
    KivEnvelope envelope = Envelope({{0, 0}, {0.4, 0.4}, {1, 0.7}});
    KivEnvelopePoint& corner = envelope.GetPoint(1);
    corner.flags = flags;
    corner.leftSmoothness = corner.rightSmoothness = 0.25;
    corner.smoothingKind = smoothingKind;
    return envelope;
}

}  // namespace

TEST(EnvelopeComputerCorners, SymmetricCornerUsesAQuarterOfTheSmallerHalfDistance) {
    KivEnvelopeComputer computer;
    computer.Compile(Corner(KivEnvelopePoint::kNewPointFlags, KivEnvelopePoint::kBezierCorner));
    ASSERT_EQ(computer.GetItemCount(), 5);
    EXPECT_DOUBLE_EQ(computer.GetItem(1).GetEndX(), 0.35);  // 0.4 - 0.25 * 0.2
    EXPECT_DOUBLE_EQ(computer.GetItem(2).GetEndX(), 0.45);  // 0.4 + 0.25 * 0.2
    EXPECT_DOUBLE_EQ(computer.Value(0.34), 0.34);
    EXPECT_NEAR(computer.Value(0.4), 0.39375, kTolerance);  // Bézier through the corner point
    EXPECT_NEAR(computer.Value(0.46), 0.43, kTolerance);
    // The rounding joins both lines without a kink.
    EXPECT_NEAR(computer.GetItem(2).SlopeRight(0.35), 1.0, 1e-5);
    EXPECT_NEAR(computer.GetItem(2).SlopeLeft(0.45), 0.5, 1e-5);
}

TEST(EnvelopeComputerCorners, WidthKindAndSharpCorners) {
    KivEnvelopeComputer computer;
    computer.Compile(Corner(KivEnvelopePoint::kSameSmoothness, KivEnvelopePoint::kBezierCorner));
    EXPECT_DOUBLE_EQ(computer.GetItem(2).GetEndX(), 0.475);  // own half-distance on the right

    computer.Compile(Corner(KivEnvelopePoint::kNewPointFlags, KivEnvelopePoint::kCubicCorner));
    EXPECT_NEAR(computer.Value(0.4), 0.39375000000000004, kTolerance);
    EXPECT_NEAR(computer.Value(0.37), 0.36900000000000005, kTolerance);

    KivEnvelope sharp = Corner(KivEnvelopePoint::kNewPointFlags, KivEnvelopePoint::kBezierCorner);
    sharp.GetPoint(1).leftSmoothness = 0.0;
    computer.Compile(sharp);
    EXPECT_EQ(computer.GetItemCount(), 4);
    EXPECT_DOUBLE_EQ(computer.Value(0.4), 0.4);
}

TEST(EnvelopeComputerCorners, TrailingZeroRegion) {
    KivEnvelopeComputer computer;
    computer.Compile(Envelope({{0, 1}, {0.5, 0}, {0.8, 0}, {1, 0}}));
    EXPECT_EQ(computer.GetZeroStart(), 0.5);
    computer.Compile(Envelope({{0, 0}, {1, 0.1}}));
    EXPECT_EQ(computer.GetZeroStart(), KivEnvelopeComputer::kEndless);
}
