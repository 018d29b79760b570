#include "gui/controls/kiv_drop_down_list.h"

#include "gui/controls/kiv_control_painting.h"
#include "gui/controls/kiv_key_codes.h"
#include "gui/core/kiv_window.h"
#include "gui/style/kiv_style_access.h"
#include "gui/style/kiv_style_metrics.h"
#include "gui/text/kiv_text_alignment.h"

using KivStyleAccess::Color;
using KivStyleMetrics::kListRowHeight;

namespace {
constexpr int32_t kInset = 3;
}  // namespace

KivDropDownList::KivDropDownList(std::vector<KivString> items, int32_t current, Chosen chosen)
    : items_(std::move(items)), current_(current), hot_(current), chosen_(std::move(chosen)) {}

int32_t KivDropDownList::HeightFor(int32_t itemCount) { return itemCount * kListRowHeight + 2 * kInset; }

void KivDropDownList::Paint(KivDrawer& drawer, const KivRect&) {
    const KivRect box = GetWindowRect();
    drawer.FillRoundRectangle(box, KivStyleMetrics::kCornerRadius, Color(drawer, KivStyleColor::kTitleBackground),
                              KivDrawingMode::kAlphablend);
    drawer.RoundRectangle(box, KivStyleMetrics::kCornerRadius, Color(drawer, KivStyleColor::kFrame),
                          KivDrawingMode::kAlphablend);
    for (int32_t index = 0; index < static_cast<int32_t>(items_.size()); ++index) {
        const int32_t top = box.top + kInset + index * kListRowHeight;
        const KivRect row{box.left + kInset, top, box.right - kInset, top + kListRowHeight - 1};
        KivColor ink = Color(drawer, KivStyleColor::kText);
        if (index == hot_) {
            drawer.FillRoundRectangle(row, 3, Color(drawer, KivStyleColor::kHighlight), KivDrawingMode::kAlphablend);
            ink = Color(drawer, KivStyleColor::kHighlightText);
        } else if (index == current_) {
            ink = Color(drawer, KivStyleColor::kHighlight);
        }
        KivControlPainting::Text(drawer, KivStyleFont::kNormal, items_[static_cast<size_t>(index)],
                                 KivControlPainting::Inset(row, KivStyleMetrics::kPadding - 2, 0),
                                 KivTextAlignment::kVerticalCentre | KivTextAlignment::kEllipsis, ink);
    }
}

int32_t KivDropDownList::RowAt(KivPoint point) const {
    if (!GetClientRect().Contains(point.x, point.y)) return -1;
    const int32_t row = (point.y - kInset) / kListRowHeight;
    return point.y >= kInset && row < static_cast<int32_t>(items_.size()) ? row : -1;
}

void KivDropDownList::OnMouseDown(KivPoint point, KivMouseButton, uint8_t) { Close(RowAt(point)); }

void KivDropDownList::OnMouseMove(KivPoint point, uint8_t) {
    const int32_t row = RowAt(point);
    if (row < 0 || row == hot_) return;
    hot_ = row;
    Invalidate();
}

bool KivDropDownList::OnKeyDown(uint32_t key, uint8_t) {
    const auto count = static_cast<int32_t>(items_.size());
    switch (key) {
        case KivKeyCode::kUp: hot_ = std::max(0, hot_ - 1); break;
        case KivKeyCode::kDown: hot_ = std::min(count - 1, hot_ + 1); break;
        case KivKeyCode::kEnter: Close(hot_); return true;
        case KivKeyCode::kEscape: Close(-1); return true;
        default: return false;
    }
    Invalidate();
    return true;
}

void KivDropDownList::Close(int32_t item) {
    if (KivWindow* window = GetWindow()) {
        if (window->GetCapture() == this) window->SetCapture(nullptr);
    }
    SetVisible(false);
    // The owner may destroy this list in its handler: nothing after this call.
    chosen_(item);
}
