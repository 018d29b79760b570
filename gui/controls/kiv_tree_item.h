#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "base/kiv_string.h"

// One item of a tree control: a text, its children in order and whether they are shown.
// Items belong to their parent; the tree control changes them (so that it can repaint).
class KivTreeItem {
public:
    explicit KivTreeItem(const KivString& text = KivString(), KivTreeItem* parent = nullptr)
        : text_(text), parent_(parent) {}

    const KivString& GetText() const { return text_; }
    KivTreeItem* GetParent() const { return parent_; }
    int32_t GetChildCount() const { return static_cast<int32_t>(children_.size()); }
    KivTreeItem* GetChild(int32_t index) const;
    bool HasChildren() const { return !children_.empty(); }
    bool IsExpanded() const { return expanded_; }
    // Levels below the invisible root: 0 for a top-level item.
    int32_t GetDepth() const;
    // The first child whose text is `text` (folded comparison), or null.
    KivTreeItem* FindChild(const KivString& text) const;
    // The texts from the top-level item down to this one.
    std::vector<KivString> GetPath() const;
    // Whatever the owner wants to keep with the item (a preset's index, for example).
    int64_t GetData() const { return data_; }
    void SetData(int64_t data) { data_ = data; }

private:
    friend class KivTreeControl;
    KivString text_;
    KivTreeItem* parent_;
    std::vector<std::unique_ptr<KivTreeItem>> children_;
    bool expanded_ = false;
    int64_t data_ = 0;
};
