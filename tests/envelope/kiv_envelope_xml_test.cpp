#include <gtest/gtest.h>

#include "base/kiv_string.h"
#include "base/stream/kiv_memory_stream.h"
#include "base/xml/kiv_xml_item.h"
#include "envelope/kiv_envelope.h"
#include "envelope/kiv_envelope_computer.h"
#include "tests/support/kiv_test_print.h"

namespace {

// Loads an envelope from one element holding a single "Point" with the given attributes.
KivEnvelopePoint LoadOnePoint(std::initializer_list<std::pair<const char*, const char*>> attributes) {
    KivXMLItem element("graph");
    KivXMLItem& point = element.AddSubItem("Point");
    for (const auto& [name, value] : attributes) point.SetAttribute(name, value);
    KivEnvelope envelope;
    envelope.Load(element);
    EXPECT_EQ(envelope.GetPointCount(), 1);
    return envelope.GetPoint(0);
}

}  // namespace

TEST(EnvelopeXML, AttributesAreReadWithTheirDefaults) {
    KivEnvelopePoint old = LoadOnePoint({{"fixed", "1"}});
    EXPECT_EQ(old.flags, 13);
    EXPECT_EQ(LoadOnePoint({}).flags, 12);
    EXPECT_EQ(LoadOnePoint({{"Flags", "1"}, {"fixed", "0"}}).flags, 1);

    KivEnvelopePoint limited = LoadOnePoint({{"c", "1.7"}, {"cx", "-3"}});
    EXPECT_EQ(limited.curvature, 1.0);
    EXPECT_EQ(limited.horizontalCurvature, -1.0);
    EXPECT_EQ(limited.segmentType, 2);  // curved points default to type 2
    EXPECT_EQ(LoadOnePoint({}).segmentType, 1);

    KivEnvelopePoint locked = LoadOnePoint({{"Flags", "12"}, {"SmoothX1", "0.25"}, {"SmoothX2", "0.75"}});
    EXPECT_EQ(locked.rightSmoothness, 0.25);  // the sides are locked together: SmoothX2 skipped
    KivEnvelopePoint free = LoadOnePoint({{"Flags", "8"}, {"SmoothX1", "0.25"}, {"SmoothX2", "0.75"}});
    EXPECT_EQ(free.rightSmoothness, 0.75);
    EXPECT_EQ(LoadOnePoint({{"SmoothingType", "1"}, {"Type", "7"}}).smoothingKind, 1);
}

TEST(EnvelopeXML, DefaultsAreNotWritten) {
    KivEnvelope envelope;
    envelope.AddPoint(0.0, 0.0);
    KivEnvelopePoint& second = envelope.AddPoint(0.5, 0.123456789012345);
    second.curvature = -0.5;
    second.segmentType = 2;
    second.flags = 8;
    second.leftSmoothness = 0.1;
    second.rightSmoothness = 0.2;
    envelope.SetSnapToGridX(1);
    KivXMLItem element("graph");
    envelope.Store(element);

    EXPECT_EQ(element.GetAttribute("DrawingMode"), KivString("0"));
    EXPECT_EQ(element.GetAttribute("SnapToGridX"), KivString("1"));
    ASSERT_EQ(element.GetSubItemCount(), 2);
    EXPECT_EQ(element.GetSubItemAt(0).GetAttributeCount(), 0);
    const KivXMLItem& point = element.GetSubItemAt(1);
    // More than 12 significant digits, written so that they read back exactly.
    EXPECT_EQ(point.GetAttribute("y"), KivString("0.123456789012345"));
    EXPECT_EQ(point.GetAttribute("c"), KivString("-0.5"));
    EXPECT_FALSE(point.HasAttribute("Type"));  // 2 is the default for a curved point
    EXPECT_EQ(point.GetAttribute("Flags"), KivString("8"));
    EXPECT_EQ(point.GetAttribute("SmoothX2"), KivString("0.2"));
    EXPECT_FALSE(point.HasAttribute("cx"));
}

TEST(EnvelopeXML, RoundTripThroughTextCompilesToTheSameFunction) {
    KivEnvelope envelope;
    const int32_t types[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 1};
    for (int32_t i = 0; i < 10; ++i) {
        KivEnvelopePoint& point = envelope.AddPoint(i / 8.0, (i * 37 % 10) / 10.0);
        point.segmentType = types[i];
        point.curvature = i % 2 ? 0.5 : -0.375;
        point.horizontalCurvature = 0.25;
        point.leftSmoothness = 0.5;
        point.rightSmoothness = 0.25;
        point.flags = static_cast<uint8_t>(i % 2 ? 12 : 0);
    }
    envelope.SetDrawingMode(1);
    KivXMLItem stored("CustomAttackShape");
    envelope.Store(stored);
    KivMemoryStream stream;
    stored.Save(stream, "utf-8");
    stream.Seek(0, KivStream::kFromStart);
    KivXMLItem read;
    read.Load(stream);
    KivEnvelope loaded;
    loaded.Load(read);

    EXPECT_EQ(loaded.GetDrawingMode(), 1);
    KivEnvelopeComputer original, copy;
    original.Compile(envelope);
    copy.Compile(loaded);
    ASSERT_EQ(original.GetItemCount(), copy.GetItemCount());
    for (int i = -10; i <= 1200; ++i) EXPECT_EQ(original.Value(i / 1000.0), copy.Value(i / 1000.0)) << i;
}
