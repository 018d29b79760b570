#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "dynamics/gain/kiv_breakpoint_rows.h"
#include "dynamics/gain/kiv_effective_ratio.h"

namespace {

using Breakpoints = std::vector<std::pair<double, double>>;  // (input dB, output dB)

KivDynamicsProcessorDescription Compressor(double thresholdDecibels, double ratio, double range = 96.0) {
    return {std::pow(10.0, thresholdDecibels / 20.0), ratio, 0.0, range, 1};
}

KivDynamicsProcessorDescription Expander(double thresholdDecibels, double ratio, double range = 96.0) {
    return {std::pow(10.0, thresholdDecibels / 20.0), ratio, 0.0, range, 0};
}

Breakpoints Build(std::initializer_list<KivDynamicsProcessorDescription> processors,
                  const KivDynamicsGateDescription* gate = nullptr) {
    KivBreakpointRows rows;
    KivBuildBreakpointRows(processors.begin(), static_cast<int32_t>(processors.size()), gate, 0.0, rows);
    Breakpoints breakpoints;
    for (const KivBreakpointRow& row : rows) breakpoints.emplace_back(row.x, row.y);
    return breakpoints;
}

void ExpectBreakpoints(const Breakpoints& actual, const Breakpoints& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(actual[i].first, expected[i].first, 1e-9) << "row " << i;
        EXPECT_NEAR(actual[i].second, expected[i].second, 1e-9) << "row " << i;
    }
}

TEST(KivBreakpointRows, Compressors) {
    ExpectBreakpoints(Build({Compressor(-12, 2)}), {{-140, -140}, {-12, -12}, {0, -6}});
    // The slope returns to unity 6 dB above the threshold.
    ExpectBreakpoints(Build({Compressor(-12, 2, 6)}), {{-140, -140}, {-12, -12}, {-6, -9}, {0, -3}});
    // Code 20 limits, code -1 expands upwards with slope 3.
    ExpectBreakpoints(Build({Compressor(-12, KivEffectiveRatio(20))}), {{-140, -140}, {-12, -12}, {0, -12}});
    ExpectBreakpoints(Build({Compressor(-12, KivEffectiveRatio(-1))}), {{-140, -140}, {-12, -12}, {0, 24}});
    // Two stages in series of thresholds, given out of order.
    ExpectBreakpoints(Build({Compressor(-10, 4), Compressor(-20, 2)}),
                      {{-140, -140}, {-20, -20}, {-10, -15}, {0, -12.5}});
}

TEST(KivBreakpointRows, EqualThresholdsKeepTheProcessorOrder) {
    // Processor 1's range ends inside processor 2's segment only when processor 1 comes
    // first; the other order would restore its slope at -14 dB.
    ExpectBreakpoints(Build({Compressor(-20, 2, 6), Compressor(-20, 4)}), {{-140, -140}, {-20, -20}, {-20, -20}, {0, -15}});
    ExpectBreakpoints(Build({Compressor(-20, 4), Compressor(-20, 2, 6)}),
                      {{-140, -140}, {-20, -20}, {-20, -20}, {-14, -17}, {0, -13.5}});
}

TEST(KivBreakpointRows, Expanders) {
    // Unity below the threshold: expansion reaches silence at -30 - 110 / 2 dB.
    ExpectBreakpoints(Build({Expander(-30, 2)}), {{-140, -140}, {-85, -140}, {-30, -30}, {0, 0}});
    // A short range starts the expansion at -50 dB (-70 dB out); the rows below move by the
    // distance between that and the middle of the unity segment: -70 - (-85) = +15 dB.
    ExpectBreakpoints(Build({Expander(-30, 2, 20)}), {{-140, -125}, {-50, -70}, {-30, -30}, {0, 0}});
}

TEST(KivBreakpointRows, ExpanderRatioBelowOneLiftsTheFloor) {
    // Code 0 is 1 : 2; the unity segment below takes that slope and everything below rises
    // to meet it: -30 - 110 / 2 = -85 dB at the bottom.
    ExpectBreakpoints(Build({Expander(-30, KivEffectiveRatio(0))}), {{-140, -85}, {-30, -30}, {0, 0}});
}

TEST(KivBreakpointRows, ExpanderAboveACompressor) {
    // The compressor's 2:1 segment is halved: expansion from -37.5 dB, the part below moves
    // down 3.75 dB and is cut at silence; above the expander the 2:1 slope continues.
    ExpectBreakpoints(Build({Compressor(-40, 2), Expander(-35, 2)}),
                      {{-136.25, -140}, {-40, -43.75}, {-37.5, -42.5}, {-35, -37.5}, {0, -20}});
}

TEST(KivBreakpointRows, CompressorBelowAnExpander) {
    // The expander's segment runs at 2:1 from its range start (-30) up to it (-20); the
    // rows below move down to meet it and the first is cut back to where it reaches silence.
    ExpectBreakpoints(Build({Compressor(-40, 2), Expander(-20, 2, 10)}),
                      {{-125, -140}, {-40, -55}, {-30, -50}, {-20, -30}, {0, -20}});
}

TEST(KivBreakpointRows, Gate) {
    KivDynamicsGateDescription silentGate{0.01, 0.0, 24.0, 0.0};
    ExpectBreakpoints(Build({}, &silentGate), {{-140, -1000}, {-64, -1000}, {-40, -40}, {0, 0}});
    KivDynamicsGateDescription bottomGate{0.01, 0.0, 24.0, 1e-4};
    ExpectBreakpoints(Build({}, &bottomGate), {{-140, -140}, {-64, -80}, {-40, -40}, {0, 0}});
    // Above a processor threshold the gate replaces the rows below it and meets the curve.
    KivDynamicsGateDescription highGate{0.1, 0.0, 24.0, 0.0};
    ExpectBreakpoints(Build({Compressor(-30, 2)}, &highGate), {{-140, -1000}, {-44, -1000}, {-20, -25}, {0, -15}});
}

TEST(KivBreakpointRows, LowestThreshold) {
    KivBreakpointRows rows;
    KivDynamicsProcessorDescription processors[] = {Compressor(-6, 2), Expander(-30, 2)};
    EXPECT_NEAR(KivBuildBreakpointRows(processors, 2, nullptr, 0.0, rows), std::pow(10.0, -1.5), 1e-15);
    EXPECT_EQ(KivBuildBreakpointRows(nullptr, 0, nullptr, 0.0, rows), 1.7e308);
}

}  // namespace
