#pragma once
#include "gui/controls/kiv_control_value.h"

// A one-line text field. With a value bound it edits the value's display text: Enter (or
// leaving the field) hands the text to the value and shows what the value made of it,
// Escape brings back the text from before editing. Without a value it edits its content.
// The caret moves with the arrows, Home and End and by clicking; Backspace and Delete
// remove characters.
class KivEdit : public KivControlValue {
public:
    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    KivPoint ComputeAutoSize(KivPoint available) override;
    void OnMouseDown(KivPoint point, KivMouseButton button, uint8_t state) override;
    bool OnKeyDown(uint32_t key, uint8_t state) override;
    bool OnCharacter(char32_t character) override;
    void OnFocus(bool gained) override;
    bool CanTakeFocus() override { return IsEnabled(); }

    // The text as shown: the text being edited, or the value's display text.
    KivString GetShownText() const;
    int32_t GetCaret() const { return caret_; }
    bool IsEditing() const { return editing_; }
    void Commit();
    void Cancel();

private:
    void BeginEditing();
    void MoveCaret(int32_t position);
    int32_t CaretAt(int32_t x) const;
    KivRect TextRect() const;

    KivString text_;
    int32_t caret_ = 0;
    bool editing_ = false;
    bool focused_ = false;
};
