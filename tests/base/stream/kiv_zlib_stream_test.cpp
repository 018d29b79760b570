#include "base/stream/kiv_zlib_stream.h"

#include <gtest/gtest.h>

#include <string>

#include "base/kiv_exception.h"
#include "base/stream/kiv_memory_stream.h"
#include "tests/support/kiv_test_print.h"

namespace {

std::string SampleText(size_t size) {
    std::string text;
    uint32_t seed = 1;
    while (text.size() < size) {
        seed = seed * 214013u + 2531011u;
        text += "<param name=\"threshold\" value=\"" + std::to_string((seed >> 16) & 0x7FFF) + "\"/>\n";
    }
    text.resize(size);
    return text;
}

std::string Compress(const std::string& data, int32_t quality) {
    KivMemoryStream target;
    KivZLibStream zlib;
    zlib.Open(&target, true, quality);
    zlib.Write(data.data(), static_cast<int32_t>(data.size()));
    EXPECT_EQ(zlib.GetPosition(), static_cast<int64_t>(data.size()));
    zlib.Finish();
    zlib.Close();
    return std::string(reinterpret_cast<const char*>(target.GetData()), static_cast<size_t>(target.GetLength()));
}

std::string Decompress(const std::string& compressed, int32_t pieceSize) {
    KivMemoryStream source(KivByteBuffer::Copy(compressed.data(), static_cast<int32_t>(compressed.size())));
    KivZLibStream zlib;
    zlib.Open(&source, false);
    std::string result;
    std::string piece(static_cast<size_t>(pieceSize), '\0');
    for (int32_t got; (got = zlib.Read(piece.data(), pieceSize)) > 0;) result.append(piece.data(), static_cast<size_t>(got));
    EXPECT_TRUE(zlib.IsEnd());
    EXPECT_EQ(zlib.GetPosition(), static_cast<int64_t>(result.size()));
    zlib.Close();
    return result;
}

KivString MessageOf(void (*action)()) {
    try {
        action();
    } catch (const KivException& error) {
        return error.GetMessage();
    }
    return "no exception";
}

}  // namespace

TEST(KivZLibStream, RoundTripInPiecesOfAnySize) {
    for (size_t size : {size_t(0), size_t(1), size_t(4095), size_t(4096), size_t(100000)}) {
        std::string data = SampleText(size);
        std::string compressed = Compress(data, 100);
        EXPECT_EQ(Decompress(compressed, 1), data) << size;
        EXPECT_EQ(Decompress(compressed, 5000), data) << size;
    }
    EXPECT_LT(Compress(SampleText(100000), 100).size(), 40000u);
}

TEST(KivZLibStream, QualityChoosesTheLevel) {
    EXPECT_EQ(KivZLibStream::LevelForQuality(55), 5);
    EXPECT_EQ(KivZLibStream::LevelForQuality(100), 9);
    EXPECT_EQ(KivZLibStream::LevelForQuality(1), 0);
    EXPECT_EQ(KivZLibStream::LevelForQuality(10), 0);
    EXPECT_EQ(KivZLibStream::LevelForQuality(11), 1);
    EXPECT_EQ(KivZLibStream::LevelForQuality(-50), 0);
    EXPECT_EQ(KivZLibStream::LevelForQuality(1000), 9);
    // The zlib header records the level class: 2..5, 6, 7..9 and 0..1 differ.
    std::string data = SampleText(1000);
    EXPECT_EQ(Compress(data, 55).substr(0, 2), "\x78\x5E");
    EXPECT_EQ(Compress(data, 65).substr(0, 2), "\x78\x9C");
    EXPECT_EQ(Compress(data, 100).substr(0, 2), "\x78\xDA");
    EXPECT_EQ(Compress(data, 10).substr(0, 2), "\x78\x01");
}

TEST(KivZLibStream, FailuresAndTheirMessages) {
    EXPECT_EQ(MessageOf([] {
                  KivMemoryStream target;
                  KivZLibStream zlib;
                  zlib.Open(&target, true, 100);
                  zlib.Write("abc", 3);
                  zlib.Close();
              }),
              KivString("ZLIB stream has not been terminated."));
    EXPECT_EQ(MessageOf([] {
                  KivMemoryStream source(KivByteBuffer::Copy("not zlib data at all", 20));
                  KivZLibStream zlib;
                  zlib.Open(&source, false);
                  char buffer[64];
                  zlib.Read(buffer, 64);
              }),
              KivString("Source compressed stream has invalid content."));
    EXPECT_EQ(MessageOf([] {
                  std::string compressed = Compress(SampleText(20000), 100);
                  compressed.resize(compressed.size() / 2);
                  Decompress(compressed, 1000);
              }),
              KivString("Source compressed stream has invalid content."));
    EXPECT_EQ(MessageOf([] {
                  KivMemoryStream empty;
                  KivZLibStream zlib;
                  zlib.Open(&empty, false);
                  char buffer[4];
                  zlib.Read(buffer, 4);
              }),
              KivString("Source compressed stream has invalid content."));
    EXPECT_EQ(MessageOf([] { KivZLibStream().GetSize(); }),
              KivString("Service \"stream size detection\" is not implemented."));

    KivZLibStream closed;
    closed.Open(nullptr, true);
    EXPECT_FALSE(closed.IsOpen());
}
