#pragma once
#include <vector>

#include "gui/core/kiv_window.h"
#include "gui/loader/kiv_gui_enumerations.h"

class KivButton;
class KivStaticMultiLine;

// The button sets a message window offers, left to right as listed.
enum class KivMessageButtons : int32_t { kOk, kOkCancel, kYesNo, kYesNoCancel };

// A modal question: the message over several lines and a row of buttons at the bottom
// right. A button ends the window's modal loop with its KivModalValue. Enter chooses the
// focused button, which at first is the default one (OK, or Yes); Escape and closing the
// window choose Cancel where there is one, else No, else OK. Tab and the arrow keys move
// the focus between the buttons.
class KivMessageWindow : public KivWindow {
public:
    KivMessageWindow(const KivString& title, const KivString& text, KivMessageButtons buttons);

    // Asks and waits: the window is shown centred over `parent` (or the screen when there
    // is none) and the answer is the pressed button's value.
    static KivModalValue Ask(KivWindow* parent, const KivString& title, const KivString& text,
                             KivMessageButtons buttons);
    // Shows the window centred over `parent` and runs its modal loop.
    KivModalValue Run(KivWindow* parent);

    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    bool OnKeyDown(uint32_t key, uint8_t state) override;
    bool OnCloseRequest() override;
    void Arrange() override;

    // The button for `value`; null when the set has none.
    KivButton* GetButton(KivModalValue value) const;
    KivModalValue GetDefaultValue() const { return choices_.front().value; }
    KivModalValue GetEscapeValue() const { return escape_; }
    const KivStaticMultiLine& GetMessage() const { return *message_; }
    // Ends the modal loop with `value` (only the first choice counts).
    void Choose(KivModalValue value);

private:
    struct Choice {
        KivButton* button;
        KivModalValue value;
    };
    void AddChoice(const char* caption, KivModalValue value);
    void OnButtonClick(KivOnClickParams& params);
    void MoveFocus(int32_t step);
    KivModalValue FocusedValue() const;
    KivRect ButtonStrip() const;

    KivStaticMultiLine* message_ = nullptr;
    std::vector<Choice> choices_;
    KivModalValue escape_ = KivModalValue::kOk;
    bool chosen_ = false;
};
