#include "base/stream/kiv_buffering_stream.h"

#include <gtest/gtest.h>

#include <string>

#include "base/kiv_exception.h"
#include "base/stream/kiv_memory_stream.h"
#include "tests/support/kiv_test_print.h"

namespace {

// A toy 4-byte "cipher": adds 1 to each byte and reverses the block.
class ReversingStream : public KivBufferingStream {
public:
    void ModifyBlock(const uint8_t* source, uint8_t* destination, bool encode) override {
        for (int32_t index = 0; index < 4; ++index) {
            destination[3 - index] = static_cast<uint8_t>(source[index] + (encode ? 1 : -1));
        }
    }
};

std::string ContentsOf(const KivMemoryStream& stream) {
    return std::string(reinterpret_cast<const char*>(stream.GetData()), static_cast<size_t>(stream.GetLength()));
}

}  // namespace

TEST(KivBufferingStream, TransformsWholeBlocksAndPadsTheLast) {
    KivMemoryStream target;
    ReversingStream stream;
    stream.Initialize(&target, 4, 4);
    stream.Write("abcdef", 6);
    EXPECT_EQ(ContentsOf(target), "edcb");  // the partial block waits
    stream.FinishBlock();
    EXPECT_EQ(ContentsOf(target), std::string("edcb\1\1gf", 8));

    target.Seek(0, KivStream::kFromStart);
    char back[16] = {};
    EXPECT_EQ(stream.Read(back, 16), 8);
    EXPECT_EQ(std::string(back, 8), std::string("abcdef\0\0", 8));
}

TEST(KivBufferingStream, CipherBlockChainingRoundTrip) {
    const uint8_t vector[4] = {0x10, 0x20, 0x30, 0x40};
    std::string message = "aaaaaaaaaaaa";  // equal plain blocks must give different encoded blocks
    KivMemoryStream target;
    KivBufferingStream::CBCBlockModification encoder(KivByteBuffer::Copy(vector, 4));
    ReversingStream writer;
    writer.Initialize(&target, 4, 4, &encoder);
    writer.Write(message.data(), 12);
    std::string encoded = ContentsOf(target);
    ASSERT_EQ(encoded.size(), 12u);
    EXPECT_EQ(encoded.substr(0, 4), "\x22\x52\x42\x72");  // ('a' ^ vector) + 1, reversed
    EXPECT_NE(encoded.substr(0, 4), encoded.substr(4, 4));

    target.Seek(0, KivStream::kFromStart);
    KivBufferingStream::CBCBlockModification decoder(KivByteBuffer::Copy(vector, 4));
    ReversingStream reader;
    reader.Initialize(&target, 4, 4, &decoder);
    std::string back(12, '\0');
    EXPECT_EQ(reader.Read(back.data(), 12), 12);
    EXPECT_EQ(back, message);
    EXPECT_TRUE(reader.IsEnd());
}

TEST(KivBufferingStream, UseBeforeInitializationRaises) {
    ReversingStream stream;
    try {
        stream.Write("a", 1);
        ADD_FAILURE() << "no exception";
    } catch (const KivException& error) {
        EXPECT_EQ(error.GetCode(), 258);
        EXPECT_EQ(error.GetMessage(), KivString("Buffering stream has not been initialized."));
    }
    EXPECT_FALSE(stream.IsOpen());
}
