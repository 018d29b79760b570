#pragma once
#include <cstdint>

#include "base/encoding/kiv_encoding.h"
#include "base/kiv_string.h"

class KivStream;
class KivXMLItem;

namespace KivLibraryInternals {

// Writes an item tree in the framework's XML dialect: a processing instruction naming the
// encoding, one item per line indented by one tab per level (at most 32), attributes in
// their sorted order, the six entities escaped, every line ended by a single character 10.
//
// Long text is wrapped: a line of text ends at the first space at least 60 characters
// after the line's start that stands between two visible characters; that space is
// dropped and the text goes on in a line of its own, one level deeper than the item. Only
// such spaces are chosen because the reader trims each line and joins lines with exactly
// one space, which then restores the text as it was. The first line of text follows the
// opening tag; the closing tag of an item without subitems follows the last line of text.
class KivXMLWriter {
public:
    static constexpr int32_t kMaximumIndentation = 32;
    static constexpr int32_t kWrapColumn = 60;

    // Looks up the codec (raising "No codec found for encoding {0}.") and writes its header.
    KivXMLWriter(KivStream& stream, const KivString& encoding);

    // The processing instruction and `root` with all its subitems; flushes the text writer.
    void WriteDocument(const KivXMLItem& root);

    // Where the first text line starting at `start` ends (the index of the dropped space),
    // or the text's length when the rest fits on one line.
    static int32_t FindWrapPoint(const KivString& text, int32_t start);

private:
    // Writes the opening line(s); true when subitems follow and a closing line is due.
    bool OpenItem(const KivXMLItem& item, int32_t level);
    void CloseItem(const KivXMLItem& item, int32_t level);
    // Appends the escaped text to the current line, wrapping it as described above; the
    // current line stays open behind the last piece.
    void AppendWrappedText(const KivXMLItem& item, int32_t level);
    void StartLine(int32_t level);
    void EndLine();

    const KivEncoding::Codec& codec_;
    KivEncoding::TextWriter writer_;
    KivString encoding_;
    KivString line_;
    KivString escaped_;
};

}  // namespace KivLibraryInternals
