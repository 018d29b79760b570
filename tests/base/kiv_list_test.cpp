#include <gtest/gtest.h>

#include <utility>

#include "base/kiv_list.h"
#include "base/kiv_string.h"
#include "tests/support/kiv_test_print.h"

namespace {

KivString Joined(const KivList<KivString, 2>& list) {
    KivString text;
    for (const KivString& element : list) text.Append(element);
    return text;
}

TEST(KivList, KeepsOrderThroughInsertRemoveAndGrowthBeyondTheInlineElements) {
    KivList<KivString, 2> list;
    list.Add(KivString::FromUTF8("b"));
    list.Add(KivString::FromUTF8("d"));
    list.Insert(0, "a");  // a literal element survives the move to the heap block
    list.Insert(2, KivString::FromUTF8("c"));
    list.Insert(4, KivString::FromUTF8("e"));
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(Joined(list), KivString("abcde"));

    list.RemoveAt(0);
    list.RemoveAt(3);
    EXPECT_EQ(Joined(list), KivString("bcd"));
    EXPECT_EQ(list.Last(), KivString("d"));
}

TEST(KivList, CopiesAndMovesIndependently) {
    KivList<KivString, 2> inlineList;
    inlineList.Add(KivString::FromUTF8("x"));
    KivList<KivString, 2> heapList;
    for (const char* letter : {"1", "2", "3"}) heapList.Add(KivString::FromUTF8(letter));

    KivList<KivString, 2> copy(heapList);
    copy[0].Append(u'!');
    EXPECT_EQ(Joined(heapList), KivString("123"));
    EXPECT_EQ(Joined(copy), KivString("1!23"));

    KivList<KivString, 2> movedHeap(std::move(heapList));
    KivList<KivString, 2> movedInline(std::move(inlineList));
    EXPECT_EQ(Joined(movedHeap), KivString("123"));
    EXPECT_EQ(Joined(movedInline), KivString("x"));
    EXPECT_TRUE(heapList.IsEmpty());    // NOLINT: a moved-from list is empty and usable
    EXPECT_TRUE(inlineList.IsEmpty());  // NOLINT

    movedInline = movedHeap;
    movedHeap.Clear();
    EXPECT_EQ(Joined(movedInline), KivString("123"));
    EXPECT_TRUE(movedHeap.IsEmpty());
}

}  // namespace
