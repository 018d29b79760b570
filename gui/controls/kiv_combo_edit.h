#pragma once
#include <vector>

#include "gui/controls/kiv_control_value.h"

class KivDropDownList;

// A drop-down choice: the current item in a field with an arrow. A click opens the list
// over the window; the wheel and the arrow keys step through the items without opening
// it. The items are the bound value's steps, or the element's "items" separated by "|"
// with "selected" naming the initial one.
class KivComboEdit : public KivControlValue {
public:
    ~KivComboEdit() override;

    void LoadAttributes(const KivXMLItem& item) override;
    void BindValue(std::unique_ptr<KivValue> value) override;
    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    KivPoint ComputeAutoSize(KivPoint available) override;
    void OnMouseDown(KivPoint point, KivMouseButton button, uint8_t state) override;
    bool OnMouseWheel(KivPoint point, int32_t delta, uint8_t state) override;
    bool OnKeyDown(uint32_t key, uint8_t state) override;
    void OnFocus(bool gained) override;
    bool CanTakeFocus() override { return IsEnabled(); }

    int32_t GetItemCount() const;
    KivString GetItem(int32_t index) const;
    int32_t GetSelected() const;
    void Select(int32_t index);
    void SetItems(std::vector<KivString> items, int32_t selected);
    bool IsOpen() const;
    void Open();

private:
    void Choose(int32_t index);
    void PaintArrow(KivDrawer& drawer, const KivRect& box) const;

    std::vector<KivString> items_;
    int32_t selected_ = 0;
    bool focused_ = false;
    KivDropDownList* list_ = nullptr;  // a child of the window while it exists
};
