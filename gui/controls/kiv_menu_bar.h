#pragma once
#include <vector>

#include "gui/core/kiv_control.h"

// A strip of menu titles along the top of a window ("items" separated by "|"). The title
// under the mouse is lit; a click raises OnChoose with its index, and the owner opens what
// belongs to it.
class KivMenuBar : public KivControl {
public:
    static constexpr int32_t kHeight = 24;

    KivMenuBar();

    void LoadAttributes(const KivXMLItem& item) override;
    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    KivPoint ComputeAutoSize(KivPoint available) override;
    void OnMouseDown(KivPoint point, KivMouseButton button, uint8_t state) override;
    void OnMouseMove(KivPoint point, uint8_t state) override;
    void OnMouseLeave() override;

    void SetItems(std::vector<KivString> items);
    int32_t GetItemCount() const { return static_cast<int32_t>(items_.size()); }
    // The title of item `index` in control coordinates.
    KivRect ItemRect(int32_t index) const;
    int32_t ItemAt(KivPoint point) const;

    KivEvent<KivOnMenuParams> OnChoose;

private:
    std::vector<KivString> items_;
    int32_t hover_ = -1;
};
