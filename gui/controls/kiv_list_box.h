#pragma once
#include <memory>
#include <vector>

#include "gui/controls/kiv_row_view.h"
#include "gui/loader/kiv_value_holder.h"
#include "parameters/values/kiv_value.h"

// A list of texts to choose one from. The items are the element's "items" separated by
// "|" with "selected" naming the initial one, or the steps of a bound value, whose step
// the selection then is. A click selects, a double-click or Enter activates the item.
class KivListBox : public KivRowView, public KivValueHolder {
public:
    KivListBox();

    void LoadAttributes(const KivXMLItem& item) override;
    void BindValue(std::unique_ptr<KivValue> value) override;
    bool OnKeyDown(uint32_t key, uint8_t state) override;
    int32_t GetRowCount() const override { return GetItemCount(); }

    int32_t GetItemCount() const;
    KivString GetItem(int32_t index) const;
    void SetItems(std::vector<KivString> items, int32_t selected = -1);
    void AddItem(const KivString& text);
    void RemoveItem(int32_t index);
    int32_t GetSelected() const { return GetSelectedRow(); }
    void Select(int32_t index) { SelectRow(index); }
    KivValue* GetValue() const { return value_.get(); }

    // The selection moved (item: the new index, -1 for none).
    KivEvent<KivOnItemParams<int32_t>> OnSelect;
    // An item was double-clicked or Enter was pressed on it.
    KivEvent<KivOnItemParams<int32_t>> OnDoubleClick;

protected:
    void PaintRow(KivDrawer& drawer, int32_t row, const KivRect& rect, bool selected) override;
    void OnRowDoubleClick(int32_t row, int32_t x) override;
    void OnSelectionChanged(int32_t row) override;

private:
    std::vector<KivString> items_;
    std::unique_ptr<KivValue> value_;
};
