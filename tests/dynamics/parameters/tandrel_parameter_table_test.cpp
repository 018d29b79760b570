#include <gtest/gtest.h>

#include "dynamics/parameters/kiv_attack_release_mode.h"
#include "dynamics/parameters/tandrel_parameter_slot.h"
#include "dynamics/parameters/tandrel_parameter_table.h"
#include "envelope/kiv_envelope_graph.h"
#include "parameters/kiv_parameter_list.h"
#include "parameters/kiv_parameter_registration.h"
#include "tests/support/kiv_test_print.h"

namespace {

// Host indices of the registered table: groups without a switch and slot 15 take none.
enum HostIndex : int32_t {
    kInputGain = 0, kOutputGain = 1, kTempGain = 2, kDryWet = 3, kMode = 4, kMaximize = 5, kLink = 6,
    kAttack = 7, kRelease = 8, kReleaseMode = 9, kAutoSpeed = 10, kPeakHold = 11, kRMSLength = 12,
    kLookAhead = 13, kGate = 14, kGateThreshold = 15, kGateSize = 16, kGateKnee = 17, kGateBottom = 18,
    kProcessor1 = 19, kThreshold1 = 20, kRatio1 = 21, kKneeSize1 = 22, kRange1 = 23, kProcessor2 = 24,
    kThreshold2 = 25, kCustomShapeFirst = 29, kSideChain = 49
};

struct RegisteredTable {
    KivEnvelopeGraph customShape;
    KivParameterView* editor = nullptr;
    TandrelParameterTable table{&customShape, &editor};
    KivParameterList list;

    RegisteredTable() {
        KivRegisterParameters(list, table.Declaration(), {});
        list.AssignIndices();
    }
    KivString Text(int32_t index, double position) const { return list.GetParameterValueNameFrom01(index, position); }
};

// "Side-chain" came after the custom shape and is numbered after it, so the numbers hosts
// stored before keep their parameters.
TEST(TandrelParameterTable, HostSeesTwentyNineSimpleParametersTheCustomShapeThenTheSideChain) {
    RegisteredTable host;
    EXPECT_EQ(host.list.GetParameterCount(), 29u + 20u + 1u);
    EXPECT_EQ(host.list.GetParameterNameWithoutSection(kSideChain), KivString("Side-chain"));
    EXPECT_EQ(host.list.GetParameterSection(kSideChain), KivString());
    EXPECT_EQ(host.list.GetParameterValueName(kSideChain), KivString("Internal"));
    EXPECT_EQ(host.Text(kSideChain, 1.0), KivString("External"));
    EXPECT_EQ(host.list.GetParameterNameWithoutSection(kCustomShapeFirst + 19), KivString("Point 5 smoothness"));
    EXPECT_EQ(host.list.GetParameterName(kInputGain), KivString("General parameters Input gain (General parameters)"));
    EXPECT_EQ(host.list.GetParameterSection(kLookAhead), KivString("Dynamic detection"));
    EXPECT_EQ(host.list.GetParameterNameWithoutSection(kGate), KivString("Gate"));
    EXPECT_EQ(host.list.GetParameterNameWithoutSection(kGateThreshold), KivString("Threshold"));
    EXPECT_EQ(host.list.GetParameterSection(kThreshold2), KivString("Processor 2"));
    EXPECT_EQ(host.list.GetParameterNameWithoutSection(kCustomShapeFirst + 5), KivString("Point 2 Y"));

    const KivEffectParameter& undeclared = host.table.Record(kTandrelUndeclared);
    EXPECT_FALSE(undeclared.HasFlag(KivEffectParameter::kDeclared));
    EXPECT_EQ(host.table.Record(kTandrelRatio2).identifier, KivString("ratio2"));
    EXPECT_EQ(host.table.Record(kTandrelGateGroup).identifier, KivString("Gate"));
    EXPECT_EQ(host.table.CustomShapeRecord().name, KivString("Custom shape"));
    EXPECT_EQ(host.table.CustomShapeRecord().tag, 61u);
}

TEST(TandrelParameterTable, GroupSwitchesAreTheTablesBytes) {
    RegisteredTable host;
    EXPECT_DOUBLE_EQ(host.list.GetParameter(kGate), 0.0);
    EXPECT_DOUBLE_EQ(host.list.GetParameter(kProcessor1), 1.0);
    EXPECT_DOUBLE_EQ(host.list.GetParameter(kProcessor2), 0.0);
    host.list.SetParameter(kGate, 1.0, false);
    EXPECT_EQ(host.table.Switches().gate, 1);
    EXPECT_TRUE(host.table.IsOn(kTandrelGateGroup));
    EXPECT_EQ(host.list.GetParameterValueName(kProcessor1), KivString("On"));
}

TEST(TandrelParameterTable, GainsAndPercentages) {
    RegisteredTable host;
    for (int32_t index : {kInputGain, kOutputGain, kTempGain}) {
        EXPECT_DOUBLE_EQ(host.list.GetParameter(index), 0.5);
        EXPECT_EQ(host.Text(index, 0.75), KivString("+12.00 dB"));
        EXPECT_EQ(host.Text(index, 0.0), KivString("-24.00 dB"));
        EXPECT_DOUBLE_EQ(host.list.ParseParameterValueName(index, "-6 dB"), 0.375);
    }
    EXPECT_EQ(host.Text(kGateSize, 0.25), KivString("+6.00 dB"));
    EXPECT_DOUBLE_EQ(host.list.GetParameter(kGateSize), 0.25);
    EXPECT_EQ(host.list.GetParameterValueName(kRange1), KivString("+96.00 dB"));
    EXPECT_DOUBLE_EQ(host.list.GetParameter(kRange1), 1.0);
    EXPECT_EQ(host.Text(kRange1, 0.0), KivString("+1.00 dB"));

    EXPECT_EQ(host.list.GetParameterValueName(kDryWet), KivString("100.0%"));
    EXPECT_EQ(host.Text(kLink, 0.005), KivString("0.50%"));
    EXPECT_EQ(host.list.GetParameterValueName(kGateKnee), KivString("25.0%"));
    EXPECT_DOUBLE_EQ(host.list.ParseParameterValueName(kKneeSize1, "40"), 0.4);
}

TEST(TandrelParameterTable, TimesThroughTheirCurves) {
    RegisteredTable host;
    EXPECT_EQ(host.list.GetParameterValueName(kAttack), KivString("10 ms"));
    EXPECT_NEAR(host.list.GetParameter(kAttack), 0.31622776601683794, 1e-12);  // 0.01^(1/4)
    EXPECT_EQ(host.Text(kAttack, 0.5), KivString("63 ms"));                    // 0.5^4 s, halves up

    EXPECT_EQ(host.list.GetParameterValueName(kRelease), KivString("100 ms"));
    EXPECT_NEAR(host.list.GetParameter(kRelease), 0.3751353704371547, 1e-12);
    EXPECT_EQ(host.Text(kRelease, 1.0), KivString("5000 ms"));

    EXPECT_EQ(host.list.GetParameterValueName(kAutoSpeed), KivString("1000 ms"));
    EXPECT_NEAR(host.list.GetParameter(kAutoSpeed), 0.31608541725157124, 1e-12);
    EXPECT_EQ(host.list.GetParameterValueName(kPeakHold), KivString("0 ms"));

    EXPECT_EQ(host.list.GetParameterValueName(kRMSLength), KivString("1.0 ms"));
    EXPECT_NEAR(host.list.GetParameter(kRMSLength), 0.1, 1e-12);
    EXPECT_EQ(host.Text(kRMSLength, 0.0), KivString("Peak"));
    EXPECT_EQ(host.Text(kRMSLength, 0.01414213562373095), KivString("0.020 ms"));

    EXPECT_EQ(host.list.GetParameterValueName(kLookAhead), KivString("Disabled"));
    EXPECT_EQ(host.Text(kLookAhead, 0.26591479484724945), KivString("5.0 ms"));
    EXPECT_NEAR(host.list.ParseParameterValueName(kLookAhead, "5"), 0.26591479484724945, 1e-12);
}

TEST(TandrelParameterTable, ThresholdsInDecibelsOfTheSquaredValue) {
    RegisteredTable host;
    EXPECT_EQ(host.list.GetParameterValueName(kGateThreshold), KivString("-28.0 dB"));  // 0.2^2
    EXPECT_EQ(host.list.GetParameterValueName(kThreshold1), KivString("-12.0 dB"));     // 0.5^2
    EXPECT_EQ(host.list.GetParameterValueName(kThreshold2), KivString("-24.1 dB"));     // 0.25^2
    EXPECT_EQ(host.Text(kThreshold1, 0.0), KivString("-80.0 dB"));
    EXPECT_EQ(host.Text(kThreshold1, 1.0), KivString("0.00 dB"));
    EXPECT_NEAR(host.list.ParseParameterValueName(kThreshold1, "-12"), 0.4961487208356285, 1e-12);
    EXPECT_EQ(host.list.GetParameterValueName(kGateBottom), KivString("silence"));
    EXPECT_EQ(host.Text(kGateBottom, 1.0), KivString("-80.0 dB"));
    EXPECT_EQ(host.Text(kGateBottom, 0.5), KivString("-92.0 dB"));
}

TEST(TandrelParameterTable, RatioCodes) {
    RegisteredTable host;
    EXPECT_EQ(host.list.GetParameterValueName(kRatio1), KivString("1.00 : 1"));
    EXPECT_NEAR(host.list.GetParameter(kRatio1), 2.0 / 21.0, 1e-15);
    EXPECT_EQ(host.Text(kRatio1, 1.0), KivString("Infinity"));
    EXPECT_EQ(host.Text(kRatio1, 1.0 / 21.0), KivString("1 : 2.00"));
    EXPECT_EQ(host.Text(kRatio1, 0.0), KivString("1 : 3.00"));
    EXPECT_EQ(host.Text(kRatio1, 5.0 / 21.0), KivString("4.00 : 1"));
    EXPECT_NEAR(host.list.ParseParameterValueName(kRatio1, "1 : 3"), 0.0, 1e-15);
    EXPECT_NEAR(host.list.ParseParameterValueName(kRatio1, "1 : 1.5"), 1.5 / 21.0, 1e-15);
    EXPECT_NEAR(host.list.ParseParameterValueName(kRatio1, "4 : 1"), 5.0 / 21.0, 1e-15);
    EXPECT_NEAR(host.list.ParseParameterValueName(kRatio1, "10"), 11.0 / 21.0, 1e-15);
}

TEST(TandrelParameterTable, ChoicesAndSwitch) {
    RegisteredTable host;
    EXPECT_EQ(host.list.GetParameterValueName(kMode), KivString("Squared"));
    EXPECT_DOUBLE_EQ(host.list.GetParameterDefaultValue(kMode), 0.5);
    EXPECT_EQ(host.Text(kMode, 1.0), KivString("Logarithmic"));
    EXPECT_DOUBLE_EQ(host.list.ParseParameterValueName(kMode, "linear"), 0.0);
    EXPECT_EQ(host.list.GetParameterValueName(kReleaseMode), KivString("Manual"));
    EXPECT_EQ(host.Text(kReleaseMode, 0.4), KivString("Automatic fast"));  // 6 * 0.4 - 0.5 = 1.9
    EXPECT_DOUBLE_EQ(host.list.ParseParameterValueName(kReleaseMode, "Opto"), 1.0);
    EXPECT_EQ(host.list.GetParameterValueName(kMaximize), KivString("Off"));
    host.list.SetParameter(kMaximize, 1.0, false);
    EXPECT_TRUE(host.table.IsOn(kTandrelMaximize));
}

TEST(TandrelParameterTable, FlagsOfTheRecords) {
    RegisteredTable host;
    const TandrelParameterTable& table = host.table;
    for (int32_t slot = 0; slot < kTandrelSlotCount; ++slot) {
        const KivEffectParameter& record = table.Record(slot);
        if (slot == kTandrelUndeclared) continue;
        bool fixed = slot == kTandrelInputGain || slot == kTandrelOutputGain || slot == kTandrelSideChain;
        EXPECT_EQ(record.HasFlag(KivEffectParameter::kRandomisable), !fixed) << slot;
        EXPECT_TRUE(record.HasFlag(KivEffectParameter::kReprepares)) << slot;
        const bool secondProcessor = slot >= kTandrelProcessor2Group && slot <= kTandrelRange2;
        EXPECT_EQ(record.HasFlag(TandrelParameterTable::kSecondProcessorMark), secondProcessor) << slot;
        if (record.type == kKivParameterTypeFloat) {
            EXPECT_EQ(record.values.asFloat.spare, record.values.asFloat.defaultValue) << slot;
        }
    }
    EXPECT_TRUE(table.Record(kTandrelGateGroup).HasFlag(TandrelParameterTable::kFoldedPanelMark));
    EXPECT_FALSE(table.Record(kTandrelProcessor1Group).HasFlag(TandrelParameterTable::kFoldedPanelMark));
    EXPECT_TRUE(table.Record(kTandrelDryWet).HasFlag(KivEffectParameter::kProductMarked));

    host.table.MarkAutoSpeedUse(2);  // "Automatic fast"
    EXPECT_TRUE(table.Record(kTandrelAutoSpeed).HasFlag2(TandrelParameterTable::kInUseMark));
    host.table.MarkAutoSpeedUse(3);  // "Linear 1"
    EXPECT_FALSE(table.Record(kTandrelAutoSpeed).HasFlag2(TandrelParameterTable::kInUseMark));
}

TEST(KivAttackReleaseMode, NamesIgnoreCaseAndEmptyIsFast) {
    EXPECT_EQ(KivAttackReleaseModeFromText("fastest"), KivAttackReleaseMode::kFastest);
    EXPECT_EQ(KivAttackReleaseModeFromText("CUSTOM (LOGARITHMIC)"), KivAttackReleaseMode::kCustomLogarithmic);
    EXPECT_EQ(KivAttackReleaseModeFromText(""), KivAttackReleaseMode::kFast);
    EXPECT_EQ(KivAttackReleaseModeText(KivAttackReleaseMode::kSlow), KivString("Slow"));

    KivAttackReleaseMode mode = KivAttackReleaseMode::kSlowest;
    KivValueAttackReleaseMode value(mode);
    value.Set01(0.5);  // 7 * 0.5 + 0.5 = 4
    EXPECT_EQ(mode, KivAttackReleaseMode::kFastest);
    EXPECT_DOUBLE_EQ(value.Get01(), 4.0 / 7.0);
    value.SetDisplayText("");
    EXPECT_EQ(mode, KivAttackReleaseMode::kFast);
    value.SetDisplayText("medium");
    EXPECT_EQ(mode, KivAttackReleaseMode::kMedium);
}

}  // namespace
