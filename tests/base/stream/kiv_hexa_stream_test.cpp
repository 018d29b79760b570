#include "base/stream/kiv_hexa_stream.h"

#include <gtest/gtest.h>

#include <string>

#include "base/kiv_exception.h"
#include "base/stream/kiv_memory_stream.h"
#include "tests/support/kiv_test_print.h"

namespace {

std::string ContentsOf(const KivMemoryStream& stream) {
    return std::string(reinterpret_cast<const char*>(stream.GetData()), static_cast<size_t>(stream.GetLength()));
}

KivMemoryStream TextStream(const std::string& text) {
    return KivMemoryStream(KivByteBuffer::Copy(text.data(), static_cast<int32_t>(text.size())));
}

}  // namespace

TEST(KivHexaStream, EncodesUpperCaseHighNibbleFirst) {
    KivMemoryStream target;
    KivHexaStream hex(&target);
    const uint8_t bytes[] = {0x00, 0xAB, 0xFF};
    hex.Write(bytes, 3);
    EXPECT_EQ(ContentsOf(target), "00ABFF");
    EXPECT_EQ(hex.GetPosition(), 3);

    std::string many;
    for (int index = 0; index < 300; ++index) many += static_cast<char>(index);
    hex.Write(many.data(), 300);  // crosses the 128-byte pieces
    EXPECT_EQ(target.GetLength(), 606);
    EXPECT_EQ(ContentsOf(target).substr(6 + 2 * 255, 6), "FF0001");
    target.Seek(6, KivStream::kFromStart);
    std::string back(300, '\0');
    EXPECT_EQ(hex.Read(back.data(), 300), 300);
    EXPECT_EQ(back, many);
}

TEST(KivHexaStream, DecodesPairsAndReportsHalfSizes) {
    KivMemoryStream target = TextStream("00ABFF");
    KivHexaStream hex(&target);
    uint8_t bytes[8] = {};
    EXPECT_EQ(hex.Read(bytes, 8), 3);
    EXPECT_EQ(bytes[0], 0x00);
    EXPECT_EQ(bytes[1], 0xAB);
    EXPECT_EQ(bytes[2], 0xFF);
    EXPECT_TRUE(hex.IsEnd());

    KivMemoryStream ten = TextStream("0123456789");
    KivHexaStream sized(&ten);
    EXPECT_EQ(sized.GetSize(), 5);
    sized.Seek(2, KivStream::kFromStart);
    EXPECT_EQ(ten.GetPosition(), 4);
    EXPECT_EQ(sized.GetPosition(), 2);
    EXPECT_EQ(sized.Read(bytes, 1), 1);
    EXPECT_EQ(bytes[0], 0x45);

    KivMemoryStream odd = TextStream("abc");
    KivHexaStream lower(&odd);
    EXPECT_EQ(lower.Read(bytes, 4), 1);  // the odd last character does not count
    EXPECT_EQ(bytes[0], 0xAB);
}

TEST(KivHexaStream, WithoutTargetAndTruncate) {
    KivHexaStream hex;
    EXPECT_FALSE(hex.IsOpen());
    try {
        hex.Truncate();
        ADD_FAILURE() << "no exception";
    } catch (const KivException& error) {
        EXPECT_EQ(error.GetCode(), 1);
        EXPECT_EQ(error.GetMessage(), KivString("Service \"truncate stream\" is not implemented."));
    }
}
