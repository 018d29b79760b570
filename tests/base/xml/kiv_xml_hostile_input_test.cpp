// Documents a host or a user may hand over that the writer would never produce: an element
// with a flood of attributes, and a document saved as UTF-16.
#include <gtest/gtest.h>

#include <string>

#include "base/xml/kiv_xml_item.h"
#include "tests/base/xml/kiv_xml_test_support.h"
#include "tests/support/kiv_test_print.h"

namespace {

// One element whose attribute names come in descending order, so that each one sorts in
// front of every attribute before it.
std::string Flood(int32_t count) {
    std::string bytes = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<flood";
    for (int32_t i = count; i > 0; --i) bytes += " a" + std::to_string(i) + "=\"" + std::to_string(i % 7) + "\"";
    return bytes + "/>\n";
}

// How fast a flood loads is measured by the XML and instance benchmarks (attribute floods of
// 20,000 and 100,000, also through effSetChunk); here, that it loads whole and in order.
TEST(XMLHostileInput, AnAttributeFloodLoadsWholeAndSorted) {
    KivXMLItem item;
    LoadXML(item, Flood(100000));
    ASSERT_EQ(item.GetAttributeCount(), 100000);
    // Sorted as the text sorts: "a1" < "a10" < "a100" < ... < "a99999".
    EXPECT_EQ(item.GetAttributeAt(0).name, KivString("a1"));
    EXPECT_EQ(item.GetAttributeAt(1).name, KivString("a10"));
    EXPECT_EQ(item.GetAttributeAt(99999).name, KivString("a99999"));
    EXPECT_EQ(item.GetAttribute("a99994"), KivString("6"));  // 99994 = 7 * 14284 + 6
    EXPECT_EQ(item.GetAttribute("a99995"), KivString("0"));  // 99995 = 7 * 14285
}

TEST(XMLHostileInput, ManyAttributesAtOnceMeanWhatSettingThemInTurnMeans) {
    // Repeated names (in any case) keep their first spelling and take their last value.
    std::string bytes = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<e";
    for (int i = 20; i > 0; --i) bytes += " n" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    bytes += " N5=\"five\" n7=\"seven\"/>\n";
    KivXMLItem item;
    LoadXML(item, bytes);
    ASSERT_EQ(item.GetAttributeCount(), 20);
    EXPECT_EQ(item.GetAttribute("n5"), KivString("five"));
    EXPECT_EQ(item.GetAttribute("n7"), KivString("seven"));
    bool sawFive = false;
    for (int32_t i = 0; i < item.GetAttributeCount(); ++i) {
        if (item.GetAttributeAt(i).name.EqualsFolded(KivString("n5"))) {
            EXPECT_EQ(item.GetAttributeAt(i).name, KivString("n5"));
            sawFive = true;
        }
        if (i > 0) {
            EXPECT_LT(item.GetAttributeAt(i - 1).name.CompareFolded(item.GetAttributeAt(i).name), 0);
        }
    }
    EXPECT_TRUE(sawFive);
}

TEST(XMLHostileInput, ADocumentSavedAsUtf16ReadsBack) {
    KivXMLItem original("settings");
    original.SetAttribute("name", KivString::FromU16(u"\u00C9t\u00E9 \u97F3 <&> \"q\""));
    KivXMLItem& child = original.AddSubItem("notes");
    child.SetText(KivString::FromU16(u"line with \u00FC and \u4E2D"));
    child.SetAttribute("empty", "");
    const std::string utf16 = SaveXML(original, "utf-16");
    ASSERT_GE(utf16.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(utf16[0]), 0xFFu);
    EXPECT_EQ(static_cast<unsigned char>(utf16[1]), 0xFEu);
    KivXMLItem loaded;
    LoadXML(loaded, utf16);
    EXPECT_EQ(loaded.GetName(), KivString("settings"));
    EXPECT_EQ(loaded.GetAttribute("name"), original.GetAttribute("name"));
    ASSERT_EQ(loaded.GetSubItemCount(), 1);
    EXPECT_EQ(loaded.GetSubItemAt(0).GetText(), child.GetText());
    EXPECT_EQ(loaded.GetSubItemAt(0).GetAttribute("empty"), KivString(""));
    // Saved again in the same encoding, the same bytes.
    EXPECT_EQ(SaveXML(loaded, "utf-16"), utf16);
    // And as UTF-8 the same document as the original's.
    EXPECT_EQ(SaveXML(loaded), SaveXML(original));
}

}  // namespace
