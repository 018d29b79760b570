#include "gui/controls/kiv_edit.h"

#include <algorithm>
#include <cmath>

#include "gui/controls/kiv_control_painting.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/core/kiv_window.h"
#include "gui/style/kiv_house_style.h"
#include "gui/style/kiv_style_access.h"
#include "gui/style/kiv_style_metrics.h"
#include "gui/text/kiv_font.h"
#include "gui/text/kiv_text_alignment.h"

using KivStyleAccess::Color;

namespace {
const KivFont& FieldFont() { return KivHouseStyle::DefaultFont(KivStyleFont::kNormal); }
}  // namespace

KivString KivEdit::GetShownText() const {
    if (editing_) return text_;
    return GetValue() != nullptr ? GetValueText() : GetContent();
}

KivRect KivEdit::TextRect() const {
    return KivControlPainting::Inset(GetClientRect(), KivStyleMetrics::kPadding - 2, 0);
}

void KivEdit::Paint(KivDrawer& drawer, const KivRect&) {
    const KivRect box = GetWindowRect();
    KivControlPainting::Field(drawer, box, focused_);
    const KivRect text = TextRect().Offset(box.left, box.top);
    const KivString shown = GetShownText();
    KivControlPainting::Text(drawer, KivStyleFont::kNormal, shown, text, KivTextAlignment::kVerticalCentre,
                             KivControlPainting::TextColor(drawer, IsEnabled()));
    if (!focused_) return;
    const auto x = text.left + static_cast<int32_t>(std::lround(FieldFont().MeasureText(shown.Substring(0, caret_))));
    const int32_t half = FieldFont().LineHeight() / 2;
    const int32_t middle = text.top + text.Height() / 2;
    drawer.FillRectangle(KivRect{x, middle - half, x, middle + half}, Color(drawer, KivStyleColor::kHighlight),
                         KivDrawingMode::kAlphablend);
}

KivPoint KivEdit::ComputeAutoSize(KivPoint available) {
    return KivPoint{std::max(KivStyleMetrics::kEditSize.x, available.x), KivStyleMetrics::kEditSize.y};
}

void KivEdit::OnMouseDown(KivPoint point, KivMouseButton button, uint8_t) {
    if (button != KivMouseButton::kLeft || !IsEnabled()) return;
    if (KivWindow* window = GetWindow()) window->SetFocus(this);
    BeginEditing();
    MoveCaret(CaretAt(point.x));
}

int32_t KivEdit::CaretAt(int32_t x) const {
    const int32_t offset = x - TextRect().left;
    const KivString shown = GetShownText();
    // The caret goes to the character boundary nearest the click.
    for (int32_t index = 0; index < shown.Length(); ++index) {
        const double before = FieldFont().MeasureText(shown.Substring(0, index));
        const double after = FieldFont().MeasureText(shown.Substring(0, index + 1));
        if (offset < (before + after) / 2.0) return index;
    }
    return shown.Length();
}

bool KivEdit::OnKeyDown(uint32_t key, uint8_t) {
    if (!IsEnabled()) return false;
    switch (key) {
        case KivKeyCode::kEnter: Commit(); return true;
        case KivKeyCode::kEscape:
            if (!editing_) return false;
            Cancel();
            return true;
        case KivKeyCode::kLeft: BeginEditing(); MoveCaret(caret_ - 1); return true;
        case KivKeyCode::kRight: BeginEditing(); MoveCaret(caret_ + 1); return true;
        case KivKeyCode::kHome: BeginEditing(); MoveCaret(0); return true;
        case KivKeyCode::kEnd: BeginEditing(); MoveCaret(text_.Length()); return true;
        case KivKeyCode::kBackspace:
            BeginEditing();
            if (caret_ > 0) {
                text_.Erase(caret_ - 1, 1);
                MoveCaret(caret_ - 1);
            }
            return true;
        case KivKeyCode::kDelete:
            BeginEditing();
            if (caret_ < text_.Length()) text_.Erase(caret_, 1);
            Invalidate();
            return true;
        default: return false;
    }
}

bool KivEdit::OnCharacter(char32_t character) {
    // Control characters arrive as keys; characters beyond 16 bits are not edited here.
    if (!IsEnabled() || character < 32 || character == 127 || character > 0xFFFF) return false;
    BeginEditing();
    const char16_t unit = static_cast<char16_t>(character);
    text_.Insert(caret_, KivString(&unit, 1));
    MoveCaret(caret_ + 1);
    return true;
}

void KivEdit::OnFocus(bool gained) {
    focused_ = gained;
    if (!gained && editing_) Commit();
    if (gained) caret_ = GetShownText().Length();
    Invalidate();
}

void KivEdit::BeginEditing() {
    if (editing_) return;
    text_ = GetShownText();
    caret_ = std::clamp(caret_, 0, text_.Length());
    editing_ = true;
}

void KivEdit::MoveCaret(int32_t position) {
    caret_ = std::clamp(position, 0, GetShownText().Length());
    Invalidate();
}

void KivEdit::Commit() {
    if (!editing_) return;
    editing_ = false;
    if (KivValue* value = GetValue()) {
        value->SetDisplayText(text_);
    } else {
        SetContent(text_);
    }
    caret_ = std::min(caret_, GetShownText().Length());
    NoteUserChange();
}

void KivEdit::Cancel() {
    editing_ = false;
    caret_ = std::min(caret_, GetShownText().Length());
    Invalidate();
}
