#include <gtest/gtest.h>

#include "base/kiv_exception.h"
#include "base/xml/kiv_xml_item.h"
#include "base/xml/kiv_xml_item_iterator.h"
#include "tests/support/kiv_test_print.h"

namespace {

KivString MessageOf(void (*action)(KivXMLItem&), KivXMLItem& item) {
    try {
        action(item);
    } catch (const KivException& exception) {
        return exception.GetMessage();
    }
    return "no failure";
}

TEST(XMLItem, LooksUpAttributesFoldedAndCachesTheLastHit) {
    KivXMLItem item("item");
    item.SetAttribute("gain", "1");
    item.SetAttribute(KivString::FromUTF8("\xC3\xA9t\xC3\xA9"), "summer");
    item.SetAttribute("Attack", "2");

    EXPECT_TRUE(item.HasAttribute("GAIN"));
    EXPECT_EQ(item.GetAttribute(), KivString("1"));
    EXPECT_TRUE(item.HasAttribute("ETE"));
    EXPECT_EQ(item.GetAttribute(), KivString("summer"));
    EXPECT_EQ(item.GetAttribute("attack"), KivString("2"));

    EXPECT_FALSE(item.HasAttribute("release"));
    EXPECT_EQ(MessageOf([](KivXMLItem& i) { i.GetAttribute(); }, item),
              KivString("There is no attribute in the cache. Previous call to HasAttribute probably did not succeed."));
    try {
        item.GetAttribute("release");
        ADD_FAILURE();
    } catch (const KivException& exception) {
        EXPECT_EQ(exception.GetMessage(), KivString("Could not find required attribute (release)."));
        EXPECT_EQ(exception.GetCode(), 0);
    }

    // An insertion moves the attributes behind it: the cache must not point at another one.
    EXPECT_TRUE(item.HasAttribute("gain"));
    item.SetAttribute("bias", "0");
    EXPECT_THROW(item.GetAttribute(), KivException);
}

TEST(XMLItem, FindsTheFirstSubItemOfANameAndCachesIt) {
    KivXMLItem item("root");
    KivXMLItem& first = item.AddSubItem("Preset");
    KivXMLItem& second = item.AddSubItem("preset");
    EXPECT_EQ(first.GetParent(), &item);

    EXPECT_TRUE(item.HasSubItem("PRESET"));
    EXPECT_EQ(&item.GetSubItem(), &first);
    EXPECT_EQ(&item.GetSubItem("preset"), &first);
    EXPECT_NE(&first, &second);

    EXPECT_FALSE(item.HasSubItem("folder"));
    EXPECT_EQ(MessageOf([](KivXMLItem& i) { i.GetSubItem(); }, item),
              KivString("There is no subitem in the cache. Previous call to HasSubItem probably did not succeed."));
    try {
        item.GetSubItem("folder");
        ADD_FAILURE();
    } catch (const KivException& exception) {
        EXPECT_EQ(exception.GetMessage(), KivString("Could not find required subitem (folder)."));
        EXPECT_EQ(exception.GetCode(), 0);
    }
}

TEST(XMLItem, IteratesSubItemsInDocumentOrderOptionallyByName) {
    KivXMLItem item("root");
    item.AddSubItem("a").SetText("1");
    item.AddSubItem("b").SetText("2");
    item.AddSubItem("A").SetText("3");

    KivXMLItemIterator iterator;
    EXPECT_EQ(MessageOf([](KivXMLItem&) { KivXMLItemIterator().Next(); }, item),
              KivString("XML item iterator has not been initialized."));
    EXPECT_THROW(iterator.Current(), KivException);

    KivString seen;
    for (iterator.Start(item); iterator.Next();) seen.Append(iterator.Current().GetText());
    EXPECT_EQ(seen, KivString("123"));
    EXPECT_FALSE(iterator.Next());

    seen.Clear();
    for (iterator.Start(item, "a"); iterator.Next();) seen.Append(iterator.Current().GetText());
    EXPECT_EQ(seen, KivString("13"));
}

TEST(XMLItem, TakesOverContentsAndDeletesDeepTreesWithoutRecursion) {
    KivXMLItem source("source");
    source.SetAttribute("k", "v");
    source.SetText("t");
    KivXMLItem& child = source.AddSubItem("child");

    KivXMLItem target("target");
    target.AddSubItem("old");
    target.TakeContents(source);
    EXPECT_EQ(target.GetName(), KivString("source"));
    EXPECT_EQ(target.GetAttribute("k"), KivString("v"));
    EXPECT_EQ(&target.GetSubItem("child"), &child);
    EXPECT_EQ(child.GetParent(), &target);
    EXPECT_EQ(source.GetSubItemCount(), 0);
    EXPECT_TRUE(source.GetName().IsEmpty());

    auto* deep = new KivXMLItem("deep");
    KivXMLItem* item = deep;
    for (int level = 0; level < 200000; ++level) item = &item->AddSubItem("d");
    delete deep;  // a recursive destructor would overflow the stack here
}

}  // namespace
