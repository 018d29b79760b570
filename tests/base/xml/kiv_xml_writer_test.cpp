#include <gtest/gtest.h>

#include <string>

#include "base/xml/kiv_xml_item.h"
#include "tests/base/xml/kiv_xml_test_support.h"
#include "tests/support/kiv_test_print.h"

namespace {

const std::string kHead = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

TEST(XMLWriter, IndentsNestedItemsAndUsesTheShortForms) {
    KivXMLItem root("l0");
    KivXMLItem* item = &root;
    for (const char* name : {"l1", "l2", "l3", "l4"}) item = &item->AddSubItem(name);
    item->SetText("deep");
    root.AddSubItem("empty");
    EXPECT_EQ(SaveXML(root), kHead +
                                 "<l0>\n"
                                 "\t<l1>\n"
                                 "\t\t<l2>\n"
                                 "\t\t\t<l3>\n"
                                 "\t\t\t\t<l4>deep</l4>\n"
                                 "\t\t\t</l3>\n"
                                 "\t\t</l2>\n"
                                 "\t</l1>\n"
                                 "\t<empty/>\n"
                                 "</l0>\n");

    KivXMLItem mixed("m");
    mixed.SetText("text");
    mixed.AddSubItem("s");
    EXPECT_EQ(SaveXML(mixed), kHead + "<m>text\n\t<s/>\n</m>\n");
}

TEST(XMLWriter, CapsIndentationAtThirtyTwoTabs) {
    KivXMLItem root("r");
    KivXMLItem* item = &root;
    for (int level = 1; level <= 34; ++level) item = &item->AddSubItem("i");
    std::string saved = SaveXML(root);
    EXPECT_NE(saved.find("\n" + std::string(32, '\t') + "<i>\n" + std::string(32, '\t') + "<i/>\n"), std::string::npos);
    EXPECT_EQ(saved.find(std::string(33, '\t')), std::string::npos);
}

TEST(XMLWriter, WritesAttributesSortedAndEscapesAllSixEntities) {
    KivXMLItem root("r");
    root.SetAttribute("zeta", "z");
    root.SetAttribute("Beta", "b");
    root.SetAttribute("alpha", "a");
    root.SetAttribute("BETA", "replaced");
    root.SetAttribute("value", "a&b<c>d'e\"f\ng");
    root.SetText("x & y < z");
    EXPECT_EQ(SaveXML(root), kHead +
                                 "<r alpha=\"a\" Beta=\"replaced\" value=\"a&amp;b&lt;c&gt;d&apos;e&quot;f&#10;g\" "
                                 "zeta=\"z\">x &amp; y &lt; z</r>\n");

    KivXMLItem loaded;
    LoadXML(loaded, SaveXML(root));
    EXPECT_EQ(loaded.GetAttribute("value"), KivString("a&b<c>d'e\"f\ng"));
    EXPECT_EQ(loaded.GetText(), KivString("x & y < z"));
}

TEST(XMLWriter, WrapsLongTextAtSpacesBetweenWords) {
    // The space at 58 is too early; the one at 60 is the first cut.
    const std::string sixty = "0123456789012345678901234567890123456789012345678901234567 9";
    KivXMLItem root("r");
    KivXMLItem& leaf = root.AddSubItem("leaf");
    leaf.SetText(KivString::FromUTF8(sixty + " second  line beginning here is long enough to be cut again at the end x"));
    EXPECT_EQ(SaveXML(root), kHead +
                                 "<r>\n"
                                 "\t<leaf>" + sixty + "\n"
                                 "\t\tsecond  line beginning here is long enough to be cut again at\n"
                                 "\t\tthe end x</leaf>\n"
                                 "</r>\n");

    // A space next to other white space is no cut: reading would not restore the text.
    KivXMLItem spaced("s");
    spaced.SetText(KivString::FromUTF8(std::string(60, 'a') + "  b \tc d"));
    EXPECT_EQ(SaveXML(spaced), kHead + "<s>" + std::string(60, 'a') + "  b \tc\n\td</s>\n");
}

TEST(XMLWriter, RoundTripsToIdenticalBytes) {
    KivXMLItem root("settings");
    root.SetAttribute("version", "2");
    KivXMLItem& preset = root.AddSubItem("preset");
    preset.SetAttribute("name", KivString::FromUTF8("Caf\xC3\xA9 \"quoted\"\nsecond line"));
    preset.SetText(KivString::FromUTF8(
        "A long description that certainly runs past sixty characters, so that the writer has to "
        "wrap it over several lines, with <markup> & entities \xE2\x82\xAC in it."));
    preset.AddSubItem("parameter").SetAttribute("value", "0.500000000000");
    preset.AddSubItem("notes").SetText("first line\nsecond line\n");
    root.AddSubItem("empty");

    std::string first = SaveXML(root);
    KivXMLItem loaded;
    LoadXML(loaded, first);
    EXPECT_EQ(loaded.GetSubItem("preset").GetText(), preset.GetText());
    EXPECT_EQ(SaveXML(loaded), first);
}

TEST(XMLWriter, WritesTheNamedEncoding) {
    KivXMLItem root("r");
    root.SetText(KivString::FromUTF8("\xC3\xA9"));
    std::string utf16 = SaveXML(root, "utf-16");
    ASSERT_GE(utf16.size(), 4u);
    EXPECT_EQ(utf16.substr(0, 4), std::string("\xFF\xFE<\0", 4));

    EXPECT_EQ(SaveXML(root, "ISO-8859-1"), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<r>\xE9</r>\n");
    KivXMLItem loaded;
    LoadXML(loaded, SaveXML(root, "ISO-8859-1"));
    EXPECT_EQ(loaded.GetText(), root.GetText());
}

TEST(XMLWriter, DropsLoneSurrogatesWithoutLosingMarkup) {
    KivXMLItem root("r");
    root.SetAttribute("v", KivString::FromU16(u"a\xD800"));
    root.SetText(KivString::FromU16(u"\xDC00x\xD83D\xDE00"));
    EXPECT_EQ(SaveXML(root), kHead + "<r v=\"a\">x\xF0\x9F\x98\x80</r>\n");
}

TEST(XMLWriter, RefusesItemsWithoutName) {
    KivXMLItem root("r");
    root.AddSubItem("");
    try {
        SaveXML(root);
        ADD_FAILURE() << "an empty name was written";
    } catch (const KivException& exception) {
        EXPECT_EQ(exception.GetMessage(), KivString("XML entity cannot have empty name."));
    }
}

}  // namespace
