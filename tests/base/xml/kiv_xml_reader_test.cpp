#include <gtest/gtest.h>

#include "base/xml/kiv_ml_text_source.h"
#include "base/xml/kiv_xml_item.h"
#include "base/xml/kiv_xml_parser.h"
#include "tests/base/xml/kiv_xml_test_support.h"
#include "tests/support/kiv_test_print.h"

namespace {

const std::string kHead = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

TEST(XMLReader, BuildsTreeWithSortedAttributesTextAndSubItems) {
    KivXMLItem root;
    LoadXML(root, kHead +
                      "<settings zeta=\"1\" alpha=\"2\" Mid=\"3\">\n"
                      "\t<preset name=\"A\">first</preset>\n"
                      "\t<preset name=\"B\"/>\n"
                      "\t<other/>\n"
                      "</settings>\n");
    EXPECT_EQ(root.GetName(), KivString("settings"));
    EXPECT_EQ(root.GetParent(), nullptr);
    ASSERT_EQ(root.GetAttributeCount(), 3);
    EXPECT_EQ(root.GetAttributeAt(0).name, KivString("alpha"));
    EXPECT_EQ(root.GetAttributeAt(1).name, KivString("Mid"));
    EXPECT_EQ(root.GetAttributeAt(2).name, KivString("zeta"));
    ASSERT_EQ(root.GetSubItemCount(), 3);
    EXPECT_EQ(root.GetSubItemAt(0).GetText(), KivString("first"));
    EXPECT_EQ(root.GetSubItemAt(1).GetAttribute("name"), KivString("B"));
    EXPECT_EQ(root.GetSubItemAt(2).GetParent(), &root);
    EXPECT_TRUE(root.GetText().IsEmpty());
}

TEST(XMLReader, MatchesClosingTagsAndEntitiesIgnoringCaseAndAccents) {
    KivXMLItem root;
    LoadXML(root, "<Caf\xC3\xA9><b>x</B></CAFE>");
    EXPECT_EQ(root.GetName(), KivString::FromUTF8("Caf\xC3\xA9"));
    EXPECT_EQ(root.GetSubItemAt(0).GetText(), KivString("x"));

    LoadXML(root, "<a v=\"&AMP;&Lt;&gt;&apos;&quot;&#10;&unknown;&amp\">&lt;b&gt; &amp;&amp; c</a>");
    EXPECT_EQ(root.GetAttribute("v"), KivString("&<>'\"\n&unknown;&amp"));
    EXPECT_EQ(root.GetText(), KivString("<b> && c"));

    // Decoding is a single pass: an escaped entity name stays an entity name.
    LoadXML(root, "<a>&amp;lt;&amp;#10;</a>");
    EXPECT_EQ(root.GetText(), KivString("&lt;&#10;"));
}

TEST(XMLReader, ParsesMarkupHeldInAString) {
    KivMLTextSource source(KivString::FromUTF8("<gui>\n<button label=\"O&amp;K\"/>\n</gui>\n"));
    KivLibraryInternals::KivXMLParser parser;
    parser.Parse(source);
    KivXMLItem& root = parser.GetDocument();
    EXPECT_EQ(root.GetName(), KivString("gui"));
    EXPECT_EQ(root.GetSubItem("button").GetAttribute("label"), KivString("O&K"));
}

TEST(XMLReader, JoinsTextLinesAndKeepsCDataUnchanged) {
    KivXMLItem root;
    LoadXML(root, "<a>  first line  \n\t\tsecond   line\n  <b/>  third\n</a>");
    EXPECT_EQ(root.GetText(), KivString("first line second   line third"));

    LoadXML(root, "<a>before <![CDATA[ x &amp; <y>\n  z]] ]]> after</a>");
    EXPECT_EQ(root.GetText(), KivString("before x &amp; <y>\n  z]] after"));

    LoadXML(root, "<a><![cdata[]]><![CDATA[ \n ]]></a>");
    EXPECT_TRUE(root.GetText().IsEmpty());

    // Entities at the edges of a piece are content, the white space of the file is not.
    LoadXML(root, "<a>\t&#10;first&#10; \n second</a>");
    EXPECT_EQ(root.GetText(), KivString("\nfirst\n second"));
}

TEST(XMLReader, ReadsValuesAndTagsSpanningLines) {
    KivXMLItem root;
    LoadXML(root,
            "<a\n  first = \"one\n two\"\n  second=bare third=\"\"\n  />");
    EXPECT_EQ(root.GetAttribute("first"), KivString("one\n two"));
    EXPECT_EQ(root.GetAttribute("second"), KivString("bare"));
    EXPECT_TRUE(root.GetAttribute("third").IsEmpty());
    EXPECT_EQ(root.GetSubItemCount(), 0);

    // Single quotes do not delimit a value; a later attribute of the same name wins.
    LoadXML(root, "<a q='x' q2=1 q2=2/>");
    EXPECT_EQ(root.GetAttribute("q"), KivString("'x'"));
    EXPECT_EQ(root.GetAttribute("Q2"), KivString("2"));
}

TEST(XMLReader, SkipsCommentsAndStopsAtTheEndOfTheRootElement) {
    KivXMLItem root;
    LoadXML(root, "<!-- head -->\n<a><!-- a <b> - -- ->\n still comment --><c/></a> trailing <garbage");
    EXPECT_EQ(root.GetSubItemCount(), 1);
    EXPECT_EQ(root.GetSubItemAt(0).GetName(), KivString("c"));
    EXPECT_TRUE(root.GetText().IsEmpty());

    // The end of the data ends the scan, even inside open elements.
    LoadXML(root, "<a><b>text");
    EXPECT_EQ(root.GetSubItemAt(0).GetText(), KivString("text"));
}

TEST(XMLReader, SwitchesTheCodecNamedByTheProcessingInstruction) {
    KivXMLItem root;
    // 0xE9 is e-acute in ISO-8859-1 but no valid UTF-8.
    LoadXML(root, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<a>caf\xE9</a>");
    EXPECT_EQ(root.GetText(), KivString::FromUTF8("caf\xC3\xA9"));

    // The UTF-8 byte order mark at the head is no character.
    LoadXML(root, "\xEF\xBB\xBF<a>x</a>");
    EXPECT_EQ(root.GetName(), KivString("a"));

    LoadFailure failure = LoadFailureOf("<?xml encoding=\"klingon\"?><a/>");
    EXPECT_EQ(failure.message, "No codec found for encoding klingon.");
}

TEST(XMLReader, LoadLeavesTheItemUnchangedOnFailure) {
    KivXMLItem root;
    LoadXML(root, "<keep v=\"1\"><sub/></keep>");
    EXPECT_THROW(LoadXML(root, "<other><sub></other>"), KivException);
    EXPECT_EQ(root.GetName(), KivString("keep"));
    EXPECT_EQ(root.GetSubItemCount(), 1);
}

void ExpectMalformed(const std::string& document, const std::string& message) {
    LoadFailure failure = LoadFailureOf(document);
    EXPECT_EQ(failure.message, "Invalid file contents. " + message) << document;
    EXPECT_EQ(failure.code, 256) << document;
}

TEST(XMLReader, RaisesTheFrameworkMessagesForMalformedMarkup) {
    ExpectMalformed("<a></a b>", "Invalid closing element syntax.");
    ExpectMalformed("<a></a", "Invalid closing element syntax.");
    ExpectMalformed("<a><!DOCTYPE x></a>", "Invalid special element sequence.");
    ExpectMalformed("<a><![CDATUM[x]]></a>", "Invalid special element sequence.");
    ExpectMalformed("<a><![CDATA", "Invalid special element sequence.");
    ExpectMalformed("<a>< b/></a>", "No element name found.");
    ExpectMalformed("<>", "No element name found.");
    ExpectMalformed("<a b c/>", "Invalid character found where attribute expected.");
    ExpectMalformed("<a b/>", "Invalid character found where attribute expected.");
    ExpectMalformed("<a =\"1\"/>", "Special character found where attribute expected.");
    ExpectMalformed("<a b=\"1\"\"c\"/>", "Special character found where attribute expected.");
    ExpectMalformed("<a b=\"1\n\n/>", "No ending delimiter found.");
    ExpectMalformed("<a><!-- never closed", "No ending delimiter found.");
    ExpectMalformed("<a><![CDATA[ never closed ]]", "No ending delimiter found.");
    ExpectMalformed("<a b=\"1\"/=", "Invalid element finishing sequence.");
    ExpectMalformed("<a b=\"1\"", "Invalid element finishing sequence.");
    ExpectMalformed("<?xml version=\"1.0\">", "Invalid element finishing sequence.");
    ExpectMalformed("<a><b></a>", "Invalid closing element name.");
    ExpectMalformed("</a>", "Invalid closing element name.");
}

TEST(XMLReader, RaisesTheDocumentLevelMessages) {
    LoadFailure outside = LoadFailureOf("stray <a/>");
    EXPECT_EQ(outside.message, "Text outside of any element.");
    EXPECT_EQ(outside.code, 0);
    EXPECT_EQ(LoadFailureOf(kHead).message, "The XML does not contain any elements.");
    EXPECT_EQ(LoadFailureOf("").message, "The XML does not contain any elements.");
    EXPECT_EQ(LoadFailureOf("  \n <!-- only a comment -->\n").message, "The XML does not contain any elements.");
}

}  // namespace
