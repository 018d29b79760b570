#include "base/xml/kiv_xml_parser.h"

#include "base/kiv_exception.h"
#include "base/xml/kiv_xml_messages.h"

namespace KivLibraryInternals {

KivXMLParser::~KivXMLParser() { delete root_; }

bool KivXMLParser::OnElement(const KivString& name, const KivList<KivAttribute, 2>& attributes, bool closing) {
    if (closing) {
        if (!current_ || !current_->GetName().EqualsFolded(name)) RaiseMalformed(KivXMLMessages::kInvalidClosingName);
        current_ = current_->GetParent();
        return current_ == nullptr;
    }
    // Only the document's first element becomes the root: the scan stops when it closes.
    current_ = current_ ? &current_->AddSubItem(name) : (root_ = new KivXMLItem(name));
    current_->SetAttributes(attributes);
    return false;
}

// The tokenizer has already cut the white space off each piece.
bool KivXMLParser::OnText(const KivString& text) {
    if (text.IsEmpty()) return false;
    if (!current_) throw KivException(KivXMLMessages::kTextOutsideElement, KivException::kFailure);
    current_->AppendText(text);
    return false;
}

KivXMLItem& KivXMLParser::GetDocument() {
    if (!root_) throw KivException(KivXMLMessages::kNoElements, KivException::kInputOutput);
    return *root_;
}

}  // namespace KivLibraryInternals
