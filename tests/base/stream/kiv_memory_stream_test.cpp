#include "base/stream/kiv_memory_stream.h"

#include <gtest/gtest.h>

#include <string>

#include "base/kiv_exception.h"
#include "tests/support/kiv_test_print.h"

namespace {

KivMemoryStream StreamOf(const std::string& bytes) {
    KivMemoryStream stream;
    stream.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.Seek(0, KivStream::kFromStart);
    return stream;
}

std::string ReadAll(KivStream& stream) {
    std::string result;
    char piece[7];
    for (int32_t got; (got = stream.Read(piece, sizeof piece)) > 0;) result.append(piece, static_cast<size_t>(got));
    return result;
}

}  // namespace

TEST(KivMemoryStream, CapacityGrowsFromFirstWriteByDoubling) {
    KivMemoryStream stream;
    char bytes[20] = {};
    stream.Write(bytes, 5);
    EXPECT_EQ(stream.GetCapacity(), 5);
    stream.Write(bytes, 1);
    EXPECT_EQ(stream.GetCapacity(), 10);
    stream.Write(bytes, 20);
    EXPECT_EQ(stream.GetCapacity(), 40);
    EXPECT_EQ(stream.GetSize(), 26);

    stream.SetCapacity(12);  // never shrinks, but cuts length and position
    EXPECT_EQ(stream.GetCapacity(), 40);
    EXPECT_EQ(stream.GetSize(), 12);
    EXPECT_EQ(stream.GetPosition(), 12);
    stream.Compact();
    EXPECT_EQ(stream.GetCapacity(), 12);
    stream.Clear();
    EXPECT_EQ(stream.GetCapacity(), 0);
    EXPECT_TRUE(stream.IsEnd());
}

TEST(KivMemoryStream, SeekIsClampedAndUsesLow32Bits) {
    KivMemoryStream empty;
    empty.Seek(10, KivStream::kFromStart);
    EXPECT_EQ(empty.GetPosition(), 0);
    empty.Write("x", 1);
    EXPECT_EQ(empty.GetSize(), 1);

    KivMemoryStream stream = StreamOf("0123456789");
    stream.Seek(-3, KivStream::kFromEnd);
    EXPECT_EQ(stream.GetPosition(), 7);
    stream.Seek(2, KivStream::kFromPosition);
    EXPECT_EQ(stream.GetPosition(), 9);
    stream.Seek(5, KivStream::kFromPosition);
    EXPECT_EQ(stream.GetPosition(), 10);
    stream.Seek(-50, KivStream::kFromPosition);
    EXPECT_EQ(stream.GetPosition(), 0);
    stream.Seek(0x100000004LL, KivStream::kFromStart);
    EXPECT_EQ(stream.GetPosition(), 4);
    EXPECT_EQ(*stream.GetCurrentPointer(), '4');
    try {
        stream.Seek(0, 3);
        ADD_FAILURE() << "no exception";
    } catch (const KivException& error) {
        EXPECT_EQ(error.GetCode(), 2);
        EXPECT_EQ(error.GetMessage(), KivString("Invalid seek origin."));
        EXPECT_TRUE(error.GetFirstText().IsEmpty());
    }
    EXPECT_EQ(stream.GetPosition(), 4);
}

TEST(KivMemoryStream, OverwriteInsideAndReadBack) {
    KivMemoryStream stream = StreamOf("abcdef");
    stream.Seek(4, KivStream::kFromStart);
    stream.Write("XYZ", 3);
    EXPECT_EQ(stream.GetSize(), 7);
    stream.Seek(0, KivStream::kFromStart);
    EXPECT_EQ(ReadAll(stream), "abcdXYZ");
    EXPECT_TRUE(stream.IsEnd());
    EXPECT_EQ(stream.Read(nullptr, 5), 0);
}

TEST(KivMemoryStream, ReadLineCodes) {
    KivMemoryStream stream = StreamOf("AB\r\nCD");
    char buffer[16];
    EXPECT_EQ(stream.ReadLine(buffer, 16), KivStream::kLineComplete);
    EXPECT_STREQ(buffer, "AB");
    EXPECT_EQ(stream.ReadLine(buffer, 16), KivStream::kLineComplete);
    EXPECT_STREQ(buffer, "CD");
    EXPECT_EQ(stream.GetPosition(), 6);
    EXPECT_EQ(stream.ReadLine(buffer, 16), KivStream::kLineNoData);
    EXPECT_STREQ(buffer, "");

    KivMemoryStream longLine = StreamOf("abcdef\n");
    EXPECT_EQ(longLine.ReadLine(buffer, 4), KivStream::kLineTruncated);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(longLine.ReadLine(buffer, 4), KivStream::kLineComplete);
    EXPECT_STREQ(buffer, "def");
    EXPECT_TRUE(longLine.IsEnd());
}

TEST(KivMemoryStream, ReadLineIntoTextWidensBytesWithSign) {
    std::string bytes(300, 'x');
    bytes += "\xC3\xA9\n\nlast";
    KivMemoryStream stream = StreamOf(bytes);
    KivString line;
    EXPECT_TRUE(stream.ReadLine(line));
    ASSERT_EQ(line.Length(), 302);
    EXPECT_EQ(line[300], char16_t(0xFFC3));
    EXPECT_EQ(line[301], char16_t(0xFFA9));
    EXPECT_TRUE(stream.ReadLine(line));  // an empty line is still a line
    EXPECT_TRUE(line.IsEmpty());
    stream.ReadRequiredLine(line);
    EXPECT_EQ(line, KivString("last"));
    EXPECT_FALSE(stream.ReadLine(line));
    try {
        stream.ReadRequiredLine(line);
        ADD_FAILURE() << "no exception";
    } catch (const KivException& error) {
        EXPECT_EQ(error.GetCode(), 256);
        EXPECT_EQ(error.GetMessage(), KivString("Could not load a line from stream."));
    }
}

TEST(KivMemoryStream, ValuesAreLittleEndianWithoutGaps) {
    KivMemoryStream stream;
    stream.WriteValue<int32_t>(0x01020304);
    stream.WriteValue<double>(1.0);
    stream.WriteValue<uint8_t>(0xAB);
    ASSERT_EQ(stream.GetSize(), 13);
    const uint8_t expected[13] = {4, 3, 2, 1, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0xAB};
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.GetData()), 13),
              std::string(reinterpret_cast<const char*>(expected), 13));
    stream.Seek(0, KivStream::kFromStart);
    EXPECT_EQ(stream.ReadValue<int32_t>(), 0x01020304);
    EXPECT_EQ(stream.ReadValue<double>(), 1.0);
    EXPECT_EQ(stream.ReadValue<uint8_t>(), 0xAB);
    try {
        stream.ReadValue<int16_t>();
        ADD_FAILURE() << "no exception";
    } catch (const KivException& error) {
        EXPECT_EQ(error.GetCode(), 256);
        EXPECT_EQ(error.GetMessage(), KivString("Could not read required data from stream."));
    }
}

TEST(KivMemoryStream, AttachedBufferIsCopiedBeforeWriting) {
    KivByteBuffer shared = KivByteBuffer::Copy("hello", 5);
    KivMemoryStream stream(shared);
    EXPECT_EQ(stream.GetSize(), 5);
    EXPECT_EQ(stream.GetPosition(), 0);
    stream.Write("J", 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(shared.Data()), 5), "hello");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.GetData()), 5), "Jello");
    EXPECT_EQ(stream.GetContents(), KivByteBuffer::Copy("Jello", 5));
}

TEST(KivMemoryStream, WriteStringAndLineAreUTF8) {
    KivMemoryStream stream;
    stream.WriteString(KivString::FromU16(u"A\u00E9\u20AC"));
    stream.WriteLine(KivString::FromU16(u"\U0001D11E"));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.GetData()), static_cast<size_t>(stream.GetSize())),
              "A\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E\n");
    stream.WriteFiller(1500);
    EXPECT_EQ(stream.GetSize(), 11 + 1500);
}
