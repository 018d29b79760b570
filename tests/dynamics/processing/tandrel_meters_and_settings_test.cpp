#include <gtest/gtest.h>

#include <cmath>

#include "base/kiv_string.h"
#include "base/xml/kiv_xml_item.h"
#include "dynamics/processing/tandrel_meter_view.h"
#include "tests/dynamics/processing/tandrel_rig.h"

namespace {

// What the editor was last shown, per channel.
class RecordingView : public TandrelMeterView {
public:
    void ShowGainReduction(int32_t channel, double position) override { reduction[channel] = position; }
    void ShowHeldReduction(int32_t channel, double gain) override { heldReduction[channel] = gain; }
    void ShowOutputLevels(int32_t channel, double p, double r, double s) override {
        peak[channel] = p;
        rms[channel] = r;
        slowPeak[channel] = s;
    }
    void ShowHeldPeak(int32_t channel, double amplitude) override { heldPeak[channel] = amplitude; }
    void ShowChannelMeters(int32_t channels) override { visibleChannels = channels; }
    void RefreshState() override { ++refreshes; }
    void UpdateLevelGraph() override { ++graphUpdates; }

    double reduction[8] = {}, heldReduction[8] = {}, peak[8] = {}, rms[8] = {}, slowPeak[8] = {}, heldPeak[8] = {};
    int32_t visibleChannels = 0, refreshes = 0, graphUpdates = 0;
};

// -60 dB shows as 0 and 0 dB as 1 on the root scale.
double Position(double amplitude) { return std::sqrt((amplitude - 0.001) * 1.001001001001001); }

}  // namespace

// 0 dB DC into 2:1 above -12 dB (Logarithmic) with a peak detector and attack 0: -6 dB
// out from the first sample, a reduction of 10^(-6/20).
TEST(TandrelMeters, PublishOutputLevelsReductionAndHeldValues) {
    TandrelRig rig;
    rig.Compressor(-12.0, 2.0);
    rig.Set(kTandrelAttack, 0.0);
    rig.Set(kTandrelRMSLength, 0.0);
    rig.SetItem(kTandrelShapeMode, 2);
    RecordingView view;
    rig.effect().AttachEditor(&view);
    rig.RunConstant(44100, 1.0f);
    rig.effect().HandleMessage(kKivEffectProcessUpdate, nullptr);
    const double out = std::pow(10.0, -6.0 / 20.0);
    for (int32_t c = 0; c < 2; ++c) {
        EXPECT_NEAR(view.reduction[c], std::sqrt(out) + 1e-7, 1e-4);
        EXPECT_NEAR(view.heldReduction[c], out, 1e-4);
        EXPECT_NEAR(view.peak[c], Position(out), 1e-4);
        EXPECT_NEAR(view.rms[c], Position(out), 1e-4);
        EXPECT_NEAR(view.slowPeak[c], Position(out), 1e-4);
        EXPECT_NEAR(view.heldPeak[c], out, 1e-4);
    }
    EXPECT_EQ(view.graphUpdates, 1);
    EXPECT_NEAR(rig.effect().TakeLargestReduction(0), out, 1e-4);
    EXPECT_EQ(rig.effect().TakeLargestReduction(0), 1.0);  // read: nothing processed since
    rig.effect().HandleMessage(kKivEffectUpdateChannelControls, nullptr);
    EXPECT_EQ(view.visibleChannels, 2);

    // With the editor closed no meter moves; applying parameters clears the held values.
    rig.effect().DetachEditor();
    const double fast = rig.effect().Meters().Channel(0).FastPeak();
    rig.RunConstant(4410, 0.0f);
    EXPECT_EQ(rig.effect().Meters().Channel(0).FastPeak(), fast);
    rig.Set(kTandrelOutputGain, 0.0);
    rig.RunConstant(1, 0.0f);
    EXPECT_EQ(rig.effect().Meters().Channel(0).HeldReduction(), 1.0);
    EXPECT_EQ(rig.effect().Meters().Channel(0).HeldPeak(), 0.0);
}

// In gain-only mode the reduction meter reads 2 (above its scale) and the output meters are
// shown by the refresh as in every other mode.
TEST(TandrelMeters, GainOnlyShowsNoReduction) {
    TandrelRig rig;
    rig.table().Switches().processor1 = 0;
    rig.effect().Reprepare();
    RecordingView view;
    rig.effect().AttachEditor(&view);
    rig.RunConstant(512, 0.5f);
    rig.effect().ProcessUpdate();
    EXPECT_NEAR(view.heldPeak[0], 0.5, 1e-6);
    EXPECT_EQ(rig.effect().Meters().Channel(0).GainReduction(), 2.0);
    rig.effect().DetachEditor();
}

// Every product key written, and read back into a fresh instance.
TEST(TandrelSettings, ProductSettingsRoundTrip) {
    TandrelRig first;
    TandrelProductSettings& product = first.effect().ProductSettings();
    product.doNotLimitAbove0dB = 1;
    product.customShape = 1;  // the drawn shape stays as drawn
    product.expander2 = 1;
    product.attackShape = KivAttackReleaseMode::kFastest;
    product.releaseShape = KivAttackReleaseMode::kExtreme;
    first.effect().DrawnShape().GetEnvelope().InsertPoint(0.5, 0.25);
    first.Set(kTandrelRatio1, 4.0);
    first.effect().Follower().SetLookAhead(17);  // after applying, which sets it from the parameter
    KivXMLItem item(KivString("settings"));
    first.effect().HandleMessage(kKivEffectStoreSettings, nullptr);  // no item: answered, nothing written
    ASSERT_TRUE(first.effect().StoreSettings(item));
    EXPECT_EQ(item.GetAttribute(KivString("DoNotLimitAbove0dB")), KivString("1"));
    EXPECT_EQ(item.GetAttribute(KivString("AttackMode")), KivString("Fastest"));
    EXPECT_EQ(item.GetAttribute(KivString("LookAheadDelay")), KivString("17"));
    EXPECT_TRUE(item.HasSubItem(KivString("graph")));
    EXPECT_TRUE(item.HasSubItem(KivString("CustomShapes")));

    TandrelRig second;
    KivEffectMessageRecord record;
    record.SetPointer(1, &item);
    EXPECT_EQ(second.effect().HandleMessage(kKivEffectLoadSettings, &record), 1);
    const TandrelProductSettings& loaded = second.effect().ProductSettings();
    EXPECT_EQ(loaded.doNotLimitAbove0dB, 1);
    EXPECT_EQ(loaded.expander1, 0);
    EXPECT_EQ(loaded.expander2, 1);
    EXPECT_EQ(loaded.attackShape, KivAttackReleaseMode::kFastest);
    EXPECT_EQ(loaded.releaseShape, KivAttackReleaseMode::kExtreme);
    EXPECT_EQ(loaded.customShape, 1);
    EXPECT_EQ(second.effect().DrawnShape().GetEnvelope().GetPointCount(),
              first.effect().DrawnShape().GetEnvelope().GetPointCount());
    EXPECT_EQ(second.table().Value(kTandrelRatio1), 4.0);
}

// Absent shapes read "Slow"; names ignore case; a drawn shape of fewer than two points
// becomes the straight line.
TEST(TandrelSettings, MissingAndDamagedKeysFallBack) {
    TandrelRig rig;
    KivXMLItem item(KivString("settings"));
    item.SetAttribute(KivString("AttackMode"), KivString("fastest"));
    item.AddSubItem(KivString("graph"));
    ASSERT_TRUE(rig.effect().LoadSettings(item));
    EXPECT_EQ(rig.effect().ProductSettings().attackShape, KivAttackReleaseMode::kFastest);
    EXPECT_EQ(rig.effect().ProductSettings().releaseShape, KivAttackReleaseMode::kSlow);
    const KivEnvelope& shape = rig.effect().DrawnShape().GetEnvelope();
    ASSERT_EQ(shape.GetPointCount(), 2);
    EXPECT_EQ(shape.GetPoint(0).y, 0.0);
    EXPECT_EQ(shape.GetPoint(1).y, 1.0);
}

// "Side-chain" is stored by its item's name; a state saved before it existed keys on the
// input, whatever the instance was set to before loading.
TEST(TandrelSettings, SideChainRoundTripsAndIsInternalWhenAbsent) {
    TandrelRig rig;
    KivEffectParameter& sideChain = rig.table().Record(kTandrelSideChain);
    sideChain.values.asEnumeration.index = 1;
    KivXMLItem stored(KivString("settings"));
    ASSERT_TRUE(rig.effect().StoreSettings(stored));
    EXPECT_EQ(stored.GetAttribute(KivString("parametersidechainEnum")), KivString("External"));
    sideChain.values.asEnumeration.index = 0;
    ASSERT_TRUE(rig.effect().LoadSettings(stored));
    EXPECT_EQ(rig.table().Item(kTandrelSideChain), 1);

    KivXMLItem older(KivString("settings"));
    older.SetAttribute(KivString("parameterratio1"), KivString("2"));
    ASSERT_TRUE(rig.effect().LoadSettings(older));
    EXPECT_EQ(rig.table().Item(kTandrelSideChain), 0);
}

// Parameters are not applied before a sample rate is known.
TEST(TandrelSettings, SampleRateZeroAppliesNothing) {
    TandrelRig rig;
    rig.effect().InitProcessing(2, 0);
    rig.table().Record(kTandrelLookAhead).values.asFloat.value = 0.5;
    rig.effect().Reprepare();
    EXPECT_EQ(rig.effect().GetLatency(), 0);
}

// A state without "AttackMode" gives "Fast" (without "ReleaseMode": "Slow"); a state without
// "graph" gives the straight line of a new instance instead of keeping the drawing.
TEST(TandrelSettings, AbsentKeysGiveTheirDefaults) {
    TandrelRig rig;
    KivXMLItem drawn(KivString("settings"));
    drawn.SetAttribute(KivString("AttackMode"), KivString("Slowest"));
    KivXMLItem& graph = drawn.AddSubItem(KivString("graph"));
    KivEnvelope three;
    three.ResetToLine(0.0, 1.0);
    three.InsertPoint(0.5, 0.2);
    three.Store(graph);
    ASSERT_TRUE(rig.effect().LoadSettings(drawn));
    ASSERT_EQ(rig.effect().DrawnShape().GetEnvelope().GetPointCount(), 3);
    EXPECT_EQ(rig.effect().ProductSettings().attackShape, KivAttackReleaseMode::kSlowest);

    KivXMLItem bare(KivString("settings"));
    ASSERT_TRUE(rig.effect().LoadSettings(bare));
    EXPECT_EQ(rig.effect().ProductSettings().attackShape, KivAttackReleaseMode::kFast);
    EXPECT_EQ(rig.effect().ProductSettings().releaseShape, KivAttackReleaseMode::kSlow);
    const KivEnvelope& shape = rig.effect().DrawnShape().GetEnvelope();
    ASSERT_EQ(shape.GetPointCount(), 2);
    EXPECT_EQ(shape.GetPoint(1).x, 1.0);
    EXPECT_EQ(shape.GetPoint(1).y, 1.0);
}

// Loading an unlinked state over fully linked processing hands the shared envelope to every
// channel, as the parameter does: both channels of a loud stereo tone stay equal from the first
// block instead of the right one starting from its stale (reset) envelope.
TEST(TandrelSettings, LoadedLinkAmountHandsTheEnvelopeOver) {
    TandrelRig rig;
    rig.Compressor(-20.0, 4.0);
    rig.Set(kTandrelAttack, 0.05);
    auto tone = [](int32_t i) { return static_cast<float>(0.8 * std::sin(0.05 * i)); };
    rig.Run(44100, tone);
    // A state whose link parameter and detector key both say 0.
    auto& link = rig.table().Record(kTandrelLinkChannels).values.asFloat;
    link.value = link.target = 0.0;
    KivXMLItem item(KivString("settings"));
    ASSERT_TRUE(rig.effect().StoreSettings(item));
    item.SetAttribute(KivString("LinkChannels"), KivString("0"));
    ASSERT_TRUE(rig.effect().LoadSettings(item));
    rig.effect().Reprepare();
    ASSERT_FALSE(rig.effect().Follower().GetLinkAmount() == 1.0);
    const std::vector<float> left = rig.Run(512, tone);
    ASSERT_EQ(rig.table().Value(kTandrelLinkChannels), 0.0);
    for (int32_t i = 0; i < 512; ++i) ASSERT_EQ(rig.out[1][i], rig.out[0][i]) << i;
    double peak = 0.0;
    for (float v : left) peak = std::max(peak, std::fabs(double(v)));
    EXPECT_LT(peak, 0.5);  // attenuated from the start
}

// Side-chain play puts what the detector hears on the outputs: with the side-chain high-pass
// at 1 kHz a 50 Hz tone nearly vanishes (a second-order high-pass more than four octaves
// below its corner: |H| ~ (50/1000)^2 = 0.0025) and a 10 kHz tone passes almost whole, while
// without side-chain play both pass at 1:1 unchanged.
TEST(TandrelSettings, SideChainPlayOutputsTheFilteredDetectorSignal) {
    for (bool play : {false, true}) {
        for (double frequency : {50.0, 10000.0}) {
            TandrelRig rig;
            KivXMLItem item(KivString("settings"));
            ASSERT_TRUE(rig.effect().StoreSettings(item));
            item.SetAttribute(KivString("SideChainPlay"), KivString(play ? "1" : "0"));
            item.SetAttribute(KivString("EnabledSideChain"), KivString("1"));
            item.SetAttribute(KivString("SideChainMinF"), KivString("1000"));
            ASSERT_TRUE(rig.effect().LoadSettings(item));
            rig.effect().Reprepare();
            const std::vector<float> out = rig.Run(44100, [frequency](int32_t i) {
                return static_cast<float>(0.5 * std::sin(2.0 * 3.141592653589793 * frequency * i / 44100.0));
            });
            double peak = 0.0;
            for (size_t i = 22050; i < out.size(); ++i) peak = std::max(peak, std::fabs(double(out[i])));
            if (!play) EXPECT_NEAR(peak, 0.5, 1e-3) << frequency;
            else if (frequency < 100.0) EXPECT_LT(peak, 0.01);
            else EXPECT_NEAR(peak, 0.5, 0.025);
        }
    }
}
