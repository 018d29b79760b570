#include <gtest/gtest.h>

#include <cmath>

#include "dynamics/gain/kiv_dynamics_gain_stage.h"
#include "dynamics/gain/kiv_effective_ratio.h"
#include "dynamics/gain/tandrel_linear_gains.h"
#include "dynamics/gain/tandrel_transfer_shape_choice.h"
#include "dynamics/parameters/tandrel_parameter_slot.h"
#include "dynamics/parameters/tandrel_parameter_table.h"
#include "envelope/kiv_envelope.h"

namespace {

double Level(double decibels) { return std::pow(10.0, decibels / 20.0); }

struct Product {
    TandrelParameterTable table{nullptr, nullptr};
    KivEnvelope drawnShape;
    KivEnvelope shape;

    Product() { drawnShape.ResetToLine(0.0, 1.0); }
    void Set(int32_t slot, double value) { table.Record(slot).values.asFloat.value = value; }
    TandrelChosenShape Choose(const TandrelShapeOptions& options, bool expander1 = false) {
        return TandrelChooseTransferShape(TandrelDescribeShapeSources(table, expander1, false), options, drawnShape,
                                          shape);
    }
};

TEST(TandrelLinearGains, TempGainIsTakenBackByTheRatio) {
    TandrelLinearGains gains = TandrelComputeLinearGains(-3.0, 2.0, 6.0, true, 4.0);
    EXPECT_NEAR(gains.input, Level(3.0), 1e-12);
    EXPECT_NEAR(gains.output, Level(0.5), 1e-12);  // 2 - 6 / 4
    EXPECT_NEAR(TandrelComputeLinearGains(0.0, 0.0, 6.0, false, 4.0).output, Level(-6.0), 1e-12);
    EXPECT_NEAR(TandrelComputeLinearGains(0.0, 0.0, -6.0, true, 4.0).output, Level(6.0), 1e-12);
    EXPECT_NEAR(TandrelComputeLinearGains(0.0, 0.0, 6.0, true, 1.0).output, Level(-6.0), 1e-12);

    Product product;
    product.Set(kTandrelTempGain, 6.0);
    product.Set(kTandrelRatio1, 3.0);
    EXPECT_NEAR(TandrelComputeLinearGains(product.table).output, Level(-2.0), 1e-12);
}

TEST(TandrelShapeSources, RecordsBecomeDescriptions) {
    Product product;
    product.table.Switches().processor2 = 1;
    product.table.Switches().gate = 1;
    product.Set(kTandrelRatio2, 0.0);
    TandrelShapeSources sources = TandrelDescribeShapeSources(product.table, false, true);
    ASSERT_EQ(sources.processorCount, 2);
    EXPECT_DOUBLE_EQ(sources.processors[0].threshold, 0.25);
    EXPECT_DOUBLE_EQ(sources.processors[0].ratio, 1.0);
    EXPECT_EQ(sources.processors[0].compressor, 1);
    EXPECT_DOUBLE_EQ(sources.processors[1].threshold, 0.0625);
    EXPECT_DOUBLE_EQ(sources.processors[1].ratio, 0.5);
    EXPECT_EQ(sources.processors[1].compressor, 0);
    ASSERT_NE(sources.Gate(), nullptr);
    EXPECT_DOUBLE_EQ(sources.gate.threshold, 0.04);
    EXPECT_DOUBLE_EQ(sources.gate.size, 6.0);
    EXPECT_DOUBLE_EQ(sources.gate.bottom, 0.0);

    product.table.Switches().processor1 = 0;
    product.Set(kTandrelRatio2, 20.0);
    sources = TandrelDescribeShapeSources(product.table, false, false);
    ASSERT_EQ(sources.processorCount, 1);
    EXPECT_EQ(sources.processors[0].ratio, kKivInfiniteRatio);
}

TEST(TandrelShapeChoice, NothingEnabledMeansGainsOnly) {
    Product product;
    product.table.Switches().processor1 = 0;
    product.drawnShape.ClearPoints();
    product.drawnShape.AddPoint(0.2, 0.7);
    TandrelChosenShape chosen = product.Choose({});
    EXPECT_EQ(chosen.kind, TandrelShapeKind::kGainOnly);
    ASSERT_EQ(product.drawnShape.GetPointCount(), 2);
    EXPECT_EQ(product.drawnShape.GetPoint(0).x, 0.0);
    EXPECT_EQ(product.drawnShape.GetPoint(1).y, 1.0);
}

TEST(TandrelShapeChoice, AutomaticShapeIsShownAsTheDrawnShape) {
    Product product;
    product.Set(kTandrelRatio1, 2.0);
    product.Set(kTandrelKneeSize1, 0.0);
    TandrelChosenShape chosen = product.Choose({});
    EXPECT_EQ(chosen.kind, TandrelShapeKind::kAutomatic);
    EXPECT_DOUBLE_EQ(chosen.lowestThreshold, 0.25);
    ASSERT_EQ(product.drawnShape.GetPointCount(), 3);
    EXPECT_NEAR(product.drawnShape.GetPoint(1).x, 0.5, 1e-15);  // root of 0.25
    // The threshold is 0.25 (-12.04 dB): at 0 dB in, half of that below, amplitude 0.5.
    EXPECT_NEAR(product.shape.GetPoint(2).y, 0.5, 1e-12);
    EXPECT_NEAR(product.drawnShape.GetPoint(2).y, std::sqrt(0.5), 1e-12);

    // A gate alone keeps the detector's default threshold.
    Product gated;
    gated.table.Switches().processor1 = 0;
    gated.table.Switches().gate = 1;
    EXPECT_DOUBLE_EQ(gated.Choose({}).lowestThreshold, kTandrelDefaultLowestThreshold);
}

TEST(TandrelShapeChoice, MaximizeLiftsTheShapeTo0dB) {
    Product product;
    product.Set(kTandrelRatio1, 2.0);
    product.Set(kTandrelKneeSize1, 0.0);
    product.Choose({false, true, false});
    ASSERT_EQ(product.shape.GetPointCount(), 3);
    EXPECT_NEAR(product.shape.GetPoint(1).y, 0.5, 1e-12);  // -12.04 dB in, -6.02 dB out
    EXPECT_NEAR(product.shape.GetPoint(2).y, 1.0, 1e-12);

    // -3 dB in, worked out from the raised breakpoints in each domain.
    const double expected[kKivShapeModeCount] = {-1.8809, -1.6940, -1.5};
    for (int32_t mode = 0; mode < kKivShapeModeCount; ++mode) {
        product.shape.ClearPoints();
        product.Choose({false, true, false});
        KivEnvelope meterShape;
        KivDynamicsGainStage stage;
        stage.Apply({1.0, 1.0, 1.0, static_cast<KivShapeMode>(mode)}, product.shape, meterShape);
        EXPECT_NEAR(20.0 * std::log10(stage.MeterGain(Level(-3.0))) - 3.0, expected[mode], 1e-3) << mode;
    }
}

TEST(TandrelShapeChoice, CustomShapeIsSquared) {
    Product product;
    product.drawnShape.ClearPoints();
    product.drawnShape.AddPoint(0.0, 0.0);
    product.drawnShape.AddPoint(0.3, 0.0);
    product.drawnShape.AddPoint(0.5, 0.25);
    product.drawnShape.AddPoint(1.0, 1.0);
    TandrelChosenShape chosen = product.Choose({true, true, true});
    EXPECT_EQ(chosen.kind, TandrelShapeKind::kCustom);
    EXPECT_DOUBLE_EQ(chosen.lowestThreshold, 0.25);  // first point above silence
    ASSERT_EQ(product.shape.GetPointCount(), 4);
    EXPECT_DOUBLE_EQ(product.shape.GetPoint(2).y, 0.0625);
    EXPECT_EQ(product.drawnShape.GetPointCount(), 4);  // left as drawn
}

}  // namespace
