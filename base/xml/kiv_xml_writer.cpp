#include "base/xml/kiv_xml_writer.h"

#include "base/kiv_exception.h"
#include "base/kiv_list.h"
#include "base/xml/kiv_xml_entities.h"
#include "base/xml/kiv_xml_item.h"
#include "base/xml/kiv_xml_messages.h"

namespace KivLibraryInternals {

namespace {

// One item whose subitems are being written, and the next of them.
struct OpenFrame {
    const KivXMLItem* item;
    int32_t nextSubItem;
};

bool IsWhite(char16_t character) { return character <= 32; }

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

bool IsUnwritable(char16_t unit) { return unit == 0 || unit == 0xFEFF || (unit >= 0xD800 && unit <= 0xDFFF); }

// Removes the units no reader could bring back: the character 0, which the line readers
// drop, the byte order mark U+FEFF, which the UTF-8 reader drops, and surrogates that are not part of a pair. The codecs drop a lone high surrogate
// together with the unit behind it, which could be the quote or bracket that ends a value
// or a tag; without it the written document would no longer be well formed.
void RemoveUnwritableUnits(KivString& line) {
    int32_t length = line.Length();
    int32_t first = 0;
    while (first < length && !IsUnwritable(line[first])) ++first;
    if (first == length) return;
    char16_t* units = line.MutableUnits();
    int32_t kept = first;
    for (int32_t i = first; i < length; ++i) {
        char16_t unit = units[i];
        if (IsHighSurrogate(unit) && i + 1 < length && IsLowSurrogate(units[i + 1])) {
            units[kept++] = unit;
            units[kept++] = units[++i];
        } else if (!IsUnwritable(unit)) {
            units[kept++] = unit;
        }
    }
    line.SetLength(kept);
}

}  // namespace

KivXMLWriter::KivXMLWriter(KivStream& stream, const KivString& encoding)
    : codec_(KivEncoding::GetCodec(encoding)), writer_(stream), encoding_(encoding) {
    codec_.WriteHeader(stream);
}

// The tree is walked with an explicit stack: a document nested thousands of levels deep
// (which the reader accepts) must not exhaust the call stack when it is written back.
void KivXMLWriter::WriteDocument(const KivXMLItem& root) {
    line_.SetLength(0);
    line_.Append(KivString("<?xml version=\"1.0\" encoding=\"")).Append(encoding_).Append(KivString("\"?>"));
    EndLine();
    KivList<OpenFrame, 32> open;
    if (OpenItem(root, 0)) open.Add(OpenFrame{&root, 0});
    while (!open.IsEmpty()) {
        OpenFrame& frame = open.Last();
        int32_t level = open.Count() - 1;
        if (frame.nextSubItem == frame.item->GetSubItemCount()) {
            CloseItem(*frame.item, level);
            open.RemoveAt(open.Count() - 1);
            continue;
        }
        const KivXMLItem& child = frame.item->GetSubItemAt(frame.nextSubItem++);
        if (OpenItem(child, level + 1)) open.Add(OpenFrame{&child, 0});
    }
    writer_.Flush();
}

bool KivXMLWriter::OpenItem(const KivXMLItem& item, int32_t level) {
    if (item.GetName().IsEmpty()) throw KivException(KivXMLMessages::kEmptyName, KivException::kInvalidArgument);
    StartLine(level);
    line_.Append(u'<').Append(item.GetName());
    for (int32_t i = 0; i < item.GetAttributeCount(); ++i) {
        const KivAttribute& attribute = item.GetAttributeAt(i);
        line_.Append(u' ').Append(attribute.name).Append(KivString("=\""));
        KivXMLEntities::AppendEscaped(attribute.value, line_);
        line_.Append(u'"');
    }
    bool hasSubItems = item.GetSubItemCount() > 0;
    if (!hasSubItems && item.GetText().IsEmpty()) {
        line_.Append(KivString("/>"));
        EndLine();
        return false;
    }
    line_.Append(u'>');
    AppendWrappedText(item, level);
    if (!hasSubItems) line_.Append(KivString("</")).Append(item.GetName()).Append(u'>');
    EndLine();
    return hasSubItems;
}

void KivXMLWriter::CloseItem(const KivXMLItem& item, int32_t level) {
    StartLine(level);
    line_.Append(KivString("</")).Append(item.GetName()).Append(u'>');
    EndLine();
}

int32_t KivXMLWriter::FindWrapPoint(const KivString& text, int32_t start) {
    for (int32_t i = start + kWrapColumn; i + 1 < text.Length(); ++i)
        if (text[i] == u' ' && !IsWhite(text[i - 1]) && !IsWhite(text[i + 1])) return i;
    return text.Length();
}

void KivXMLWriter::AppendWrappedText(const KivXMLItem& item, int32_t level) {
    if (item.GetText().IsEmpty()) return;
    escaped_.SetLength(0);
    KivXMLEntities::AppendEscaped(item.GetText(), escaped_);
    const char16_t* units = escaped_.HeapUnits();
    int32_t start = 0;
    for (;;) {
        int32_t end = FindWrapPoint(escaped_, start);
        line_.Append(units + start, end - start);
        if (end == escaped_.Length()) return;
        EndLine();
        StartLine(level + 1);
        start = end + 1;
    }
}

void KivXMLWriter::StartLine(int32_t level) {
    line_.SetLength(0);
    int32_t tabs = level < kMaximumIndentation ? level : kMaximumIndentation;
    for (int32_t i = 0; i < tabs; ++i) line_.Append(u'\t');
}

void KivXMLWriter::EndLine() {
    RemoveUnwritableUnits(line_);
    codec_.WriteLine(writer_, line_);
}

}  // namespace KivLibraryInternals
