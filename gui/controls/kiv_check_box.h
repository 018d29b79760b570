#pragma once
#include "gui/core/kiv_control_content.h"
#include "gui/core/kiv_event.h"

// A small box with a check mark, followed by its caption. A click anywhere on the control
// or Space while it has the focus toggles it; "checked" sets the initial state.
class KivCheckBox : public KivControlContent {
public:
    KivCheckBox();

    void LoadAttributes(const KivXMLItem& item) override;
    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    KivPoint ComputeAutoSize(KivPoint available) override;
    void OnMouseDown(KivPoint point, KivMouseButton button, uint8_t state) override;
    bool OnKeyDown(uint32_t key, uint8_t state) override;
    void OnFocus(bool gained) override;
    bool CanTakeFocus() override { return IsEnabled(); }

    bool IsChecked() const { return checked_; }
    void SetChecked(bool checked);
    // Raised when the user changed the state.
    KivEvent<KivOnClickParams> OnClick;

private:
    void Toggle();
    void PaintMark(KivDrawer& drawer, const KivRect& box) const;

    bool checked_ = false;
    bool focused_ = false;
};
