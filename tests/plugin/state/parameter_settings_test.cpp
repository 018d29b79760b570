#include <gtest/gtest.h>

#include "base/xml/kiv_xml_item.h"
#include "parameters/kiv_parameter_registration.h"
#include "plugin/state/kiv_parameter_settings.h"

namespace {

const char* const kModes[] = {"Peak", "RMS", "Loud"};

// One record of every kind, as an effect declares them.
struct MixedRecords {
    MixedRecords() {
        Declare(0, kKivParameterTypeFloat, "thr");
        records[0].values.asFloat = {-60.0, 0.0, -20.0, -20.0, -20.0, -20.0, kKivParameterCurveLinear};
        Declare(1, kKivParameterTypeInteger, "steps");
        records[1].values.asInteger = {1, 16, 4, 4, 4};
        Declare(2, kKivParameterTypeEnumeration, "mode");
        records[2].values.asEnumeration = {kModes, 3, 0, 0, 0};
        Declare(3, kKivParameterTypeBool, "link");
        records[3].values.asBool = {0, 0};
        Declare(4, kKivParameterTypeGroup, "gate");
        records[4].values.asGroup.enabled = &groupOn;
        table.records = records;
        table.recordCount = 5;
    }
    void Declare(int index, uint32_t type, const char* identifier) {
        records[index].flags = KivEffectParameter::kDeclared;
        records[index].type = type;
        records[index].identifier = identifier;
    }

    KivEffectParameter records[5];
    uint8_t groupOn = 0;
    KivEffectParameterTable table;
};

std::string Attribute(KivXMLItem& item, const char* name) {
    return item.HasAttribute(KivString(name)) ? item.GetAttribute().ToUTF8() : std::string("<absent>");
}

TEST(ParameterSettingsTest, EveryKindIsWrittenUnderItsNameInItsForm) {
    MixedRecords mixed;
    mixed.records[0].values.asFloat.value = -12.345678901234567;
    mixed.records[1].values.asInteger.value = 7;
    mixed.records[2].values.asEnumeration.index = 1;
    mixed.records[3].values.asBool.value = 1;
    mixed.groupOn = 1;
    KivXMLItem item("settings");
    KivParameterSettings::Store(mixed.table, item, true);
    // 12 significant digits do not read back as the same double: all 17 are written.
    EXPECT_EQ(Attribute(item, "parameterthr"), "-12.345678901234567");
    EXPECT_EQ(Attribute(item, "parametersteps"), "7");
    EXPECT_EQ(Attribute(item, "parametermodeEnum"), "RMS");
    EXPECT_EQ(Attribute(item, "parameterlink"), "1");
    EXPECT_EQ(Attribute(item, "parametergate"), "1");
    EXPECT_EQ(item.GetAttributeCount(), 5);
}

TEST(ParameterSettingsTest, VeryLargeAndSmallFloatsSwitchToAnExponent) {
    MixedRecords mixed;
    auto& values = mixed.records[0].values.asFloat;
    values.minimum = -1e30;
    values.maximum = 1e30;
    values.value = 1.0 / 3.0 * 1e20;
    KivXMLItem item("settings");
    KivParameterSettings::Store(mixed.table, item, true);
    EXPECT_EQ(Attribute(item, "parameterthr"), "3.3333333333333332e+19");
    values.value = 2.5e-9;
    KivParameterSettings::Store(mixed.table, item, true);
    EXPECT_EQ(Attribute(item, "parameterthr"), "2.5e-09");
}

TEST(ParameterSettingsTest, ReadingTakesOverWhatIsPresentAndReadable) {
    MixedRecords mixed;
    KivXMLItem item("settings");
    item.SetAttribute("parameterthr", "-6.5");
    item.SetAttribute("PARAMETERSTEPS", "12");       // names match without regard to case
    item.SetAttribute("parametermodeEnum", "loud");  // so do item texts
    item.SetAttribute("parameterlink", "5");
    KivParameterSettings::Store(mixed.table, item, false);
    EXPECT_EQ(mixed.records[0].values.asFloat.value, -6.5);
    EXPECT_EQ(mixed.records[1].values.asInteger.value, 12);
    EXPECT_EQ(mixed.records[2].values.asEnumeration.index, 2);
    EXPECT_EQ(mixed.records[3].values.asBool.value, 1);
    EXPECT_EQ(mixed.groupOn, 0);  // absent: unchanged
}

TEST(ParameterSettingsTest, UnusableValuesLeaveTheRecordsInTheirRange) {
    MixedRecords mixed;
    KivXMLItem item("settings");
    item.SetAttribute("parameterthr", "abc");
    item.SetAttribute("parametersteps", "99");
    item.SetAttribute("parametermodeEnum", "Average");  // no such item
    KivParameterSettings::Store(mixed.table, item, false);
    EXPECT_EQ(mixed.records[0].values.asFloat.value, -20.0);
    EXPECT_EQ(mixed.records[1].values.asInteger.value, 16);
    EXPECT_EQ(mixed.records[2].values.asEnumeration.index, 0);
    item.SetAttribute("parameterthr", "-1e999");
    KivParameterSettings::Store(mixed.table, item, false);
    EXPECT_EQ(mixed.records[0].values.asFloat.value, -20.0);
    item.SetAttribute("parameterthr", "-75");
    KivParameterSettings::Store(mixed.table, item, false);
    EXPECT_EQ(mixed.records[0].values.asFloat.value, -60.0);
}

TEST(ParameterSettingsTest, UndeclaredRecordsAreNeitherWrittenNorRead) {
    MixedRecords mixed;
    mixed.records[1].flags = 0;
    KivXMLItem item("settings");
    KivParameterSettings::Store(mixed.table, item, true);
    EXPECT_EQ(Attribute(item, "parametersteps"), "<absent>");
    item.SetAttribute("parametersteps", "9");
    KivParameterSettings::Store(mixed.table, item, false);
    EXPECT_EQ(mixed.records[1].values.asInteger.value, 4);
}

}  // namespace
