#include "base/xml/kiv_xml_item_iterator.h"

#include "base/kiv_exception.h"
#include "base/xml/kiv_xml_item.h"
#include "base/xml/kiv_xml_messages.h"

void KivXMLItemIterator::Start(const KivXMLItem& item) {
    item_ = &item;
    name_.Clear();
    filtered_ = false;
    index_ = -1;
}

void KivXMLItemIterator::Start(const KivXMLItem& item, const KivString& name) {
    Start(item);
    name_ = name;
    filtered_ = true;
}

bool KivXMLItemIterator::Next() {
    RequireStarted();
    int32_t count = item_->GetSubItemCount();
    while (++index_ < count)
        if (!filtered_ || item_->GetSubItemAt(index_).GetName().EqualsFolded(name_)) return true;
    index_ = count;  // stays exhausted
    return false;
}

KivXMLItem& KivXMLItemIterator::Current() const {
    RequireStarted();
    if (index_ < 0 || index_ >= item_->GetSubItemCount())
        throw KivException(KivXMLMessages::kIteratorNotStarted, KivException::kNotInitialized);
    return item_->GetSubItemAt(index_);
}

void KivXMLItemIterator::RequireStarted() const {
    if (!item_) throw KivException(KivXMLMessages::kIteratorNotStarted, KivException::kNotInitialized);
}
