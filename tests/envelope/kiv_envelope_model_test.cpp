// The point list, the editor's point operations and the graph's host face.
#include <gtest/gtest.h>

#include <vector>

#include "envelope/kiv_envelope.h"
#include "envelope/kiv_envelope_editing.h"
#include "envelope/kiv_envelope_graph.h"
#include "envelope/kiv_envelope_segment_type.h"
#include "parameters/kiv_parameter_envelope.h"
#include "parameters/kiv_random_generator.h"
#include "tests/support/kiv_test_print.h"

namespace {

std::vector<double> Xs(const KivEnvelope& envelope) {
    std::vector<double> xs;
    for (int32_t i = 0; i < envelope.GetPointCount(); ++i) xs.push_back(envelope.GetPoint(i).x);
    return xs;
}

}  // namespace

TEST(EnvelopePoints, NewPointsInsertDeleteResetScaleCopy) {
    KivEnvelope envelope;
    KivEnvelopePoint& first = envelope.AddPoint(0.5, 0.5);
    EXPECT_EQ(first.flags, 12);
    EXPECT_EQ(first.segmentType, 1);
    envelope.AddPoint(0.1, 0.2);
    envelope.Sort();
    EXPECT_EQ(envelope.InsertPoint(0.3, 0.4), 1);
    EXPECT_EQ(Xs(envelope), (std::vector<double>{0.1, 0.3, 0.5}));
    EXPECT_EQ(envelope.InsertPoint(0.2, 0.0), 1);
    envelope.DeletePoint(0);
    envelope.DeletePoint(17);
    EXPECT_EQ(Xs(envelope), (std::vector<double>{0.2, 0.3, 0.5}));

    envelope.SetXRange(-1.0, 2.0);
    envelope.ScaleY(2.0, true);
    EXPECT_EQ(envelope.GetPoint(1).y, 0.8);
    EXPECT_EQ(envelope.GetYMaximum(), 2.0);
    KivEnvelope copy(envelope);
    EXPECT_EQ(Xs(copy), Xs(envelope));
    EXPECT_NE(&copy.GetPoint(0), &envelope.GetPoint(0));
    EXPECT_EQ(copy.GetXMinimum(), -1.0);

    envelope.ResetToLine(0.25, 0.75);
    ASSERT_EQ(envelope.GetPointCount(), 2);
    EXPECT_EQ(envelope.GetPoint(0).x, -1.0);
    EXPECT_EQ(envelope.GetPoint(1).y, 0.75);
    EXPECT_TRUE(envelope.GetPoint(0).IsLocked() && envelope.GetPoint(1).IsLocked());
    envelope.ClearPoints();
    EXPECT_EQ(envelope.GetPointCount(), 0);
}

TEST(EnvelopePoints, SortKeepsEqualXInPlaceUnlessLockedAndMarked) {
    KivEnvelope envelope;
    envelope.AddPoint(0.9, 0.0);
    envelope.AddPoint(0.5, 1.0);
    envelope.AddPoint(0.5, 2.0).flags = KivEnvelopePoint::kLocked;  // locked alone does not move first
    envelope.AddPoint(0.5 + 1e-60, 3.0).flags = KivEnvelopePoint::kLocked | KivEnvelopePoint::kSortsFirst;
    envelope.AddPoint(0.1, 4.0);
    envelope.Sort();
    std::vector<double> ys;
    for (int32_t i = 0; i < envelope.GetPointCount(); ++i) ys.push_back(envelope.GetPoint(i).y);
    EXPECT_EQ(ys, (std::vector<double>{4.0, 3.0, 1.0, 2.0, 0.0}));

    envelope.GetPoint(3).y = 1.0;  // equal to its predecessor now
    envelope.AddPoint(0.9, 0.0);
    envelope.MergeEqualNeighbours();
    EXPECT_EQ(Xs(envelope), (std::vector<double>{0.1, 0.5, 0.5, 0.9}));
}

TEST(EnvelopeEditing, OperationsSkipLockedPoints) {
    KivEnvelope envelope;
    for (double x : {0.0, 0.1, 0.7, 0.8, 1.0}) envelope.AddPoint(x, x);
    envelope.GetPoint(3).flags |= KivEnvelopePoint::kLocked;
    KivEnvelopeEditing::SetSmoothness(envelope, 0.5);
    KivEnvelopeEditing::SetCurvature(envelope, 1.5, {1, 2});
    KivEnvelopeEditing::SetSegmentType(envelope, 7);
    KivEnvelopeEditing::SetSegmentType(envelope, 9);  // not a type: ignored
    EXPECT_EQ(envelope.GetPoint(2).rightSmoothness, 0.5);
    EXPECT_EQ(envelope.GetPoint(3).leftSmoothness, 0.0);
    EXPECT_EQ(envelope.GetPoint(2).curvature, 1.0);
    EXPECT_EQ(envelope.GetPoint(0).curvature, 0.0);
    EXPECT_EQ(envelope.GetPoint(4).segmentType, 7);
    EXPECT_EQ(envelope.GetPoint(3).segmentType, 1);

    KivEnvelopeEditing::SetLockSides(envelope, false);
    KivEnvelopeEditing::SetProportional(envelope, false);
    KivEnvelopeEditing::SetFasterSmoothing(envelope, true);
    EXPECT_EQ(envelope.GetPoint(0).flags, 0);
    EXPECT_EQ(envelope.GetPoint(0).smoothingKind, 1);
    KivEnvelopeEditing::ClearSmoothing(envelope);
    KivEnvelopeEditing::ClearCurvature(envelope);
    EXPECT_EQ(envelope.GetPoint(2).leftSmoothness + envelope.GetPoint(2).curvature, 0.0);

    // Distribute: equal spacing between the ends; the locked point stays at 0.8.
    KivEnvelopeEditing::Distribute(envelope);
    EXPECT_EQ(Xs(envelope), (std::vector<double>{0.0, 0.25, 0.5, 0.8, 1.0}));
    KivEnvelopeEditing::SetLocked(envelope, false);
    EXPECT_FALSE(envelope.GetPoint(3).IsLocked());
}

TEST(EnvelopeEditing, SnapAndRandomChangeStayOnGridAndInRange) {
    EXPECT_DOUBLE_EQ(KivEnvelopeEditing::SnapToGrid(0.26, 0.0, 1.0), 0.25);
    EXPECT_DOUBLE_EQ(KivEnvelopeEditing::SnapToGrid(-0.93, -1.0, 1.0), -0.9);
    KivEnvelope envelope;
    envelope.AddPoint(0.33, 0.61);
    envelope.AddPoint(0.12, 0.99);
    envelope.SetSnapToGridY(1);
    KivEnvelopeEditing::Snap(envelope);
    EXPECT_EQ(envelope.GetPoint(0).x, 0.33);  // only y snaps
    EXPECT_DOUBLE_EQ(envelope.GetPoint(0).y, 0.6);
    envelope.SetSnapToGridX(1);
    KivEnvelopeEditing::Snap(envelope);
    EXPECT_DOUBLE_EQ(envelope.GetPoint(0).x, 0.1);  // snapped and sorted
    KivRandomGenerator::SetSeed(1);
    for (int i = 0; i < 50; ++i) KivEnvelopeEditing::RandomizeY(envelope);
    for (int32_t i = 0; i < 2; ++i) EXPECT_LE(envelope.GetPoint(i).y, 1.0);
    EXPECT_NE(envelope.GetPoint(0).y, 1.0);
    EXPECT_EQ(KivEnvelopeSegment::Description(7).ToUTF8(), "Stairs-like image, curvature controls number of stairs.");
}

namespace {

struct CountingHandler : KivCompoundChangeHandler {
    int changes = 0;
    void OnCompoundChanged() override { ++changes; }
};

}  // namespace

TEST(EnvelopeGraph, HostFaceReadsAndWritesTheFirstFivePoints) {
    KivEnvelopeGraph graph;
    KivEnvelope& envelope = graph.GetEnvelope();
    envelope.SetXRange(-2.0, 2.0);
    envelope.ResetToLine(0.0, 1.0);
    envelope.InsertPoint(0.0, 0.25);
    envelope.InsertPoint(1.0, 0.5);
    KivParameterEnvelope face(nullptr, nullptr, graph, nullptr, "", "Shape", "graph");
    EXPECT_EQ(face.GetParameterName(5).ToUTF8(), "Point 2 Y");
    EXPECT_EQ(face.GetParameterName(19).ToUTF8(), "Point 5 smoothness");

    EXPECT_EQ(face.GetParameter(4), 0.5);   // point 2 x = 0 on -2..2
    EXPECT_EQ(face.GetParameter(5), 0.25);
    EXPECT_EQ(face.GetParameter(6), 0.5);   // curvature 0
    EXPECT_EQ(face.GetParameter(16), 0.0);  // no fifth point
    face.SetParameter(4, 1.0, true);        // x held below the next point
    EXPECT_EQ(envelope.GetPoint(1).x, 1.0);
    face.SetParameter(6, 0.75, true);
    EXPECT_EQ(envelope.GetPoint(1).curvature, 0.5);
    face.SetParameter(11, 0.4, true);
    EXPECT_EQ(envelope.GetPoint(2).rightSmoothness, 0.4);
    face.SetParameter(1, 0.9, true);  // point 1 is locked
    EXPECT_EQ(envelope.GetPoint(0).y, 0.0);

    CountingHandler handler;
    graph.AddChangeHandler(handler);
    graph.AddChangeHandler(handler);
    graph.NotifyChanged();
    graph.RemoveChangeHandler(handler);
    graph.NotifyChanged();
    EXPECT_EQ(handler.changes, 1);
}
