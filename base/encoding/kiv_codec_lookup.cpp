#include "base/encoding/kiv_ascii_codec.h"
#include "base/encoding/kiv_encoding.h"
#include "base/encoding/kiv_table_codec.h"
#include "base/encoding/kiv_utf16_codec.h"
#include "base/encoding/kiv_utf8_codec.h"
#include "base/kiv_exception.h"
#include "platform/kiv_library_static.h"

namespace {

// Built on the first lookup that reaches the code pages; the static makes that thread-safe.
struct TableCodecs {
    KivEncoding::TableCodec codecs[KivCodePage::kCount];

    TableCodecs() {
        for (int32_t i = 0; i < KivCodePage::kCount; ++i) codecs[i].Attach(KivCodePage::All()[i]);
    }
};

const KivEncoding::Codec* FindTableCodec(const KivString& name) {
    static KivPlatform::LibraryStatic<TableCodecs> tables;
    for (const KivEncoding::TableCodec& codec : tables->codecs)
        if (codec.AnswersTo(name)) return &codec;
    return nullptr;
}

bool IsOneOf(const KivString& name, const char* first, const char* second) {
    return name.CompareFolded(first) == 0 || name.CompareFolded(second) == 0;
}

}  // namespace

namespace KivEncoding {

const Codec& GetCodec(const KivString& name) {
    static KivPlatform::LibraryStatic<ASCIICodec> ascii;
    static KivPlatform::LibraryStatic<UTF8Codec> utf8;
    static KivPlatform::LibraryStatic<UTF16Codec> utf16;
    if (name.IsEmpty() || name.CompareFolded("ascii") == 0) return *ascii;
    if (IsOneOf(name, "utf8", "utf-8")) return *utf8;
    if (IsOneOf(name, "utf16", "utf-16")) return *utf16;
    if (const Codec* table = FindTableCodec(name)) return *table;
    KivException::Raise(KivException::kInvalidArgument, "No codec found for encoding {0}.", name);
}

}  // namespace KivEncoding
