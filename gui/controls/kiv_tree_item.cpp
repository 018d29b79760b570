#include "gui/controls/kiv_tree_item.h"

#include <algorithm>

KivTreeItem* KivTreeItem::GetChild(int32_t index) const {
    if (index < 0 || index >= GetChildCount()) return nullptr;
    return children_[static_cast<size_t>(index)].get();
}

int32_t KivTreeItem::GetDepth() const {
    int32_t depth = -1;
    for (const KivTreeItem* item = parent_; item != nullptr; item = item->parent_) ++depth;
    return depth;
}

KivTreeItem* KivTreeItem::FindChild(const KivString& text) const {
    for (const auto& child : children_) {
        if (child->text_.EqualsFolded(text)) return child.get();
    }
    return nullptr;
}

std::vector<KivString> KivTreeItem::GetPath() const {
    std::vector<KivString> path;
    for (const KivTreeItem* item = this; item != nullptr && item->parent_ != nullptr; item = item->parent_) {
        path.push_back(item->text_);
    }
    std::reverse(path.begin(), path.end());
    return path;
}
