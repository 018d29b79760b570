#pragma once
#include <cstddef>
#include <cstdint>

#include "base/kiv_list.h"
#include "base/kiv_object.h"
#include "base/kiv_string.h"
#include "base/xml/kiv_attribute.h"

class KivStream;

// One element of an in-memory XML document; a document is its root item. Attributes are
// kept sorted by folded name (each name once), subitems in document order. Names are
// matched ignoring case and accents everywhere.
//
// HasAttribute and HasSubItem remember what they found, so that the common pattern
// "if (item.HasAttribute(name)) use(item.GetAttribute())" searches only once.
class KivXMLItem : public KivObject {
public:
    using AttributeList = KivList<KivAttribute, 2>;

    KivXMLItem() = default;
    explicit KivXMLItem(const KivString& name) : name_(name) {}
    ~KivXMLItem() override;
    KivXMLItem(const KivXMLItem&) = delete;
    KivXMLItem& operator=(const KivXMLItem&) = delete;

    // Items live in the module's memory like every other framework allocation.
    static void* operator new(size_t size);
    static void operator delete(void* block) noexcept;

    const KivString& GetName() const noexcept { return name_; }
    void SetName(const KivString& name) { name_ = name; }
    KivXMLItem* GetParent() const noexcept { return parent_; }

    int32_t GetAttributeCount() const noexcept { return attributes_.Count(); }
    const KivAttribute& GetAttributeAt(int32_t index) const noexcept { return attributes_[index]; }
    bool HasAttribute(const KivString& name) const;
    // The value of the attribute the last successful HasAttribute found.
    const KivString& GetAttribute() const;
    // Raises "Could not find required attribute ({0})." when there is none of that name.
    const KivString& GetAttribute(const KivString& name) const;
    // Replaces the value of an attribute of that name, else inserts it in sorted position.
    void SetAttribute(const KivString& name, const KivString& value);
    // Removes the attribute of that name, if there is one.
    void RemoveAttribute(const KivString& name);
    // The same result as SetAttribute for each in turn (the first spelling of a name, its
    // last value), in n log n steps: the loader hands over a whole element at once, and
    // inserting one by one in sorted position shifts the list every time, so a hostile
    // element of 100,000 attributes would take seconds.
    void SetAttributes(const AttributeList& attributes);

    int32_t GetSubItemCount() const noexcept { return subItems_.Count(); }
    KivXMLItem& GetSubItemAt(int32_t index) const noexcept { return *subItems_[index]; }
    // The first subitem of that name, in document order.
    bool HasSubItem(const KivString& name) const;
    // The subitem the last successful HasSubItem found.
    KivXMLItem& GetSubItem() const;
    // Raises "Could not find required subitem ({0})." when there is none of that name.
    KivXMLItem& GetSubItem(const KivString& name) const;
    KivXMLItem& AddSubItem(const KivString& name);
    // Deletes `item`, one of this item's own subitems, with its whole subtree.
    void RemoveSubItem(KivXMLItem& item);

    const KivString& GetText() const noexcept { return text_; }
    void SetText(const KivString& text) { text_ = text; }
    // Appends a piece of text, separated by one space from text already there.
    void AppendText(const KivString& piece);

    // Empties the item: name, attributes, subitems and text.
    void Clear();
    // Replaces this item's contents by those of `other`, which is left empty; the subitems
    // move over with their whole subtrees.
    void TakeContents(KivXMLItem& other);

    // Reads a whole document into this item (UTF-8 unless the document names another
    // encoding). On failure this item is left unchanged.
    void Load(KivStream& stream);
    // Writes this item as the root of a document in the given encoding ("utf-8").
    void Save(KivStream& stream, const KivString& encoding) const;

private:
    // Where an attribute of that name is, or would be inserted; `found` tells which.
    int32_t FindAttribute(const KivString& name, bool& found) const;
    void DeleteSubItems();

    KivXMLItem* parent_ = nullptr;
    KivString name_;
    AttributeList attributes_;
    KivList<KivXMLItem*, 2> subItems_;
    KivString text_;
    mutable int32_t cachedAttribute_ = -1;
    mutable KivXMLItem* cachedSubItem_ = nullptr;
};
