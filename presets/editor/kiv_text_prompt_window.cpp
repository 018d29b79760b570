#include "presets/editor/kiv_text_prompt_window.h"

#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_edit.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/controls/kiv_static.h"
#include "gui/style/kiv_house_style.h"
#include "gui/style/kiv_style_metrics.h"
#include "presets/editor/kiv_editor_dialogs.h"

namespace {

constexpr int32_t kWidth = 420;
constexpr int32_t kMargin = 16;
constexpr int32_t kButtonWidth = 90;

// The field of the prompt: Enter and Escape end the dialog instead of only ending the edit.
class KivPromptField final : public KivEdit {
public:
    bool OnKeyDown(uint32_t key, uint8_t state) override {
        if (key != KivKeyCode::kEnter && key != KivKeyCode::kEscape) return KivEdit::OnKeyDown(key, state);
        if (KivWindow* window = GetWindow())
            window->EndModal(key == KivKeyCode::kEnter ? KivTextPromptWindow::kOK : KivTextPromptWindow::kCancel);
        return true;
    }
};

template <typename T>
T* Add(KivWindow& window, const KivString& text) {
    auto* control = new T();
    control->SetText(text);
    window.AddChild(control);
    return control;
}

}  // namespace

KivTextPromptWindow::KivTextPromptWindow(const KivString& title, const KivString& prompt, const KivString& proposal)
    : prompt_(Add<KivStatic>(*this, prompt)),
      field_(Add<KivPromptField>(*this, KivString())),
      ok_(Add<KivButton>(*this, KivString("OK"))),
      cancel_(Add<KivButton>(*this, KivString("Cancel"))) {
    SetText(title);
    SetStyle(&KivHouseStyle::Instance());
    SetBackground(KivHouseStyle::DefaultColor(KivStyleColor::kGeneralBackground));
    field_->SetContent(proposal);
    ok_->OnClick.AddHandler(this, &KivTextPromptWindow::OnOK);
    cancel_->OnClick.AddHandler(this, &KivTextPromptWindow::OnCancel);
    const int32_t height = kMargin + KivStyleMetrics::kStaticSize.y + 6 + KivStyleMetrics::kEditSize.y + 2 * kMargin +
                           KivStyleMetrics::kButtonSize.y + kMargin;
    SetBounds(KivRect{0, 0, kWidth - 1, height - 1});
    SetFocus(field_);
}

void KivTextPromptWindow::Arrange() {
    const KivRect client = GetClientRect();
    int32_t top = kMargin;
    prompt_->SetBounds(KivRect{kMargin, top, client.right - kMargin, top + KivStyleMetrics::kStaticSize.y - 1});
    top += KivStyleMetrics::kStaticSize.y + 6;
    field_->SetBounds(KivRect{kMargin, top, client.right - kMargin, top + KivStyleMetrics::kEditSize.y - 1});
    const int32_t buttonsTop = client.bottom - kMargin - KivStyleMetrics::kButtonSize.y + 1;
    const int32_t cancelLeft = client.right - kMargin - kButtonWidth + 1;
    const int32_t okLeft = cancelLeft - KivStyleMetrics::kControlSpacing - kButtonWidth;
    ok_->SetBounds(KivRect{okLeft, buttonsTop, okLeft + kButtonWidth - 1, client.bottom - kMargin});
    cancel_->SetBounds(KivRect{cancelLeft, buttonsTop, client.right - kMargin, client.bottom - kMargin});
}

bool KivTextPromptWindow::OnKeyDown(uint32_t key, uint8_t state) {
    if (key == KivKeyCode::kEnter || key == KivKeyCode::kEscape) {
        EndModal(key == KivKeyCode::kEnter ? kOK : kCancel);
        return true;
    }
    return KivWindow::OnKeyDown(key, state);
}

KivString KivTextPromptWindow::GetAnswer() const { return field_->GetShownText(); }

bool KivTextPromptWindow::Ask(KivWindow* parent, const KivString& title, const KivString& prompt,
                              const KivString& proposal, KivString& answer) {
    KivTextPromptWindow window(title, prompt, proposal);
    const int32_t result = KivEditorDialogs::RunModal(window, parent);
    window.Close();
    if (result != kOK) return false;
    answer = window.GetAnswer().Trimmed();
    return true;
}
