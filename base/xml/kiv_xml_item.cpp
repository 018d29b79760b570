#include "base/xml/kiv_xml_item.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "base/kiv_exception.h"
#include "base/kiv_memory.h"
#include "base/xml/kiv_xml_messages.h"
#include "base/xml/kiv_xml_parser.h"
#include "base/xml/kiv_xml_stream_source.h"
#include "base/xml/kiv_xml_writer.h"

KivXMLItem::~KivXMLItem() { DeleteSubItems(); }

void* KivXMLItem::operator new(size_t size) { return KivMemory::Allocate(size); }

void KivXMLItem::operator delete(void* block) noexcept { KivMemory::Free(block); }

// Deletes the whole subtree without recursion: a hostile document nested a million levels
// deep must not exhaust the stack.
void KivXMLItem::DeleteSubItems() {
    KivList<KivXMLItem*, 16> pending;
    for (KivXMLItem* child : subItems_) pending.Add(child);
    subItems_.Clear();
    while (!pending.IsEmpty()) {
        KivXMLItem* item = pending.Last();
        pending.RemoveAt(pending.Count() - 1);
        for (KivXMLItem* child : item->subItems_) pending.Add(child);
        item->subItems_.Clear();
        delete item;
    }
    cachedSubItem_ = nullptr;
}

int32_t KivXMLItem::FindAttribute(const KivString& name, bool& found) const {
    int32_t low = 0;
    int32_t high = attributes_.Count();
    while (low < high) {
        int32_t middle = low + (high - low) / 2;
        int order = attributes_[middle].name.CompareFolded(name);
        if (order == 0) {
            found = true;
            return middle;
        }
        if (order < 0)
            low = middle + 1;
        else
            high = middle;
    }
    found = false;
    return low;
}

bool KivXMLItem::HasAttribute(const KivString& name) const {
    bool found;
    int32_t index = FindAttribute(name, found);
    cachedAttribute_ = found ? index : -1;
    return found;
}

const KivString& KivXMLItem::GetAttribute() const {
    if (cachedAttribute_ < 0) throw KivException(KivXMLMessages::kNoCachedAttribute);
    return attributes_[cachedAttribute_].value;
}

const KivString& KivXMLItem::GetAttribute(const KivString& name) const {
    bool found;
    int32_t index = FindAttribute(name, found);
    if (!found) KivException::Raise(KivException::kFailure, KivXMLMessages::kMissingAttribute, name);
    return attributes_[index].value;
}

void KivXMLItem::SetAttribute(const KivString& name, const KivString& value) {
    bool found;
    int32_t index = FindAttribute(name, found);
    if (found) {
        attributes_[index].value = value;
        return;
    }
    attributes_.Insert(index, KivAttribute{name, value});
    cachedAttribute_ = -1;  // the indices behind the insertion moved
}

void KivXMLItem::SetAttributes(const AttributeList& attributes) {
    // A few attributes, the usual case, cost less the simple way.
    if (attributes.Count() <= 8) {
        for (const KivAttribute& attribute : attributes) SetAttribute(attribute.name, attribute.value);
        return;
    }
    std::vector<KivAttribute> all;
    all.reserve(static_cast<size_t>(attributes_.Count() + attributes.Count()));
    for (KivAttribute& attribute : attributes_) all.push_back(std::move(attribute));
    for (const KivAttribute& attribute : attributes) all.push_back(attribute);
    // Stable, so that among equal names the one set first comes first.
    std::stable_sort(all.begin(), all.end(), [](const KivAttribute& left, const KivAttribute& right) {
        return left.name.CompareFolded(right.name) < 0;
    });
    attributes_.Clear();
    attributes_.Reserve(static_cast<int32_t>(all.size()));
    for (KivAttribute& attribute : all) {
        if (!attributes_.IsEmpty() && attributes_.Last().name.CompareFolded(attribute.name) == 0)
            attributes_.Last().value = std::move(attribute.value);
        else
            attributes_.Add(std::move(attribute));
    }
    cachedAttribute_ = -1;
}

void KivXMLItem::RemoveAttribute(const KivString& name) {
    bool found = false;
    const int32_t index = FindAttribute(name, found);
    if (!found) return;
    attributes_.RemoveAt(index);
    cachedAttribute_ = -1;
}

bool KivXMLItem::HasSubItem(const KivString& name) const {
    cachedSubItem_ = nullptr;
    for (KivXMLItem* item : subItems_) {
        if (item->name_.EqualsFolded(name)) {
            cachedSubItem_ = item;
            return true;
        }
    }
    return false;
}

KivXMLItem& KivXMLItem::GetSubItem() const {
    if (!cachedSubItem_) throw KivException(KivXMLMessages::kNoCachedSubItem);
    return *cachedSubItem_;
}

KivXMLItem& KivXMLItem::GetSubItem(const KivString& name) const {
    for (KivXMLItem* item : subItems_)
        if (item->name_.EqualsFolded(name)) return *item;
    KivException::Raise(KivException::kFailure, KivXMLMessages::kMissingSubItem, name);
}

KivXMLItem& KivXMLItem::AddSubItem(const KivString& name) {
    subItems_.Reserve(subItems_.Count() + 1);  // so that adding cannot fail after the allocation
    auto* item = new KivXMLItem(name);
    item->parent_ = this;
    subItems_.Add(item);
    return *item;
}

void KivXMLItem::RemoveSubItem(KivXMLItem& item) {
    for (int32_t index = 0; index < subItems_.Count(); ++index) {
        if (subItems_[index] != &item) continue;
        subItems_.RemoveAt(index);
        if (cachedSubItem_ == &item) cachedSubItem_ = nullptr;
        delete &item;
        return;
    }
}

void KivXMLItem::AppendText(const KivString& piece) {
    if (piece.IsEmpty()) return;
    if (!text_.IsEmpty()) text_.Append(u' ');
    text_.Append(piece);
}

void KivXMLItem::Clear() {
    DeleteSubItems();
    name_.Clear();
    attributes_.Clear();
    text_.Clear();
    cachedAttribute_ = -1;
}

void KivXMLItem::TakeContents(KivXMLItem& other) {
    if (&other == this) return;
    Clear();
    name_ = std::move(other.name_);
    attributes_ = std::move(other.attributes_);
    subItems_ = std::move(other.subItems_);
    text_ = std::move(other.text_);
    for (KivXMLItem* item : subItems_) item->parent_ = this;
    other.Clear();
}

void KivXMLItem::Load(KivStream& stream) {
    KivXMLStreamSource source(stream);
    KivLibraryInternals::KivXMLParser parser;
    parser.Parse(source);
    TakeContents(parser.GetDocument());
}

void KivXMLItem::Save(KivStream& stream, const KivString& encoding) const {
    KivLibraryInternals::KivXMLWriter writer(stream, encoding);
    writer.WriteDocument(*this);
}
