#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/encoding/kiv_encoding.h"
#include "base/kiv_exception.h"
#include "base/stream/kiv_stream.h"
#include "tests/support/kiv_test_print.h"

namespace {

// Serves fixed bytes and records every Write call separately.
class RecordingStream : public KivStream {
public:
    explicit RecordingStream(std::string contents = {}) : contents_(std::move(contents)) {}
    int32_t Read(void* buffer, int32_t count) override {
        int32_t left = static_cast<int32_t>(contents_.size()) - position_;
        int32_t taken = count < left ? count : left;
        contents_.copy(static_cast<char*>(buffer), static_cast<size_t>(taken), static_cast<size_t>(position_));
        position_ += taken;
        return taken;
    }
    void Write(const void* data, int32_t count) override {
        writes.emplace_back(static_cast<const char*>(data), static_cast<size_t>(count));
    }
    std::string Written() const {
        std::string all;
        for (const std::string& piece : writes) all += piece;
        return all;
    }
    std::vector<std::string> writes;

private:
    std::string contents_;
    int32_t position_ = 0;
};

std::vector<std::u16string> ReadAllLines(const char* codec, const std::string& bytes, int32_t bufferSize) {
    RecordingStream stream(bytes);
    KivEncoding::TextReader reader(stream, bufferSize);
    std::vector<std::u16string> lines;
    KivString line;
    while (KivEncoding::GetCodec(codec).ReadLine(reader, line)) lines.push_back(line.ToU16());
    return lines;
}

TEST(TextReader, SplitsLinesAcrossRefills) {
    using Lines = std::vector<std::u16string>;
    // A buffer of 3 bytes makes sequences and line ends straddle refills.
    EXPECT_EQ(ReadAllLines("utf8", "first\r\n\n\xC5\x81\xC3\xB3" "d\xC5\xBA\nlast", 3),
              (Lines{u"first", u"", u"\u0141\u00F3d\u017A", u"last"}));
    EXPECT_EQ(ReadAllLines("utf8", "\xF0\x9D\x84\x9E\n", 2), (Lines{u"\xD834\xDD1E"}));
    EXPECT_EQ(ReadAllLines("latin2", "\xA3" "a\nb\n", 1), (Lines{u"\u0141a", u"b"}));
    EXPECT_EQ(ReadAllLines("", "a\xE9\n", 4), (Lines{u"a\xFFE9"}));
    EXPECT_EQ(ReadAllLines("utf16", std::string("a\0\r\0\n\0\x41\x01", 8), 3), (Lines{u"a", u"\u0141"}));
    EXPECT_TRUE(ReadAllLines("utf8", "", 16).empty());
}

TEST(TextWriter, WritesFullBuffersAndTheRestOnFlush) {
    RecordingStream stream;
    {
        KivEncoding::TextWriter writer(stream, 4);
        const KivEncoding::Codec& codec = KivEncoding::GetCodec("utf-8");
        codec.WriteLine(writer, KivString::FromUTF8("\xC5\x81\xC3\xB3"));
        codec.WriteText(writer, "xyz");
        EXPECT_EQ(stream.writes, (std::vector<std::string>{"\xC5\x81\xC3\xB3"}));
        writer.Flush();
        EXPECT_EQ(stream.writes.back(), "\nxyz");
        codec.WriteText(writer, "!");
    }
    EXPECT_EQ(stream.Written(), "\xC5\x81\xC3\xB3\nxyz!");
}

TEST(UTF16Header, IsWrittenAndChecked) {
    const KivEncoding::Codec& codec = KivEncoding::GetCodec("utf16");
    RecordingStream written;
    codec.WriteHeader(written);
    EXPECT_EQ(written.Written(), "\xFF\xFE");
    RecordingStream good("\xFF\xFE" "a");
    EXPECT_NO_THROW(codec.ReadHeader(good));
    RecordingStream swapped("\xFE\xFF");
    EXPECT_THROW(codec.ReadHeader(swapped), KivException);
    RecordingStream shortStream("\xFF");
    EXPECT_THROW(codec.ReadHeader(shortStream), KivException);
    RecordingStream plain("ab");
    EXPECT_NO_THROW(KivEncoding::GetCodec("utf8").ReadHeader(plain));
}

}  // namespace
