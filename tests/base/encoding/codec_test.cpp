#include <gtest/gtest.h>

#include <string>

#include "base/encoding/kiv_encoding.h"
#include "base/kiv_exception.h"
#include "tests/support/kiv_test_print.h"

namespace {

KivString Units(std::u16string_view units) { return KivString::FromU16(units); }

std::string Bytes(const KivByteBuffer& buffer) {
    return std::string(reinterpret_cast<const char*>(buffer.Data()), static_cast<size_t>(buffer.Size()));
}

KivByteBuffer Buffer(const std::string& bytes) {
    return KivByteBuffer::Copy(bytes.data(), static_cast<int32_t>(bytes.size()));
}

std::u16string Decode(const char* codec, const std::string& bytes) {
    return KivEncoding::GetCodec(codec).Decode(Buffer(bytes)).ToU16();
}

std::string Encode(const char* codec, std::u16string_view text, bool terminate = false) {
    return Bytes(KivEncoding::GetCodec(codec).Encode(Units(text), terminate));
}

TEST(CodecLookup, FindsEveryNameAndRefusesUnknownOnes) {
    EXPECT_EQ(KivEncoding::GetCodec("").GetName(), KivString("ascii"));
    EXPECT_EQ(KivEncoding::GetCodec("UTF-8").GetName(), KivString("utf8"));
    EXPECT_EQ(KivEncoding::GetCodec("utf8").GetName(), KivString("utf8"));
    EXPECT_EQ(KivEncoding::GetCodec("Utf-16").GetName(), KivString("utf16"));
    EXPECT_EQ(KivEncoding::GetCodec("latin2").GetName(), KivString("ISO-8859-2"));
    EXPECT_EQ(KivEncoding::GetCodec("LATIN2").GetName(), KivString("ISO-8859-2"));
    EXPECT_EQ(&KivEncoding::GetCodec("cp1252"), &KivEncoding::GetCodec("Windows-1252"));
    EXPECT_EQ(&KivEncoding::GetCodec("ISO 8859-8-I"), &KivEncoding::GetCodec("hebrew"));
    const char* names[] = {
        "KOI8-R", "KOI8-U", "KOI8-RU", "ISO-8859-1", "ISO-8859-2", "latin2", "iso-ir-101", "ISO-8859-3", "latin3",
        "iso-ir-109", "ISO-8859-4", "latin4", "iso-ir-110", "ISO-8859-5", "cyrillic", "iso-ir-144", "ISO-8859-6",
        "ISO-8859-6-I", "ECMA-114", "ASMO-708", "arabic", "iso-ir-127", "ISO-8859-7", "ECMA-118", "greek",
        "iso-ir-126", "ISO-8859-8", "ISO 8859-8-I", "iso-ir-138", "hebrew", "ISO-8859-9", "iso-ir-148", "latin5",
        "ISO-8859-10", "iso-ir-157", "latin6", "ISO-8859-10:1992", "ISO-8859-13", "ISO-8859-14", "iso-ir-199",
        "latin8", "iso-celtic", "ISO-8859-16", "iso-ir-226", "latin10", "IBM850", "CP850", "IBM874", "CP874",
        "IBM866", "CP866", "windows-1250", "windows-1251", "windows-1252", "windows-1253", "windows-1254",
        "windows-1255", "windows-1256", "windows-1257", "windows-1258", "CP1250", "CP1251", "CP1252", "CP1253",
        "CP1254", "CP1255", "CP1256", "CP1257", "CP1258", "Apple Roman", "roman8", "hp-roman8"};
    for (const char* name : names) EXPECT_NO_THROW(KivEncoding::GetCodec(name)) << name;
    try {
        KivEncoding::GetCodec("klingon");
        ADD_FAILURE() << "an unknown name must raise";
    } catch (const KivException& exception) {
        EXPECT_EQ(exception.GetMessage(), KivString("No codec found for encoding klingon."));
    }
}

TEST(ASCIICodec, WidensWithSignAndKeepsLowBytes) {
    EXPECT_EQ(Decode("", std::string("a\xE9z\0q", 5)), u"a\xFFE9z");
    EXPECT_EQ(Encode("", u"A\u0141"), "AA");
    EXPECT_EQ(Encode("", u"ok", true), std::string("ok\0", 3));
}

TEST(UTF8Codec, DropsByteOrderMarkAndBrokenSurrogates) {
    EXPECT_EQ(Decode("utf8", "\xEF\xBB\xBF" "A"), u"A");
    EXPECT_EQ(Encode("utf8", u"\xDC00"), "");
    EXPECT_EQ(Encode("utf8", u"\u0141\u00F3d\u017A", true), std::string("\xC5\x81\xC3\xB3" "d\xC5\xBA\0", 8));
}

TEST(UTF16Codec, WritesLittleEndianUnits) {
    EXPECT_EQ(Encode("utf16", u"x\u20AC"), std::string("x\0\xAC\x20", 4));
    EXPECT_EQ(Encode("utf16", u"x", true), std::string("x\0\0\0", 4));
    EXPECT_EQ(Decode("utf16", std::string("x\0\xAC\x20\0\0y\0", 8)), u"x\u20AC");
    EXPECT_EQ(Decode("utf16", std::string("ab\x41", 3)), u"\u6261");  // an odd last byte is no unit
}

TEST(TableCodec, MapsHighBytesThroughItsCodePage) {
    // Byte values from Python's codecs.
    EXPECT_EQ(Decode("latin2", "\xA3\xF3" "d\xBC"), u"\u0141\u00F3d\u017A");
    EXPECT_EQ(Encode("ISO-8859-2", u"\u0141\u00F3d\u017A"), "\xA3\xF3" "d\xBC");
    EXPECT_EQ(Encode("windows-1252", u"\u20AC\u2030"), "\x80\x89");
    EXPECT_EQ(Encode("KOI8-R", u"\u0416\u0443\u043A"), "\xF6\xD5\xCB");
    EXPECT_EQ(Encode("Apple Roman", u"\u03C0"), "\xB9");
    // What a code page cannot hold becomes "?"; what it leaves undefined decodes to U+FFFD.
    EXPECT_EQ(Encode("windows-1252", u"\u0416\uFFFD", true), std::string("??\0", 3));
    EXPECT_EQ(Decode("windows-1252", "\x81"), u"\uFFFD");
    EXPECT_EQ(Decode("latin2", std::string("a\0\xA3", 3)), u"a");
}

}  // namespace
