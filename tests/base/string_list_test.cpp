#include <gtest/gtest.h>

#include <string>

#include "base/kiv_string_list.h"
#include "tests/support/kiv_test_print.h"

namespace {

std::string Joined(const KivStringList& list) {
    std::string joined;
    for (const KivString& text : list) joined += text.ToUTF8() + "|";
    return joined;
}

TEST(StringList, KeepsOrderThroughInsertRemoveAndGrowth) {
    KivStringList list;
    EXPECT_EQ(list.Add("Off"), 0);
    EXPECT_EQ(list.Add("On"), 1);
    list.Insert(1, "Auto");
    list.Insert(0, KivString::FromUTF8("Éte"));
    list.Insert(99, "Last");
    EXPECT_EQ(Joined(list), "Éte|Off|Auto|On|Last|");
    list.Remove(2);
    list.Remove(-1);
    list.Remove(4);
    EXPECT_EQ(Joined(list), "Éte|Off|On|Last|");
    EXPECT_EQ(list.IndexOf("On"), 2);
    EXPECT_EQ(list.IndexOf("on"), -1);
    EXPECT_EQ(list.IndexOfFolded("on"), 2);
    EXPECT_EQ(list.IndexOfFolded("ETE"), 0);
    // Inserting an item of the list itself while the storage grows.
    list.Insert(0, list[3]);
    EXPECT_EQ(Joined(list), "Last|Éte|Off|On|Last|");

    for (int i = 0; i < 100; ++i) list.Add(KivString::FromUTF8(std::to_string(i)));
    EXPECT_EQ(list.Count(), 105);
    EXPECT_EQ(list[104], KivString("99"));

    KivStringList copy(list);
    copy[0] = "changed";
    EXPECT_EQ(list[0], KivString("Last"));
    KivStringList moved(std::move(copy));
    EXPECT_EQ(moved[0], KivString("changed"));
    EXPECT_TRUE(copy.IsEmpty());
    moved = list;
    EXPECT_EQ(Joined(moved), Joined(list));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(moved.Count(), 105);
}

}  // namespace
