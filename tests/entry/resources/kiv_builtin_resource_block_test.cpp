#include "entry/resources/kiv_builtin_resource_block.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/kiv_byte_buffer.h"
#include "base/stream/kiv_memory_stream.h"
#include "base/xml/kiv_xml_item.h"
#include "entry/resources/kiv_resource_set.h"
#include "tests/support/kiv_test_print.h"

namespace {

constexpr int32_t kIndexLength = 1120;
constexpr int32_t kDataLength = 24488;
constexpr int32_t kTgaHeader = 18;
constexpr int32_t kTgaFooter = 26;

struct Expected {
    const char* element;
    const char* id;
    int32_t offset;
    int32_t size;
};

// The stated table: logo, six band buttons of 528 bytes from 4140 on, nine filter shapes
// of 1708 bytes from 7308 on, then the point handle.
std::vector<Expected> StatedResources() {
    std::vector<Expected> table{{"resource", "logo", 0, 4140}};
    const char* buttons[] = {"MultiBandMute0", "MultiBandMute1",   "MultiBandSolo0",
                             "MultiBandSolo1", "MultiBandBypass0", "MultiBandBypass1"};
    for (int32_t i = 0; i < 6; ++i) table.push_back({"resourceMultiBand", buttons[i], 4140 + 528 * i, 528});
    const char* shapes[] = {"Eqbandpass",  "Eqhighpass", "Eqhighshelf", "Eqlowpass", "Eqlowshelf",
                            "Eqhighslope", "Eqlowslope", "Eqnotch",     "Eqpeak"};
    for (int32_t i = 0; i < 9; ++i) table.push_back({"resourceEq", shapes[i], 7308 + 1708 * i, 1708});
    table.push_back({"resourceEq", "Eqeqpoint", 22680, 1808});
    return table;
}

uint32_t WordAt(int32_t offset) {
    uint32_t word;
    std::memcpy(&word, kKivBuiltinResourceBlock + offset, 4);
    return word;
}

int32_t Little16(const uint8_t* bytes) { return bytes[0] | (bytes[1] << 8); }

void LoadBuiltin(KivResourceSet& set) {
    KivMemoryStream stream(KivByteBuffer::Borrow(const_cast<uint8_t*>(kKivBuiltinResourceBlock),
                                                 kKivBuiltinResourceBlockSize));
    set.Load(stream);
}

}  // namespace

TEST(KivBuiltinResourceBlock, ContainerHeaderGivesTheStatedLengths) {
    EXPECT_EQ(kKivBuiltinResourceBlockSize, 25620);
    EXPECT_EQ(WordAt(0), 0u);
    EXPECT_EQ(WordAt(4), 1120u);
    EXPECT_EQ(WordAt(8), 24488u);
}

TEST(KivBuiltinResourceBlock, IndexListsTheElementsInTheStatedOrder) {
    KivMemoryStream index(KivByteBuffer::Copy(kKivBuiltinResourceBlock + 12, kIndexLength));
    KivXMLItem document;
    document.Load(index);
    EXPECT_EQ(document.GetName(), "solution");
    ASSERT_EQ(document.GetSubItemCount(), 1);
    const KivXMLItem& resources = document.GetSubItem("resources");
    std::vector<Expected> table = StatedResources();
    ASSERT_EQ(resources.GetSubItemCount(), 1 + static_cast<int32_t>(table.size()));
    EXPECT_EQ(resources.GetSubItemAt(0).GetName(), "xresource");
    for (size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(resources.GetSubItemAt(static_cast<int32_t>(i) + 1).GetName(), table[i].element) << table[i].id;
}

TEST(KivBuiltinResourceBlock, EveryResourceIsFoundByIdAtItsStatedPlace) {
    KivResourceSet set;
    LoadBuiltin(set);
    ASSERT_EQ(set.GetResourceCount(), 17);  // logo, 6 buttons, 9 shapes, 1 handle
    ASSERT_EQ(set.GetExternalFileCount(), 1);
    const KivExternalResourceFile* style = set.FindExternalFile("kivstyle");
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->fileName, "kivstyle.kivrf");
    for (const Expected& expected : StatedResources()) {
        const KivIndexedResource* resource = set.FindResource(expected.id);
        ASSERT_NE(resource, nullptr) << expected.id;
        EXPECT_EQ(resource->offset, expected.offset) << expected.id;
        EXPECT_EQ(resource->size, expected.size) << expected.id;
        EXPECT_FALSE(resource->compressed) << expected.id;
    }
    EXPECT_EQ(set.FindResource("EQPEAK"), set.FindResource("Eqpeak"));  // ids are folded
    EXPECT_EQ(set.FindResource("kivstyle"), nullptr);
}

TEST(KivBuiltinResourceBlock, DataIsUsedInPlace) {
    KivResourceSet set;
    LoadBuiltin(set);
    EXPECT_TRUE(set.GetData().IsBorrowed());
    EXPECT_EQ(set.GetData().Data(), kKivBuiltinResourceBlock + 12 + kIndexLength);
    EXPECT_EQ(set.GetData().Size(), kDataLength);
}

TEST(KivBuiltinResourceBlock, EveryBodyIsAnUncompressed32BitTgaOfExactlyItsSize) {
    KivResourceSet set;
    LoadBuiltin(set);
    for (int32_t i = 0; i < set.GetResourceCount(); ++i) {
        const KivIndexedResource& resource = set.GetResourceAt(i);
        const uint8_t* tga = set.GetBody(resource);
        SCOPED_TRACE(resource.id.ToUTF8());
        EXPECT_EQ(tga[0], 0);   // no image id
        EXPECT_EQ(tga[1], 0);   // no colour map
        EXPECT_EQ(tga[2], 2);   // uncompressed true colour
        EXPECT_EQ(tga[16], 32);
        EXPECT_EQ(tga[17] & 0x0F, 8);  // alpha bits
        int32_t width = Little16(tga + 12), height = Little16(tga + 14);
        EXPECT_EQ(kTgaHeader + width * height * 4 + kTgaFooter, resource.size);
        const uint8_t* footer = tga + resource.size - kTgaFooter;
        EXPECT_EQ(std::memcmp(footer + 8, "TRUEVISION-XFILE.", 18), 0);
    }
}
