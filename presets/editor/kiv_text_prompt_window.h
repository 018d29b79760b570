#pragma once
#include "gui/core/kiv_event.h"
#include "gui/core/kiv_window.h"

class KivButton;
class KivEdit;
class KivStatic;

// A modal request for one line of text (a name, a file name): the prompt, a field holding
// the proposal, and OK and Cancel. Enter in the field is OK, Escape and closing are Cancel.
class KivTextPromptWindow : public KivWindow {
public:
    static constexpr int32_t kOK = 1;
    static constexpr int32_t kCancel = 2;

    KivTextPromptWindow(const KivString& title, const KivString& prompt, const KivString& proposal);

    KivStatic& GetPrompt() { return *prompt_; }
    KivEdit& GetField() { return *field_; }
    KivButton& GetOKButton() { return *ok_; }
    KivButton& GetCancelButton() { return *cancel_; }
    // The field's text as it stands, typing not yet committed included.
    KivString GetAnswer() const;

    void Arrange() override;
    bool OnKeyDown(uint32_t key, uint8_t state) override;

    // Asks over `parent` (may be null); false when cancelled, else `answer` holds the text.
    static bool Ask(KivWindow* parent, const KivString& title, const KivString& prompt, const KivString& proposal,
                    KivString& answer);

private:
    void OnOK(KivOnClickParams&) { EndModal(kOK); }
    void OnCancel(KivOnClickParams&) { EndModal(kCancel); }

    KivStatic* prompt_;
    KivEdit* field_;
    KivButton* ok_;
    KivButton* cancel_;
};
