#include "presets/library/kiv_complete_xml_reader.h"

#include "base/xml/kiv_xml_item.h"
#include "base/xml/kiv_xml_parser.h"
#include "base/xml/kiv_xml_stream_source.h"

namespace {

class CompletionWatchingParser : public KivLibraryInternals::KivXMLParser {
public:
    bool OnElement(const KivString& name, const KivList<KivAttribute, 2>& attributes, bool closing) override {
        complete_ = KivXMLParser::OnElement(name, attributes, closing);
        return complete_;
    }
    bool IsComplete() const { return complete_; }

private:
    bool complete_ = false;
};

}  // namespace

void KivReadCompleteXMLDocument(KivStream& stream, KivXMLItem& document) {
    KivXMLStreamSource source(stream);
    CompletionWatchingParser parser;
    parser.Parse(source);
    KivXMLItem& root = parser.GetDocument();
    if (!parser.IsComplete()) CompletionWatchingParser::RaiseMalformed("The document ends before its root element is closed.");
    document.TakeContents(root);
}
