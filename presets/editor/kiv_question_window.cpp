#include "presets/editor/kiv_question_window.h"

#include <cmath>
#include <utility>

#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_control_painting.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/core/kiv_windows.h"
#include "gui/style/kiv_house_style.h"
#include "gui/style/kiv_style_access.h"
#include "gui/style/kiv_style_metrics.h"
#include "gui/text/kiv_font.h"

namespace {

constexpr int32_t kMargin = 20;
constexpr int32_t kAccentWidth = 4;  // the accent bar left of the text marks a question
constexpr int32_t kParagraphGap = 6;
constexpr int32_t kButtonWidth = 90;

std::function<void(KivQuestionWindow&)>& AskHook() {
    static std::function<void(KivQuestionWindow&)> hook;
    return hook;
}

const KivFont& FontFor(bool bold) {
    return KivHouseStyle::DefaultFont(bold ? KivStyleFont::kTitle : KivStyleFont::kNormal);
}

double Measure(const std::string& text, bool bold) { return FontFor(bold).MeasureText(KivString::FromUTF8(text)); }

// Reads a tag starting at `at` ("<p>", "<b>", "</b>"); returns the position after it.
size_t SkipTag(const std::string& text, size_t at, bool& paragraph, bool& bold) {
    const size_t end = text.find('>', at);
    if (end == std::string::npos) return text.size();
    const std::string tag = text.substr(at, end - at + 1);
    if (tag == "<p>") paragraph = true;
    if (tag == "<b>") bold = true;
    if (tag == "</b>") bold = false;
    return end + 1;
}

}  // namespace

KivQuestionWindow::KivQuestionWindow(const KivString& title, const KivString& question)
    : yes_(new KivButton()), no_(new KivButton()) {
    SetText(title);
    SetStyle(&KivHouseStyle::Instance());
    SetBackground(KivHouseStyle::DefaultColor(KivStyleColor::kGeneralBackground));
    const int32_t textHeight = LayOut(question);
    const int32_t buttonsTop = kMargin + textHeight + kMargin;
    AddButtons(buttonsTop);
    SetBounds(KivRect{0, 0, kWidth - 1, buttonsTop + KivStyleMetrics::kButtonSize.y + kMargin - 1});
}

int32_t KivQuestionWindow::LayOut(const KivString& question) {
    const std::string text = question.ToUTF8();
    const int32_t left = kMargin + kAccentWidth + 12;
    const int32_t right = kWidth - kMargin;
    const int32_t lineHeight = FontFor(true).LineHeight() + 2;
    KivPoint pen{left, kMargin};
    bool bold = false;
    bool lineEmpty = true;
    const double space = Measure(" ", false);
    size_t at = 0;
    while (at < text.size()) {
        if (text[at] == '<') {
            bool paragraph = false;
            at = SkipTag(text, at, paragraph, bold);
            if (paragraph) {
                // "<p><p>" leaves one blank gap, not two: an empty line starts no new one.
                if (!lineEmpty) pen = KivPoint{left, pen.y + lineHeight + kParagraphGap};
                lineEmpty = true;
            }
            continue;
        }
        if (text[at] == ' ') {
            ++at;
            continue;
        }
        size_t end = at;
        while (end < text.size() && text[end] != ' ' && text[end] != '<') ++end;
        Word word{text.substr(at, end - at), bold, {}};
        const auto width = static_cast<int32_t>(std::ceil(Measure(word.text, bold)));
        if (!lineEmpty && pen.x + width > right) pen = KivPoint{left, pen.y + lineHeight};
        word.at = pen;
        words_.push_back(std::move(word));
        pen.x += width + static_cast<int32_t>(std::ceil(space));
        lineEmpty = false;
        at = end;
    }
    return pen.y + (lineEmpty ? 0 : lineHeight) - kMargin;
}

void KivQuestionWindow::AddButtons(int32_t top) {
    const int32_t height = KivStyleMetrics::kButtonSize.y;
    const int32_t noLeft = kWidth - kMargin - kButtonWidth;
    const int32_t yesLeft = noLeft - KivStyleMetrics::kControlSpacing - kButtonWidth;
    yes_->SetText(KivString("Yes"));
    no_->SetText(KivString("No"));
    AddChild(yes_);
    AddChild(no_);
    yes_->SetBounds(KivRect{yesLeft, top, yesLeft + kButtonWidth - 1, top + height - 1});
    no_->SetBounds(KivRect{noLeft, top, noLeft + kButtonWidth - 1, top + height - 1});
    yes_->OnClick.AddHandler(this, &KivQuestionWindow::OnYes);
    no_->OnClick.AddHandler(this, &KivQuestionWindow::OnNo);
}

void KivQuestionWindow::Paint(KivDrawer& drawer, const KivRect& dirty) {
    KivWindow::Paint(drawer, dirty);
    int32_t bottom = kMargin;
    for (const Word& word : words_) {
        const KivFont& font = FontFor(word.bold);
        const KivRect rect{word.at.x, word.at.y, kWidth - kMargin, word.at.y + font.LineHeight()};
        drawer.AlignedTextOut(font, KivString::FromUTF8(word.text), rect, 0,
                              KivStyleAccess::Color(drawer, KivStyleColor::kText), KivDrawingMode::kAlphablend);
        bottom = std::max(bottom, rect.bottom);
    }
    const KivRect accent{kMargin, kMargin, kMargin + kAccentWidth - 1, bottom};
    drawer.FillRoundRectangle(accent, 2, KivStyleAccess::Color(drawer, KivStyleColor::kHighlight),
                              KivDrawingMode::kAlphablend);
}

bool KivQuestionWindow::OnKeyDown(uint32_t key, uint8_t state) {
    if (key == KivKeyCode::kEnter) {
        EndModal(kYes);
        return true;
    }
    if (key == KivKeyCode::kEscape) {
        EndModal(kNo);
        return true;
    }
    return KivWindow::OnKeyDown(key, state);
}

void KivQuestionWindow::PlaceOver(const KivWindow* parent) {
    KivRect area = GetBounds();
    if (parent != nullptr) {
        area = parent->GetBounds();
    } else if (KivWindowSystem* system = KivWindows::System()) {
        area = system->GetWorkArea(KivPoint{});
    }
    const KivPoint size = GetSize();
    const int32_t left = area.left + (area.Width() - size.x) / 2;
    const int32_t top = area.top + (area.Height() - size.y) / 2;
    SetBounds(KivRect{left, top, left + size.x - 1, top + size.y - 1});
}

bool KivQuestionWindow::Ask(KivWindow* parent, const KivString& title, const KivString& question,
                            const std::function<void(KivQuestionWindow&)>& beforeModal) {
    KivQuestionWindow window(title, question);
    window.PlaceOver(parent);
    window.Show();
    if (beforeModal) beforeModal(window);
    if (AskHook()) AskHook()(window);
    return window.RunModal() == kYes;
}

void KivQuestionWindow::SetAskHook(std::function<void(KivQuestionWindow&)> hook) { AskHook() = std::move(hook); }
