#pragma once
#include "gui/core/kiv_control_content.h"
#include "gui/core/kiv_event.h"

// A push button with its caption centred on a raised face. A toggle button ("toggle")
// stays down after a click until the next one and shows its state in the accent colour.
// A click counts when the button is released over the button; Space and Enter click the
// focused button.
class KivButton : public KivControlContent {
public:
    KivButton();

    void LoadAttributes(const KivXMLItem& item) override;
    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    KivPoint ComputeAutoSize(KivPoint available) override;
    void OnMouseDown(KivPoint point, KivMouseButton button, uint8_t state) override;
    void OnMouseUp(KivPoint point, KivMouseButton button, uint8_t state) override;
    void OnMouseMove(KivPoint point, uint8_t state) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    bool OnKeyDown(uint32_t key, uint8_t state) override;
    void OnFocus(bool gained) override;
    bool CanTakeFocus() override { return IsEnabled(); }

    void SetToggle(bool toggle) { toggle_ = toggle; }
    bool IsToggle() const { return toggle_; }
    bool IsChecked() const { return checked_; }
    void SetChecked(bool checked);
    // Raised after every click, once the toggle state has changed.
    KivEvent<KivOnClickParams> OnClick;

private:
    void Click();
    void SetHover(bool hover);
    bool ShowsDown() const { return (pressed_ && hover_) || checked_; }

    bool toggle_ = false;
    bool checked_ = false;
    bool pressed_ = false;
    bool hover_ = false;
    bool focused_ = false;
};
