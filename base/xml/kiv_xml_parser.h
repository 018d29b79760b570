#pragma once
#include "base/kiv_list.h"
#include "base/xml/kiv_attribute.h"
#include "base/xml/kiv_ml_parser.h"
#include "base/xml/kiv_xml_item.h"

namespace KivLibraryInternals {

// Builds a KivXMLItem tree from the tokenizer's events. It owns the tree until the caller
// takes its contents, so a failure part-way discards the partial tree with the parser.
class KivXMLParser : public KivMLParser<KivAttribute, KivList<KivAttribute, 2>> {
public:
    KivXMLParser() = default;
    ~KivXMLParser() override;

    bool OnElement(const KivString& name, const KivList<KivAttribute, 2>& attributes, bool closing) override;
    bool OnText(const KivString& text) override;

    // The root item read; raises "The XML does not contain any elements." when there is none.
    KivXMLItem& GetDocument();

private:
    KivXMLItem* root_ = nullptr;
    KivXMLItem* current_ = nullptr;
};

}  // namespace KivLibraryInternals
