#pragma once
#include <functional>
#include <vector>

#include "gui/core/kiv_control.h"

// The list a combo box opens over the window: one row per item, the current one marked,
// the row under the mouse lit. A click on a row chooses it, a click anywhere else or
// Escape closes the list without choosing; Up, Down and Enter work as well.
class KivDropDownList : public KivControl {
public:
    using Chosen = std::function<void(int32_t item)>;  // -1: closed without a choice

    KivDropDownList(std::vector<KivString> items, int32_t current, Chosen chosen);

    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    void OnMouseDown(KivPoint point, KivMouseButton button, uint8_t state) override;
    void OnMouseMove(KivPoint point, uint8_t state) override;
    bool OnKeyDown(uint32_t key, uint8_t state) override;
    bool CanTakeFocus() override { return true; }

    int32_t GetHot() const { return hot_; }
    static int32_t HeightFor(int32_t itemCount);

private:
    int32_t RowAt(KivPoint point) const;
    void Close(int32_t item);

    std::vector<KivString> items_;
    int32_t current_;
    int32_t hot_;
    Chosen chosen_;
};
