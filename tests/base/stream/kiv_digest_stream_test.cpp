#include <gtest/gtest.h>

#include <string>

#include "base/kiv_exception.h"
#include "base/stream/kiv_md5_stream.h"
#include "base/stream/kiv_ripemd_stream.h"
#include "tests/support/kiv_test_print.h"

namespace {

std::string DigestOf(KivHashStream& stream, const std::string& message) {
    stream.Write(message.data(), static_cast<int32_t>(message.size()));
    uint8_t digest[KivHashStream::kMaxDigestSize];
    stream.ReadRequired(digest, stream.GetDigestSize());
    std::string hex;
    for (int32_t index = 0; index < stream.GetDigestSize(); ++index) {
        hex += "0123456789abcdef"[digest[index] >> 4];
        hex += "0123456789abcdef"[digest[index] & 15];
    }
    return hex;
}

std::string MD5(const std::string& message) {
    KivMD5Stream stream;
    return DigestOf(stream, message);
}

std::string RIPEMD160(const std::string& message) {
    KivRIPEMDStream stream;
    return DigestOf(stream, message);
}

const std::string kDigits = "1234567890";
const std::string kAlphabet = "abcdefghijklmnopqrstuvwxyz";
const std::string kMixed = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

}  // namespace

TEST(KivMD5Stream, RFC1321TestSuite) {
    EXPECT_EQ(MD5(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(MD5("a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(MD5("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(MD5("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(MD5(kAlphabet), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(MD5(kMixed), "d174ab98d277d9f5a5611c2c9f419d9f");
    std::string eighty;
    for (int index = 0; index < 8; ++index) eighty += kDigits;
    EXPECT_EQ(MD5(eighty), "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(KivMD5Stream, SeedShiftsTheStateAndPiecesDoNotMatter) {
    KivMD5Stream seeded(0);
    EXPECT_EQ(DigestOf(seeded, "abc"), "900150983cd24fb0d6963f7d28e17f72");
    // Expected values from an independent reference implementation with the shifted state.
    seeded.Initialize(1);
    EXPECT_EQ(DigestOf(seeded, "abc"), "f40369b74d214588df6de5783ce6aff1");
    seeded.Initialize(12345);
    EXPECT_EQ(DigestOf(seeded, "abc"), "3dca254a1e402c0a3d504cbc4b4a84c7");
    seeded.Initialize(0xFFFFFFFFu);
    EXPECT_EQ(DigestOf(seeded, ""), "2abeded7d2a9a9a83b5a93790c64ec4c");

    KivMD5Stream pieces;
    std::string message = kMixed + kMixed + kAlphabet;  // crosses block boundaries unevenly
    for (char byte : message) pieces.Write(&byte, 1);
    uint8_t digest[16];
    pieces.ReadRequired(digest, 16);
    EXPECT_TRUE(pieces.IsEnd());
    EXPECT_EQ(pieces.Read(digest, 16), 0);
    KivMD5Stream whole;
    EXPECT_EQ(DigestOf(whole, message), "9fd28317a090a951aafb1c2515ca547a");
}

TEST(KivRIPEMDStream, PublishedTestVectors) {
    EXPECT_EQ(RIPEMD160(""), "9c1185a5c5e9fc54612808977ee8f548b2258d31");
    EXPECT_EQ(RIPEMD160("a"), "0bdc9d2d256b3ee9daae347be6f4dc835a467ffe");
    EXPECT_EQ(RIPEMD160("abc"), "8eb208f7e05d987a9b044a8e98c6b087f15a0bfc");
    EXPECT_EQ(RIPEMD160("message digest"), "5d0689ef49d2fae572b881b123a85ffa21595f36");
    EXPECT_EQ(RIPEMD160(kAlphabet), "f71c27109c692c1b56bbdceb5b9d2865b3708dbc");
    EXPECT_EQ(RIPEMD160("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "12a053384a9c0c88e405a06c27dcf49ada62eb2b");
    EXPECT_EQ(RIPEMD160(kMixed), "b0e20b6e3116640286ed3a87a5713079b21f5189");
    std::string eighty;
    for (int index = 0; index < 8; ++index) eighty += kDigits;
    EXPECT_EQ(RIPEMD160(eighty), "9b752e45573d4b39f4dbd3323cab82bf63326bfb");
    EXPECT_EQ(RIPEMD160(std::string(1000000, 'a')), "52783243c1697bdbe16d37f97f68f08325dc1528");
}

TEST(KivHashStream, WritingAfterFinishNeedsInitialization) {
    KivRIPEMDStream stream;
    stream.Write("abc", 3);
    stream.Finish();
    try {
        stream.Write("d", 1);
        ADD_FAILURE() << "no exception";
    } catch (const KivException& error) {
        EXPECT_EQ(error.GetMessage(), KivString("Cryptographic hash stream has not been initialized."));
    }
    stream.Initialize();
    EXPECT_EQ(DigestOf(stream, "abc"), "8eb208f7e05d987a9b044a8e98c6b087f15a0bfc");
}
