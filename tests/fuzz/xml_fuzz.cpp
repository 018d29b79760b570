// Feeds arbitrary bytes to the XML reader. The reader may refuse a document only with one of
// the framework's messages; anything else (another exception, a crash, a hang, a sanitizer
// report) is a fault. A document it accepts must be written, read and written again to the
// same bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/kiv_exception.h"
#include "base/kiv_list.h"
#include "base/stream/kiv_memory_stream.h"
#include "base/xml/kiv_xml_item.h"
#include "base/xml/kiv_xml_messages.h"

namespace {

bool StartsWith(const std::string& text, const std::string& head) { return text.compare(0, head.size(), head) == 0; }

bool IsKnownMessage(const std::string& message, int32_t code) {
    const std::string prefix = KivXMLMessages::kMalformedPrefix;
    if (code == KivException::kInputOutput) {
        for (const char* markup : KivXMLMessages::kMarkupMessages)
            if (message == prefix + markup) return true;
        if (message == KivXMLMessages::kNoElements) return true;
    }
    if (code == KivException::kFailure && message == KivXMLMessages::kTextOutsideElement) return true;
    // The processing instruction may name any encoding.
    const std::string noCodec = "No codec found for encoding ";
    return StartsWith(message, noCodec) && message.back() == '.';
}

[[noreturn]] void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
    std::abort();
}

void Load(KivXMLItem& item, const void* data, size_t size) {
    KivMemoryStream stream;
    stream.Write(data, static_cast<int32_t>(size));
    stream.Seek(0, KivStream::kFromStart);
    item.Load(stream);
}

std::string Save(const KivXMLItem& item) {
    KivMemoryStream stream;
    item.Save(stream, "utf-8");
    return std::string(reinterpret_cast<const char*>(stream.GetData()), static_cast<size_t>(stream.GetLength()));
}

bool HasUnwritableUnit(const KivString& text) {
    for (int32_t i = 0; i < text.Length(); ++i) {
        char16_t unit = text[i];
        if (unit == 0 || unit == 0xFEFF) return true;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.Length() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            ++i;
        else if (unit >= 0xD800 && unit <= 0xDFFF)
            return true;
    }
    return false;
}

// The writer drops the character 0, byte order marks and lone surrogates (no reader brings them back), so a
// tree holding one does not survive a round trip unchanged: such a name may even vanish.
bool TreeHasUnwritableUnit(const KivXMLItem& root) {
    KivList<const KivXMLItem*, 64> pending;
    pending.Add(&root);
    while (!pending.IsEmpty()) {
        const KivXMLItem* item = pending.Last();
        pending.RemoveAt(pending.Count() - 1);
        if (HasUnwritableUnit(item->GetName()) || HasUnwritableUnit(item->GetText())) return true;
        for (int32_t i = 0; i < item->GetAttributeCount(); ++i) {
            const KivAttribute& attribute = item->GetAttributeAt(i);
            if (HasUnwritableUnit(attribute.name) || HasUnwritableUnit(attribute.value)) return true;
        }
        for (int32_t i = 0; i < item->GetSubItemCount(); ++i) pending.Add(&item->GetSubItemAt(i));
    }
    return false;
}

void CheckRoundTrip(const KivXMLItem& document) {
    if (TreeHasUnwritableUnit(document)) return;
    std::string first = Save(document);
    KivXMLItem again;
    try {
        Load(again, first.data(), first.size());
    } catch (const KivException& exception) {
        Fail("written document does not read back", exception.GetMessage().ToUTF8() + "\n" + first);
    }
    std::string second = Save(again);
    if (first != second) Fail("round trip changed the document", first + "\n----\n" + second);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 20) return 0;
    KivXMLItem document;
    try {
        Load(document, data, size);
    } catch (const KivException& exception) {
        std::string message = exception.GetMessage().ToUTF8();
        if (!IsKnownMessage(message, exception.GetCode()))
            Fail("unknown failure", message + " (code " + std::to_string(exception.GetCode()) + ")");
        return 0;
    }
    CheckRoundTrip(document);
    return 0;
}
