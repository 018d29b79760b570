#include "gui/controls/kiv_message_window.h"

#include <algorithm>

#include "gui/controls/kiv_button.h"
#include "gui/controls/kiv_control_painting.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/controls/kiv_static_multi_line.h"
#include "gui/core/kiv_window_placement.h"
#include "gui/core/kiv_windows.h"
#include "gui/style/kiv_house_style.h"
#include "gui/style/kiv_style_access.h"
#include "gui/style/kiv_style_metrics.h"
#include "gui/text/kiv_font.h"
#include "gui/text/kiv_text_alignment.h"

using KivStyleAccess::Color;

namespace {
constexpr int32_t kMargin = 18;
constexpr int32_t kTextWidth = 340;
constexpr int32_t kButtonWidth = 88;
constexpr int32_t kStripPadding = 12;
constexpr int32_t kStripHeight = KivStyleMetrics::kButtonSize.y + 2 * kStripPadding;
// The question mark in a disc left of the text.
constexpr int32_t kIconSize = 28;
constexpr int32_t kIconGap = 14;
constexpr int32_t kTextLeft = kMargin + kIconSize + kIconGap;
}  // namespace

KivMessageWindow::KivMessageWindow(const KivString& title, const KivString& text, KivMessageButtons buttons) {
    SetStyle(&KivHouseStyle::Instance());
    SetBackground(KivHouseStyle::DefaultColor(KivStyleColor::kGeneralBackground));
    SetText(title);
    message_ = new KivStaticMultiLine();
    AddChild(message_);
    message_->SetText(text);
    const bool yesNo = buttons == KivMessageButtons::kYesNo || buttons == KivMessageButtons::kYesNoCancel;
    const bool cancel = buttons == KivMessageButtons::kOkCancel || buttons == KivMessageButtons::kYesNoCancel;
    if (yesNo) {
        AddChoice("Yes", KivModalValue::kYes);
        AddChoice("No", KivModalValue::kNo);
        escape_ = KivModalValue::kNo;
    } else {
        AddChoice("OK", KivModalValue::kOk);
    }
    if (cancel) {
        AddChoice("Cancel", KivModalValue::kCancel);
        escape_ = KivModalValue::kCancel;
    }
    const KivFont& font = KivHouseStyle::DefaultFont(KivStyleFont::kNormal);
    const auto lines = static_cast<int32_t>(KivStaticMultiLine::Wrap(font, text, kTextWidth).size());
    const int32_t textHeight = KivStaticMultiLine::HeightOf(font, std::max(lines, 1));
    const int32_t height = std::max(textHeight, kIconSize);
    SetBounds(KivRect{0, 0, kTextLeft + kTextWidth + kMargin - 1, 2 * kMargin + height + kStripHeight - 1});
    SetFocus(choices_.front().button);
}

KivModalValue KivMessageWindow::Ask(KivWindow* parent, const KivString& title, const KivString& text,
                                    KivMessageButtons buttons) {
    KivMessageWindow window(title, text, buttons);
    return window.Run(parent);
}

KivModalValue KivMessageWindow::Run(KivWindow* parent) {
    if (!HasNativeWindow()) {
        KivCentreWindowOver(*this, parent);
        Show();
    }
    const int32_t result = RunModal();
    Close();
    // A loop that ended without a button (the window was taken away) counts as Escape.
    return chosen_ && result != 0 ? static_cast<KivModalValue>(result) : escape_;
}

void KivMessageWindow::AddChoice(const char* caption, KivModalValue value) {
    auto* button = new KivButton();
    AddChild(button);
    button->SetText(KivString(caption));
    button->OnClick.AddHandler(this, &KivMessageWindow::OnButtonClick);
    choices_.push_back(Choice{button, value});
}

KivButton* KivMessageWindow::GetButton(KivModalValue value) const {
    for (const Choice& choice : choices_) {
        if (choice.value == value) return choice.button;
    }
    return nullptr;
}

void KivMessageWindow::OnButtonClick(KivOnClickParams& params) {
    for (const Choice& choice : choices_) {
        if (choice.button == params.sender) Choose(choice.value);
    }
}

void KivMessageWindow::Choose(KivModalValue value) {
    if (chosen_) return;
    chosen_ = true;
    EndModal(static_cast<int32_t>(value));
}

KivRect KivMessageWindow::ButtonStrip() const {
    const KivRect client = GetClientRect();
    return KivRect{client.left, client.bottom - kStripHeight + 1, client.right, client.bottom};
}

void KivMessageWindow::Arrange() {
    const KivRect client = GetClientRect();
    const KivRect strip = ButtonStrip();
    // A single line sits level with the middle of the icon.
    const KivFont& font = KivHouseStyle::DefaultFont(KivStyleFont::kNormal);
    const int32_t top = message_->ComputeAutoSize(KivPoint{kTextWidth, 0}).y <= font.LineHeight()
                            ? kMargin + (kIconSize - font.LineHeight()) / 2
                            : kMargin;
    message_->SetBounds(KivRect{kTextLeft, top, client.right - kMargin, strip.top - kMargin});
    int32_t right = client.right - kStripPadding;
    for (auto choice = choices_.rbegin(); choice != choices_.rend(); ++choice) {
        const int32_t top = strip.top + kStripPadding;
        choice->button->SetBounds(KivRect{right - kButtonWidth + 1, top, right, top + KivStyleMetrics::kButtonSize.y - 1});
        right -= kButtonWidth + KivStyleMetrics::kControlSpacing;
    }
}

void KivMessageWindow::Paint(KivDrawer& drawer, const KivRect& dirty) {
    KivWindow::Paint(drawer, dirty);
    const KivRect strip = ButtonStrip();
    drawer.FillRectangle(strip, Color(drawer, KivStyleColor::kPanelBackground), KivDrawingMode::kCopy);
    drawer.FillRectangle(KivRect{strip.left, strip.top, strip.right, strip.top}, Color(drawer, KivStyleColor::kFrame),
                         KivDrawingMode::kCopy);
    const KivRect icon{kMargin, kMargin, kMargin + kIconSize - 1, kMargin + kIconSize - 1};
    const KivColor accent = Color(drawer, KivStyleColor::kHighlight);
    drawer.FillCircle(KivPoint{icon.left + kIconSize / 2, icon.top + kIconSize / 2}, kIconSize / 2, accent.WithAlpha(60),
                      KivDrawingMode::kAlphablend);
    drawer.Circle(KivPoint{icon.left + kIconSize / 2, icon.top + kIconSize / 2}, kIconSize / 2, accent,
                  KivDrawingMode::kAlphablend);
    KivControlPainting::Text(drawer, KivStyleFont::kLarge, KivString("?"), icon.Offset(1, 0), KivTextAlignment::kCentred,
                             accent);
}

bool KivMessageWindow::OnKeyDown(uint32_t key, uint8_t state) {
    switch (key) {
        case KivKeyCode::kEnter: Choose(FocusedValue()); return true;
        case KivKeyCode::kEscape: Choose(escape_); return true;
        case KivKeyCode::kLeft: MoveFocus(-1); return true;
        case KivKeyCode::kRight: MoveFocus(1); return true;
        case KivKeyCode::kTab: MoveFocus((state & KivInputState::kShift) != 0 ? -1 : 1); return true;
        default: return false;
    }
}

KivModalValue KivMessageWindow::FocusedValue() const {
    for (const Choice& choice : choices_) {
        if (choice.button == GetFocus()) return choice.value;
    }
    return GetDefaultValue();
}

void KivMessageWindow::MoveFocus(int32_t step) {
    const auto count = static_cast<int32_t>(choices_.size());
    int32_t current = 0;
    for (int32_t index = 0; index < count; ++index) {
        if (choices_[static_cast<size_t>(index)].button == GetFocus()) current = index;
    }
    SetFocus(choices_[static_cast<size_t>((current + step + count) % count)].button);
}

bool KivMessageWindow::OnCloseRequest() {
    // Closing the window answers like Escape; the modal loop takes the window away.
    Choose(escape_);
    return false;
}
