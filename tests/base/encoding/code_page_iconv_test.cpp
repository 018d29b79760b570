// Every byte 128..255 of every code page against glibc's iconv.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "base/encoding/kiv_encoding.h"
#include "tests/support/kiv_test_print.h"

namespace {

struct PageName {
    const char* ours;
    const char* iconv;
};

constexpr PageName kPages[] = {
    {"KOI8-R", "KOI8-R"}, {"KOI8-U", "KOI8-U"}, {"KOI8-RU", "KOI8-RU"},
    {"ISO-8859-1", "ISO-8859-1"}, {"latin2", "ISO-8859-2"}, {"latin3", "ISO-8859-3"},
    {"latin4", "ISO-8859-4"}, {"cyrillic", "ISO-8859-5"}, {"arabic", "ISO-8859-6"},
    {"greek", "ISO-8859-7"}, {"hebrew", "ISO-8859-8"}, {"latin5", "ISO-8859-9"},
    {"latin6", "ISO-8859-10"}, {"ISO-8859-13", "ISO-8859-13"}, {"latin8", "ISO-8859-14"},
    {"latin10", "ISO-8859-16"}, {"CP850", "IBM850"}, {"CP874", "CP874"}, {"CP866", "IBM866"},
    {"CP1250", "WINDOWS-1250"}, {"CP1251", "WINDOWS-1251"}, {"CP1252", "WINDOWS-1252"},
    {"CP1253", "WINDOWS-1253"}, {"CP1254", "WINDOWS-1254"}, {"CP1255", "WINDOWS-1255"},
    {"CP1256", "WINDOWS-1256"}, {"CP1257", "WINDOWS-1257"}, {"CP1258", "WINDOWS-1258"},
    {"Apple Roman", "MACINTOSH"}, {"hp-roman8", "HP-ROMAN8"},
};

#ifndef _WIN32
// iconv's reading of each high byte, one per line so that nothing combines; a byte iconv
// refuses leaves its line empty.
std::u16string IconvHighBytes(const char* iconvName) {
    std::string command = "printf '";
    for (int byte = 128; byte < 256; ++byte) command += "\\" + std::to_string(byte / 64) +
                                                          std::to_string(byte / 8 % 8) + std::to_string(byte % 8) + "\\n";
    command += "' | iconv -c -f " + std::string(iconvName) + " -t UTF-16LE 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    std::u16string units;
    if (!pipe) return units;
    int low = 0;
    while ((low = std::fgetc(pipe)) != EOF) units += static_cast<char16_t>(low | (std::fgetc(pipe) << 8));
    pclose(pipe);
    return units;
}
#endif

TEST(CodePages, EveryHighByteMatchesIconv) {
#ifdef _WIN32
    GTEST_SKIP() << "iconv is not available on Windows";
#else
    for (const PageName& page : kPages) {
        std::u16string expected = IconvHighBytes(page.iconv);
        ASSERT_FALSE(expected.empty()) << "iconv does not know " << page.iconv;
        const KivEncoding::Codec& codec = KivEncoding::GetCodec(page.ours);
        size_t at = 0;
        for (int byte = 128; byte < 256; ++byte) {
            char16_t iconvCharacter = expected[at] == u'\n' ? u'\uFFFD' : expected[at++];
            ++at;  // the line feed
            uint8_t single = static_cast<uint8_t>(byte);
            KivString decoded = codec.Decode(KivByteBuffer::Copy(&single, 1));
            ASSERT_EQ(decoded.Length(), 1);
            EXPECT_EQ(static_cast<int>(decoded[0]), static_cast<int>(iconvCharacter)) << page.ours << " byte " << byte;
            if (iconvCharacter == u'\uFFFD') continue;
            KivByteBuffer encoded = codec.Encode(decoded, false);
            EXPECT_EQ(encoded.Data()[0], single) << page.ours << " byte " << byte;
        }
    }
#endif
}

}  // namespace
