#pragma once
#include <vector>

#include "gui/controls/kiv_row_view.h"
#include "gui/controls/kiv_tree_item.h"
#include "gui/drawing/kiv_color.h"

// A tree of texts: one row per item whose parents are all expanded, indented by depth, a
// triangle before every item with children. A click on the triangle, a double-click on the
// item, or Right and Left on the selected item expand and collapse it; Left on a collapsed
// item goes to its parent, Right on an expanded one to its first child. The element's
// "items" lists paths separated by "|", the names in a path by "/"
// ("Factory/Bus glue|Factory/Vocals|User"); "expanded" 1 opens every item at the start and
// "selected" names the path of the item selected first.
class KivTreeControl : public KivRowView {
public:
    KivTreeControl();

    void LoadAttributes(const KivXMLItem& item) override;
    bool OnKeyDown(uint32_t key, uint8_t state) override;
    int32_t GetRowCount() const override { return static_cast<int32_t>(rows_.size()); }

    // The invisible root whose children are the top-level items.
    KivTreeItem& GetRoot() { return root_; }
    // Appends an item under `parent` (null: at the top level).
    KivTreeItem* AddItem(KivTreeItem* parent, const KivString& text);
    // The item at `path`, made with every missing item on the way.
    KivTreeItem* AddPath(const std::vector<KivString>& path);
    // Removes the item and its children; a selection inside them moves to the item's row.
    void RemoveItem(KivTreeItem* item);
    void RenameItem(KivTreeItem* item, const KivString& text);
    void Clear();
    // The item at `path` (names compared folded), or null.
    KivTreeItem* FindPath(const std::vector<KivString>& path) const;

    void SetExpanded(KivTreeItem* item, bool expanded);
    void ExpandAll();
    KivTreeItem* GetSelectedItem() const;
    // Selects the item, expanding its parents so that it has a row; null clears.
    void SelectItem(KivTreeItem* item);
    // The texts from the top level down to the selected item; empty without a selection.
    std::vector<KivString> GetSelectedPath() const;
    // The item shown in `row`, or null.
    KivTreeItem* ItemAt(int32_t row) const;
    int32_t RowOf(const KivTreeItem* item) const;

    // The selection moved (null: none).
    KivEvent<KivOnItemParams<KivTreeItem*>> OnSelect;
    // An item without children was double-clicked or Enter was pressed on it.
    KivEvent<KivOnItemParams<KivTreeItem*>> OnActivate;

    static constexpr int32_t kIndent = 16;

protected:
    void PaintRow(KivDrawer& drawer, int32_t row, const KivRect& rect, bool selected) override;
    void OnRowPressed(int32_t row, int32_t x) override;
    void OnRowDoubleClick(int32_t row, int32_t x) override;
    void OnSelectionChanged(int32_t row) override;

private:
    // Rebuilds the rows after items changed, keeping `keep` selected (null: no selection).
    void Rebuild(KivTreeItem* keep);
    void AddRows(KivTreeItem& item);
    // The triangle's box along x inside a row, in control coordinates.
    int32_t TriangleLeft(const KivTreeItem& item) const;
    void PaintTriangle(KivDrawer& drawer, const KivRect& rect, const KivTreeItem& item, KivColor ink) const;
    void Activate(KivTreeItem* item);
    // Raises OnSelect when the selected item is not the one last announced.
    void Announce();

    KivTreeItem root_;
    std::vector<KivTreeItem*> rows_;
    const KivTreeItem* announced_ = nullptr;  // compared only, never followed
};
