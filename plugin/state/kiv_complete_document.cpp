#include "plugin/state/kiv_complete_document.h"

#include <string>
#include <string_view>

#include "base/kiv_byte_buffer.h"
#include "base/kiv_exception.h"
#include "base/stream/kiv_memory_stream.h"
#include "base/xml/kiv_xml_item.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The text without trailing blanks.
std::string_view TrimEnd(std::string_view text) {
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool EndsWithFolded(std::string_view text, std::string_view tail) {
    if (text.size() < tail.size()) return false;
    text.remove_prefix(text.size() - tail.size());
    for (size_t i = 0; i < tail.size(); ++i) {
        if (Lower(text[i]) != Lower(tail[i])) return false;
    }
    return true;
}

// "</name>", blanks allowed before ">"; or "/>" for a root with nothing inside.
bool EndsWithRootEnd(std::string_view text, const KivXMLItem& root) {
    text = TrimEnd(text);
    if (!text.empty() && text.back() == '>') {
        text.remove_suffix(1);
        const bool selfClosing = !text.empty() && text.back() == '/';
        if (selfClosing) return root.GetSubItemCount() == 0 && root.GetText().IsEmpty();
        return EndsWithFolded(TrimEnd(text), "</" + root.GetName().ToUTF8());
    }
    return false;
}

}  // namespace

void KivReadCompleteDocument(const void* data, int32_t size, KivXMLItem& root) {
    if (!data || size <= 0) throw KivException(KivString("The settings document is empty."), KivException::kInputOutput);
    KivMemoryStream stream(KivByteBuffer::Borrow(const_cast<void*>(data), size));
    KivXMLItem read;
    read.Load(stream);
    const std::string_view text(static_cast<const char*>(data), static_cast<size_t>(size));
    if (!EndsWithRootEnd(text, read)) {
        throw KivException(KivString("The settings document is incomplete."), KivException::kInputOutput);
    }
    root.TakeContents(read);
}
