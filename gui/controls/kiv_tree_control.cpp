#include "gui/controls/kiv_tree_control.h"

#include <algorithm>

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/controls/kiv_control_painting.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/controls/kiv_text_items.h"
#include "gui/style/kiv_style_access.h"
#include "gui/style/kiv_style_metrics.h"
#include "gui/text/kiv_text_alignment.h"

using KivStyleAccess::Color;

KivTreeControl::KivTreeControl() : OnSelect(this), OnActivate(this) { root_.expanded_ = true; }

void KivTreeControl::LoadAttributes(const KivXMLItem& item) {
    KivRowView::LoadAttributes(item);
    if (item.HasAttribute(KivString("items"))) {
        for (const KivString& path : KivTextItems::Split(item.GetAttribute(KivString("items")), u'|')) {
            AddPath(KivTextItems::Split(path, u'/'));
        }
    }
    if (item.HasAttribute(KivString("expanded")) && KivNumber::TextToInteger(item.GetAttribute(KivString("expanded"))) != 0) {
        ExpandAll();
    }
    if (item.HasAttribute(KivString("selected"))) {
        SelectItem(FindPath(KivTextItems::Split(item.GetAttribute(KivString("selected")), u'/')));
    }
}

KivTreeItem* KivTreeControl::AddItem(KivTreeItem* parent, const KivString& text) {
    KivTreeItem& owner = parent != nullptr ? *parent : root_;
    owner.children_.push_back(std::make_unique<KivTreeItem>(text, &owner));
    KivTreeItem* added = owner.children_.back().get();
    Rebuild(GetSelectedItem());
    return added;
}

KivTreeItem* KivTreeControl::AddPath(const std::vector<KivString>& path) {
    KivTreeItem* item = &root_;
    for (const KivString& name : path) {
        KivTreeItem* child = item->FindChild(name);
        item = child != nullptr ? child : AddItem(item == &root_ ? nullptr : item, name);
    }
    return item == &root_ ? nullptr : item;
}

void KivTreeControl::RemoveItem(KivTreeItem* item) {
    if (item == nullptr || item == &root_) return;
    KivTreeItem* selected = GetSelectedItem();
    for (const KivTreeItem* inside = selected; inside != nullptr; inside = inside->parent_) {
        if (inside != item) continue;
        // The selection goes to the row the item leaves: its next sibling, else the one before.
        const int32_t row = RowOf(item);
        selected = nullptr;
        auto& siblings = item->parent_->children_;
        const auto at = std::find_if(siblings.begin(), siblings.end(), [item](const auto& child) { return child.get() == item; });
        if (at + 1 != siblings.end()) {
            selected = (at + 1)->get();
        } else if (row > 0) {
            selected = rows_[static_cast<size_t>(row - 1)];
        }
        break;
    }
    auto& siblings = item->parent_->children_;
    siblings.erase(std::find_if(siblings.begin(), siblings.end(), [item](const auto& child) { return child.get() == item; }));
    Rebuild(selected);
}

void KivTreeControl::RenameItem(KivTreeItem* item, const KivString& text) {
    if (item == nullptr || item == &root_) return;
    item->text_ = text;
    Invalidate();
}

void KivTreeControl::Clear() {
    root_.children_.clear();
    Rebuild(nullptr);
}

KivTreeItem* KivTreeControl::FindPath(const std::vector<KivString>& path) const {
    const KivTreeItem* item = &root_;
    for (const KivString& name : path) {
        item = item->FindChild(name);
        if (item == nullptr) return nullptr;
    }
    return item == &root_ ? nullptr : const_cast<KivTreeItem*>(item);
}

void KivTreeControl::SetExpanded(KivTreeItem* item, bool expanded) {
    if (item == nullptr || item == &root_ || item->expanded_ == expanded) return;
    item->expanded_ = expanded;
    // Collapsing a parent of the selection selects the parent, so the selection keeps a row.
    KivTreeItem* selected = GetSelectedItem();
    for (const KivTreeItem* inside = selected; !expanded && inside != nullptr; inside = inside->parent_) {
        if (inside->parent_ == item) selected = item;
    }
    Rebuild(selected);
}

void KivTreeControl::ExpandAll() {
    std::vector<KivTreeItem*> pending{&root_};
    while (!pending.empty()) {
        KivTreeItem* item = pending.back();
        pending.pop_back();
        item->expanded_ = item->HasChildren();
        for (const auto& child : item->children_) pending.push_back(child.get());
    }
    root_.expanded_ = true;
    Rebuild(GetSelectedItem());
}

KivTreeItem* KivTreeControl::ItemAt(int32_t row) const {
    return row >= 0 && row < GetRowCount() ? rows_[static_cast<size_t>(row)] : nullptr;
}

int32_t KivTreeControl::RowOf(const KivTreeItem* item) const {
    const auto found = std::find(rows_.begin(), rows_.end(), item);
    return found == rows_.end() ? -1 : static_cast<int32_t>(found - rows_.begin());
}

KivTreeItem* KivTreeControl::GetSelectedItem() const { return ItemAt(GetSelectedRow()); }

void KivTreeControl::SelectItem(KivTreeItem* item) {
    if (item == nullptr) {
        SelectRow(-1);
        return;
    }
    bool opened = false;
    for (KivTreeItem* parent = item->parent_; parent != nullptr && parent != &root_; parent = parent->parent_) {
        opened = opened || !parent->expanded_;
        parent->expanded_ = true;
    }
    if (opened) Rebuild(GetSelectedItem());
    SelectRow(RowOf(item));
}

std::vector<KivString> KivTreeControl::GetSelectedPath() const {
    const KivTreeItem* item = GetSelectedItem();
    return item == nullptr ? std::vector<KivString>{} : item->GetPath();
}

void KivTreeControl::Rebuild(KivTreeItem* keep) {
    rows_.clear();
    for (const auto& child : root_.children_) AddRows(*child);
    RowsChanged();
    SelectRow(RowOf(keep));
    // The selected row index may stay while the item in it changes, and the other way round.
    Announce();
}

void KivTreeControl::Announce() {
    KivTreeItem* selected = GetSelectedItem();
    if (selected == announced_) return;
    announced_ = selected;
    OnSelect.Raise(KivOnItemParams<KivTreeItem*>{this, selected});
}

void KivTreeControl::AddRows(KivTreeItem& item) {
    rows_.push_back(&item);
    if (!item.expanded_) return;
    for (const auto& child : item.children_) AddRows(*child);
}

int32_t KivTreeControl::TriangleLeft(const KivTreeItem& item) const {
    return RowRect(0).left + 2 + item.GetDepth() * kIndent;
}

void KivTreeControl::OnRowPressed(int32_t row, int32_t x) {
    KivTreeItem* item = ItemAt(row);
    const int32_t triangle = TriangleLeft(*item);
    if (item->HasChildren() && x >= triangle - 2 && x < triangle + kIndent) {
        SetExpanded(item, !item->expanded_);
        return;
    }
    SelectRow(row);
}

void KivTreeControl::OnRowDoubleClick(int32_t row, int32_t x) {
    KivTreeItem* item = ItemAt(row);
    const int32_t triangle = TriangleLeft(*item);
    // The press before the double-click has toggled an item under the triangle already.
    if (item->HasChildren() && x >= triangle - 2 && x < triangle + kIndent) return;
    Activate(item);
}

void KivTreeControl::Activate(KivTreeItem* item) {
    if (item->HasChildren()) {
        SetExpanded(item, !item->expanded_);
    } else {
        OnActivate.Raise(KivOnItemParams<KivTreeItem*>{this, item});
    }
}

void KivTreeControl::OnSelectionChanged(int32_t) { Announce(); }

bool KivTreeControl::OnKeyDown(uint32_t key, uint8_t state) {
    KivTreeItem* item = GetSelectedItem();
    if (item == nullptr || !IsEnabled()) return KivRowView::OnKeyDown(key, state);
    switch (key) {
        case KivKeyCode::kRight:
            if (item->HasChildren() && !item->expanded_) {
                SetExpanded(item, true);
            } else if (item->HasChildren()) {
                SelectItem(item->GetChild(0));
            }
            return true;
        case KivKeyCode::kLeft:
            if (item->expanded_) {
                SetExpanded(item, false);
            } else if (item->parent_ != &root_) {
                SelectItem(item->parent_);
            }
            return true;
        case KivKeyCode::kEnter: Activate(item); return true;
        default: return KivRowView::OnKeyDown(key, state);
    }
}

void KivTreeControl::PaintRow(KivDrawer& drawer, int32_t row, const KivRect& rect, bool selected) {
    const KivTreeItem& item = *ItemAt(row);
    const int32_t indent = 2 + item.GetDepth() * kIndent;
    KivColor ink = KivControlPainting::TextColor(drawer, IsEnabled());
    const KivRect text{rect.left + indent + kIndent, rect.top, rect.right, rect.bottom};
    if (selected) {
        const KivColor accent = Color(drawer, KivStyleColor::kHighlight);
        const KivRect mark{text.left - 4, rect.top, rect.right, rect.bottom};
        drawer.FillRoundRectangle(mark, 3, HasFocus() ? accent : accent.WithAlpha(90), KivDrawingMode::kAlphablend);
        if (HasFocus()) ink = Color(drawer, KivStyleColor::kHighlightText);
    }
    if (item.HasChildren()) {
        PaintTriangle(drawer, KivRect{rect.left + indent, rect.top, rect.left + indent + kIndent - 1, rect.bottom}, item,
                      Color(drawer, KivStyleColor::kDimmedText));
    }
    KivControlPainting::Text(drawer, KivStyleFont::kNormal, item.GetText(), text,
                             KivTextAlignment::kVerticalCentre | KivTextAlignment::kEllipsis, ink);
}

void KivTreeControl::PaintTriangle(KivDrawer& drawer, const KivRect& rect, const KivTreeItem& item, KivColor ink) const {
    const double x = rect.left + rect.Width() / 2.0 - 1.0;
    const double y = rect.top + rect.Height() / 2.0;
    if (item.expanded_) {
        const KivPointF down[] = {{x - 4.0, y - 2.0}, {x + 4.0, y - 2.0}, {x, y + 2.5}};
        drawer.FillPolygonF(down, 3, ink, KivDrawingMode::kAlphablend);
    } else {
        const KivPointF right[] = {{x - 2.0, y - 4.0}, {x - 2.0, y + 4.0}, {x + 2.5, y}};
        drawer.FillPolygonF(right, 3, ink, KivDrawingMode::kAlphablend);
    }
}
