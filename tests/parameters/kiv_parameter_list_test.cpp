#include "parameters/kiv_parameter_list.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "base/kiv_exception.h"
#include "base/kiv_trace.h"
#include "parameters/compound/kiv_adsr_model.h"
#include "parameters/compound/kiv_compound_change_handler.h"
#include "parameters/compound/kiv_envelope_model.h"
#include "parameters/kiv_parameter_buckets.h"
#include "parameters/kiv_parameter_core_link.h"
#include "parameters/kiv_parameter_record_base.h"
#include "parameters/kiv_parameter_registration.h"
#include "parameters/kiv_random_generator.h"
#include "tests/parameters/kiv_test_records.h"
#include "tests/support/kiv_test_print.h"

namespace {

struct FakeADSR : KivADSRModel {
    double fields[kFieldCount] = {};
    KivCompoundChangeHandler* handler = nullptr;
    void AddChangeHandler(KivCompoundChangeHandler& added) override { handler = &added; }
    void RemoveChangeHandler(KivCompoundChangeHandler&) override { handler = nullptr; }
    double GetField(Field field) const override { return fields[field]; }
    void SetField(Field field, double value) override { fields[field] = value; }
};

struct FakeEnvelope : KivEnvelopeModel {
    double points[kHostPointCount][kPointFieldCount] = {};
    void AddChangeHandler(KivCompoundChangeHandler&) override {}
    void RemoveChangeHandler(KivCompoundChangeHandler&) override {}
    double GetPoint01(int32_t point, PointField field) const override { return points[point][field]; }
    void SetPoint01(int32_t point, PointField field, double value) override { points[point][field] = value; }
};

struct CountingCore : KivParameterCoreLink {
    int automationReports = 0;
    void NeedUpdateEditor(KivAutomationAdapter&) override {}
    void SendAllAutomation(KivAutomationAdapter&) override { ++automationReports; }
};

// A host-facing object that fails the way a broken effect might.
struct FailingParameter : KivAutomationAdapter {
    FailingParameter() : KivAutomationAdapter(1, nullptr, "") {}
    double GetParameter(int32_t) const override { throw std::runtime_error("broken"); }
    KivString GetParameterValueName(int32_t) const override { throw KivException("dropped"); }
};

std::vector<std::string> traces;
void CollectTrace(const KivString& text) { traces.push_back(text.ToUTF8()); }

// Host numbering of the effect below: 0 Compressor switch, 1 Threshold, 2 Ratio, 3 Output,
// 4 Bypass, 5..15 the ADSR, 16..35 the envelope.
struct DeclaredEffect {
    uint8_t compressorOn = 1;
    KivEffectParameter records[8];
    FakeADSR adsr;
    FakeEnvelope envelope;
    KivEffectSpecialParameter specials[2];
    CountingCore core;
    KivParameterBuckets buckets;
    KivParameterList list;

    DeclaredEffect() {
        records[0] = KivTestGroup("Compressor", &compressorOn);
        records[1] = KivTestFloat("Threshold", -60.0, 0.0, -30.0);
        records[1].flags |= KivEffectParameter::kInterpolated;
        records[2] = KivTestFloat("Ratio", 1.0, 20.0, 2.0);
        records[3] = KivTestInteger("Unused", 0, 1, 0);
        records[3].flags = 0;
        records[4] = KivTestFloat("Output", -24.0, 24.0, 0.0);
        records[4].flags2 = KivEffectParameter::kEndsSection;
        records[5] = KivTestGroup("Gate", nullptr);
        records[6] = KivTestBool("Bypass", false);
        records[7].type = 6;  // not declared: never looked at
        specials[0].kind = kKivSpecialADSR;
        specials[0].name = "Amp";
        specials[0].qualifier1 = "Env";
        specials[0].object = &adsr;
        specials[1].kind = kKivSpecialEnvelope;
        specials[1].name = "Shape";
        specials[1].qualifier1 = "Transfer";
        specials[1].object = &envelope;
        specials[1].startValue = 0.25;
        KivParameterRegistrationContext context;
        context.core = &core;
        context.buckets = &buckets;
        KivRegisterParameters(list, Table(), context);
        list.AssignIndices();
    }
    KivEffectParameterTable Table() { return {records, nullptr, 8, specials, 2}; }
};

TEST(KivParameterRegistration, ObjectsSectionsAndIndices) {
    DeclaredEffect effect;
    EXPECT_EQ(effect.list.GetObjectCount(), 7);
    EXPECT_EQ(effect.list.GetParameterCount(), 36u);
    EXPECT_EQ(effect.list.GetVisibleParameterCount(), 36u);
    EXPECT_TRUE(effect.list.HasInterpolatedParameters());
    EXPECT_EQ(effect.list.GetObject(5).GetFirstIndex(), 5u);
    EXPECT_EQ(effect.list.GetObject(6).GetFirstIndex(), 16u);

    EXPECT_EQ(effect.list.GetParameterNameWithoutSection(1), KivString("Threshold"));
    EXPECT_EQ(effect.list.GetParameterID(1), KivString("Threshold (Compressor)"));
    EXPECT_EQ(effect.list.GetParameterName(1), KivString("Compressor Threshold (Compressor)"));
    EXPECT_EQ(effect.list.GetParameterID(3), KivString("Output"));
    EXPECT_EQ(effect.list.GetParameterSection(3), KivString());
    EXPECT_EQ(effect.list.GetParameterID(4), KivString("Bypass (Gate)"));
    EXPECT_EQ(effect.list.GetParameterType(0), 4);

    ASSERT_NE(effect.buckets.Find(4), nullptr);
    EXPECT_EQ(effect.buckets.Find(4)->GetRecord().name, KivString("Output"));
    EXPECT_EQ(effect.buckets.Find(3), nullptr);

    effect.list.GetObject(5).SetHidden(true);
    effect.list.AssignIndices();
    EXPECT_EQ(effect.list.GetVisibleParameterCount(), 25u);
}

TEST(KivParameterRegistration, UnknownTypesStopRegistration) {
    KivEffectParameter records[2] = {KivTestFloat("Gain", 0.0, 1.0, 0.5), KivTestFloat("Odd", 0.0, 1.0, 0.5)};
    for (uint32_t type : {6u, 8u}) {
        records[1].type = type;
        KivParameterList list;
        try {
            KivRegisterParameters(list, {records, nullptr, 2, nullptr, 0}, {});
            FAIL() << "type " << type << " was accepted";
        } catch (const KivException& exception) {
            EXPECT_EQ(exception.GetMessage(), KivString("Invalid plugin parameter type."));
        }
    }
    KivEffectParameter* references[2] = {&records[0], &records[0]};
    KivParameterList list;
    KivRegisterParameters(list, {nullptr, references, 2, nullptr, 0}, {});
    EXPECT_EQ(list.GetObjectCount(), 2);
}

TEST(KivParameterList, DispatchByHostIndex) {
    DeclaredEffect effect;
    effect.list.SetParameter(1, 0.5, false);
    EXPECT_DOUBLE_EQ(effect.records[1].values.asFloat.value, -30.0);
    EXPECT_DOUBLE_EQ(effect.list.GetParameter(-3), 1.0);  // below the first: the first object
    EXPECT_EQ(effect.list.GetParameterID(35), KivString("Transfer Point 5 smoothness"));
    EXPECT_EQ(effect.list.GetParameterID(21), KivString("Transfer Point 2 Y"));
    effect.envelope.points[4][KivEnvelopeModel::kSmoothness] = 0.75;
    EXPECT_DOUBLE_EQ(effect.list.GetParameter(35), 0.75);
    EXPECT_DOUBLE_EQ(effect.list.GetParameter(1000), 0.0);  // the last object, past its points
    EXPECT_EQ(effect.list.GetParameterValueNameFrom01(2, 0.0), KivString("1.000000"));
    EXPECT_DOUBLE_EQ(effect.list.ParseParameterValueName(4, "1"), 1.0);
    EXPECT_DOUBLE_EQ(effect.list.GetParameterDefaultValue(1), 0.5);
    EXPECT_TRUE(effect.list.IsInterpolated(1));
    EXPECT_FALSE(effect.list.IsInterpolated(2));

    KivParameterList empty;
    EXPECT_DOUBLE_EQ(empty.GetParameter(0), 0.0);
    EXPECT_EQ(empty.GetParameterName(0), KivString());
}

TEST(KivParameterList, FailuresStayInsideTheList) {
    traces.clear();
    KivTrace::Sink previous = KivTrace::SetSink(CollectTrace);
    FailingParameter failing;
    KivParameterList list;
    list.AddBorrowed(failing);
    list.AssignIndices();
    EXPECT_DOUBLE_EQ(list.GetParameter(0), 0.0);
    EXPECT_EQ(list.GetParameterValueName(0), KivString());
    KivTrace::SetSink(previous);
    ASSERT_EQ(traces.size(), 1u);
    EXPECT_EQ(traces[0], "SYSTEM EXCEPTION! KivAudioPlugin::GetParameter");
}

TEST(KivParameterCompound, ADSRFaceNamesAndNormalisation) {
    DeclaredEffect effect;
    KivParameterList& list = effect.list;
    EXPECT_EQ(list.GetParameterID(5), KivString("Env Amp delay"));
    EXPECT_EQ(list.GetParameterName(6), KivString("Env Amp attack"));
    EXPECT_EQ(list.GetParameterNameWithoutSection(14), KivString("Amp release shape"));
    EXPECT_EQ(list.GetParameterNameWithoutSection(15), KivString("Amp reserved"));
    effect.adsr.fields[KivADSRModel::kAttack] = 0.625;
    EXPECT_DOUBLE_EQ(list.GetParameter(6), 0.5);
    list.SetParameter(9, 0.5, false);
    EXPECT_DOUBLE_EQ(effect.adsr.fields[KivADSRModel::kRelease], 0.625);
    list.SetParameter(10, 0.3, false);
    EXPECT_DOUBLE_EQ(effect.adsr.fields[KivADSRModel::kSustain], 0.3);
    list.SetParameter(13, 0.25, false);
    EXPECT_DOUBLE_EQ(effect.adsr.fields[KivADSRModel::kDecayShape], -0.5);
    EXPECT_DOUBLE_EQ(list.GetParameter(13), 0.25);
    EXPECT_DOUBLE_EQ(list.GetParameter(15), 0.5);
    EXPECT_EQ(list.GetParameterType(7), 1);

    list.GetObject(5).Subscribe();
    ASSERT_NE(effect.adsr.handler, nullptr);
    effect.adsr.handler->OnCompoundChanged();
    EXPECT_EQ(effect.core.automationReports, 1);

    KivRandomGenerator::SetSeed(12345);
    list.GetObject(5).Randomize(1.0);
    EXPECT_NEAR(effect.adsr.fields[KivADSRModel::kDelay], 0.028697665738199627, 1e-15);
}

TEST(KivParameterCompound, SuppliedObjectsStayTheEffects) {
    FailingParameter supplied;
    KivEffectSpecialParameter special;
    special.kind = kKivSpecialSuppliedParameter;
    special.object = &supplied;
    {
        KivParameterList list;
        KivRegisterParameters(list, {nullptr, nullptr, 0, &special, 1}, {});
        list.AssignIndices();
        EXPECT_EQ(list.GetParameterCount(), 1u);
    }
    EXPECT_FALSE(supplied.IsActive());  // still alive after the list went away
}

}  // namespace
