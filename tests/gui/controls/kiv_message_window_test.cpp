// The message window: its button sets, and the modal loop ending with the value of the
// button chosen by mouse, Enter, Escape or closing the window.
#include <functional>

#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/controls/kiv_message_window.h"
#include "gui/controls/kiv_static_multi_line.h"
#include "gui/style/kiv_house_style.h"
#include "gui/text/kiv_font.h"
#include "kiv_offscreen_fixture.h"

namespace {

using Input = std::function<void(KivMessageWindow&)>;

class KivMessageWindowTest : public KivOffscreenTest {
protected:
    // Shows a question, queues `input` and runs the window's modal loop to its answer.
    KivModalValue Answer(KivMessageButtons buttons, const Input& input) {
        KivMessageWindow dialog(KivString("Presets"), KivString("Select preset E?"), buttons);
        dialog.Show();
        system->ProcessPendingEvents();
        input(dialog);
        const KivModalValue answer = dialog.Run(nullptr);
        EXPECT_FALSE(dialog.HasNativeWindow());
        return answer;
    }
    Input ClickOn(KivModalValue value) {
        return [this, value](KivMessageWindow& dialog) { Click(dialog, CentreOf(*dialog.GetButton(value))); };
    }
    Input Press(uint32_t key) {
        return [this, key](KivMessageWindow& dialog) { Key(dialog, key); };
    }
};

TEST_F(KivMessageWindowTest, ButtonSetsSitLeftToRightWithTheirDefaultAndEscapeAnswers) {
    KivMessageWindow ask(KivString("Delete"), KivString("Delete the preset?"), KivMessageButtons::kYesNoCancel);
    const KivButton* yes = ask.GetButton(KivModalValue::kYes);
    const KivButton* no = ask.GetButton(KivModalValue::kNo);
    const KivButton* cancel = ask.GetButton(KivModalValue::kCancel);
    ASSERT_TRUE(yes != nullptr && no != nullptr && cancel != nullptr);
    EXPECT_EQ(ask.GetButton(KivModalValue::kOk), nullptr);
    EXPECT_LT(yes->GetBounds().right, no->GetBounds().left);
    EXPECT_LT(no->GetBounds().right, cancel->GetBounds().left);
    EXPECT_EQ(cancel->GetBounds().right, ask.GetClientRect().right - 12);  // the strip's padding
    EXPECT_EQ(yes->GetText(), KivString("Yes"));
    EXPECT_EQ(ask.GetFocus(), yes);
    EXPECT_EQ(ask.GetEscapeValue(), KivModalValue::kCancel);

    EXPECT_EQ(KivMessageWindow(KivString(), KivString(), KivMessageButtons::kYesNo).GetEscapeValue(), KivModalValue::kNo);
    EXPECT_EQ(KivMessageWindow(KivString(), KivString(), KivMessageButtons::kOk).GetEscapeValue(), KivModalValue::kOk);
    const KivMessageWindow okCancel(KivString(), KivString(), KivMessageButtons::kOkCancel);
    EXPECT_EQ(okCancel.GetDefaultValue(), KivModalValue::kOk);
    EXPECT_EQ(okCancel.GetEscapeValue(), KivModalValue::kCancel);
    EXPECT_EQ(okCancel.GetButton(KivModalValue::kYes), nullptr);
}

TEST_F(KivMessageWindowTest, TheModalLoopAnswersWithTheChosenButton) {
    EXPECT_EQ(Answer(KivMessageButtons::kYesNoCancel, ClickOn(KivModalValue::kNo)), KivModalValue::kNo);
    EXPECT_EQ(Answer(KivMessageButtons::kOkCancel, ClickOn(KivModalValue::kCancel)), KivModalValue::kCancel);
    EXPECT_EQ(Answer(KivMessageButtons::kYesNo, Press(KivKeyCode::kEnter)), KivModalValue::kYes);
    EXPECT_EQ(Answer(KivMessageButtons::kOk, Press(KivKeyCode::kEnter)), KivModalValue::kOk);
    EXPECT_EQ(Answer(KivMessageButtons::kYesNoCancel, Press(KivKeyCode::kEscape)), KivModalValue::kCancel);
    EXPECT_EQ(Answer(KivMessageButtons::kYesNo, Press(KivKeyCode::kEscape)), KivModalValue::kNo);
    // Enter takes the focused button: one step right of Yes is No.
    EXPECT_EQ(Answer(KivMessageButtons::kYesNoCancel,
                     [this](KivMessageWindow& dialog) {
                         Key(dialog, KivKeyCode::kRight);
                         Key(dialog, KivKeyCode::kEnter);
                     }),
              KivModalValue::kNo);
    // Closing the window is Escape; a press beside the buttons answers nothing.
    EXPECT_EQ(Answer(KivMessageButtons::kOkCancel,
                     [this](KivMessageWindow& dialog) {
                         Click(dialog, KivPoint{5, 5});
                         system->InjectCloseRequest(dialog);
                     }),
              KivModalValue::kCancel);
}

TEST_F(KivMessageWindowTest, LongMessagesWrapAtSpacesAndMakeTheWindowTaller) {
    const KivFont& font = KivHouseStyle::DefaultFont(KivStyleFont::kNormal);
    const KivString text("The preset \"Gentle bus glue\" already exists in this folder. Overwrite it with the current settings?\nThis cannot be undone.");
    const auto lines = KivStaticMultiLine::Wrap(font, text, 200);
    ASSERT_GE(lines.size(), 4u);
    for (const KivString& line : lines) EXPECT_LE(font.MeasureText(line), 200.0);
    EXPECT_EQ(lines.back(), KivString("This cannot be undone."));
    EXPECT_EQ(KivStaticMultiLine::Wrap(font, KivString("one two"), 1000), (std::vector<KivString>{KivString("one two")}));

    const KivMessageWindow shortOne(KivString(), KivString("Select preset E?"), KivMessageButtons::kYesNo);
    const KivMessageWindow longOne(KivString(), text, KivMessageButtons::kYesNo);
    EXPECT_EQ(longOne.GetSize().x, shortOne.GetSize().x);
    EXPECT_GT(longOne.GetSize().y, shortOne.GetSize().y + font.LineHeight());
    EXPECT_GE(longOne.GetMessage().GetBounds().Height(),
              KivStaticMultiLine::HeightOf(font, static_cast<int32_t>(KivStaticMultiLine::Wrap(font, text, 340).size())));
}

}  // namespace
