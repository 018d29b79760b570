#pragma once
#include <memory>
#include <vector>

#include "gui/core/kiv_panel.h"
#include "gui/loader/kiv_value_holder.h"
#include "parameters/values/kiv_value.h"

// Pages under a row of tabs: the children are the pages, one visible at a time, and each
// tab shows its page's caption, unless the element's "tabs" lists the captions separated by
// "|". A click on a tab shows its page; Ctrl+Tab and Ctrl+Shift+Tab step through the pages
// from anywhere inside, Left, Right, Home and End while the tab row has the focus.
// "selected" names the first page shown; a bound value follows the shown page as its step.
class KivTabSet : public KivPanel, public KivValueHolder {
public:
    static constexpr int32_t kTabHeight = 26;

    KivTabSet();

    void LoadAttributes(const KivXMLItem& item) override;
    void BindValue(std::unique_ptr<KivValue> value) override;
    void AddChild(KivControl* child) override;
    void RemoveChild(KivControl* child) override;
    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    void Arrange() override;
    void OnMouseDown(KivPoint point, KivMouseButton button, uint8_t state) override;
    void OnMouseMove(KivPoint point, uint8_t state) override;
    void OnMouseLeave() override;
    bool OnKeyDown(uint32_t key, uint8_t state) override;
    void OnFocus(bool gained) override;
    bool CanTakeFocus() override { return IsEnabled(); }

    int32_t GetPageCount() const { return GetChildCount(); }
    KivControl* GetPage(int32_t index) const { return GetChild(index); }
    int32_t GetSelected() const { return selected_; }
    // Shows page `index` (clamped) and hides the others.
    void Select(int32_t index);
    KivString GetTabCaption(int32_t index) const;
    void SetTabCaptions(std::vector<KivString> captions);
    // The tab of page `index` in control coordinates (empty when out of range).
    KivRect TabRect(int32_t index) const;
    int32_t TabAt(KivPoint point) const;
    // Where the pages go.
    KivRect PageRect() const;
    KivValue* GetValue() const { return value_.get(); }

    // Another page is shown (item: its index).
    KivEvent<KivOnItemParams<int32_t>> OnSelect;

protected:
    // Switchers show no tabs.
    virtual bool ShowsTabs() const { return true; }

private:
    void ShowSelectedOnly();
    int32_t TabWidth(int32_t index) const;

    std::vector<KivString> captions_;
    std::unique_ptr<KivValue> value_;
    int32_t selected_ = 0;
    int32_t hover_ = -1;
    bool focused_ = false;
};

// Pages of which one is shown at a time, without tabs: the owner (or a bound value)
// chooses the page.
class KivSwitcher : public KivTabSet {
public:
    bool CanTakeFocus() override { return false; }

protected:
    bool ShowsTabs() const override { return false; }
};
