#include "base/stream/kiv_stream.h"

#include <gtest/gtest.h>

#include <string>

#include "base/kiv_exception.h"
#include "tests/support/kiv_test_print.h"

namespace {

// A stream that can only read, so that every other service takes the default path.
class ReadOnlySource : public KivStream {
public:
    explicit ReadOnlySource(std::string bytes) : bytes_(std::move(bytes)) {}
    int32_t Read(void* buffer, int32_t count) override {
        int32_t available = std::min<int32_t>(count, static_cast<int32_t>(bytes_.size()) - position_);
        bytes_.copy(static_cast<char*>(buffer), static_cast<size_t>(available), static_cast<size_t>(position_));
        position_ += available;
        reads_++;
        return available;
    }
    int64_t GetPosition() override { return position_; }
    int32_t reads_ = 0;

private:
    std::string bytes_;
    int32_t position_ = 0;
};

void ExpectNotImplemented(void (*action)(KivStream&), const char* service) {
    ReadOnlySource stream("");
    try {
        action(stream);
        ADD_FAILURE() << "no exception for " << service;
    } catch (const KivException& error) {
        EXPECT_EQ(error.GetCode(), 1);
        EXPECT_EQ(error.GetMessage(), KivString("Service \"") + KivString(service) + KivString("\" is not implemented."));
    }
}

}  // namespace

TEST(KivStreamDefaults, OptionalServicesRaiseNotImplemented) {
    ExpectNotImplemented([](KivStream& s) { s.GetSubStream(); }, "return substream");
    ExpectNotImplemented([](KivStream& s) { s.Write("x", 1); }, "write to stream");
    ExpectNotImplemented([](KivStream& s) { s.Flush(); }, "flush stream");
    ExpectNotImplemented([](KivStream& s) { s.IsEnd(); }, "end of stream test");
    ExpectNotImplemented([](KivStream& s) { s.Truncate(); }, "truncate stream");
    ExpectNotImplemented([](KivStream& s) { s.GetSize(); }, "stream size detection");
    ExpectNotImplemented([](KivStream& s) { s.Seek(-1, KivStream::kFromPosition); }, "backward seek in a stream");
    ReadOnlySource stream("");
    EXPECT_TRUE(stream.IsOpen());
}

TEST(KivStreamDefaults, SeekSkipsForwardByReading) {
    ReadOnlySource stream(std::string(3000, 'a') + "b");
    stream.Seek(3000, KivStream::kFromStart);
    EXPECT_EQ(stream.GetPosition(), 3000);
    EXPECT_EQ(stream.reads_, 3);  // pieces of at most 1024 bytes
    char byte = 0;
    EXPECT_EQ(stream.Read(&byte, 1), 1);
    EXPECT_EQ(byte, 'b');
    stream.Seek(100, KivStream::kFromPosition);  // past the end stops quietly
    EXPECT_EQ(stream.GetPosition(), 3001);
    try {
        stream.Seek(0, 7);
        ADD_FAILURE() << "no exception";
    } catch (const KivException& error) {
        EXPECT_EQ(error.GetCode(), 2);
        EXPECT_EQ(error.GetMessage(), KivString("Invalid seek origin."));
    }
}

TEST(KivStreamDefaults, ReadLineByteByByte) {
    ReadOnlySource stream(std::string("ab\r\ncd\0ef", 9) + "\nabcdef\nlast");
    char buffer[4];
    EXPECT_EQ(stream.ReadLine(buffer, 4), KivStream::kLineComplete);
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(stream.ReadLine(buffer, 4), KivStream::kLineComplete);  // byte 0 ends a line too
    EXPECT_STREQ(buffer, "cd");
    EXPECT_EQ(stream.ReadLine(buffer, 4), KivStream::kLineComplete);
    EXPECT_STREQ(buffer, "ef");
    EXPECT_EQ(stream.ReadLine(buffer, 4), KivStream::kLineTruncated);
    EXPECT_STREQ(buffer, "abc");
    KivString line;
    EXPECT_TRUE(stream.ReadLine(line));
    EXPECT_EQ(line, KivString("def"));
    EXPECT_TRUE(stream.ReadLine(line));
    EXPECT_EQ(line, KivString("last"));
    EXPECT_EQ(stream.ReadLine(buffer, 4), KivStream::kLineNoData);
    EXPECT_STREQ(buffer, "");
}
