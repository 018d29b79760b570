#include "gui/controls/kiv_menu_bar.h"

#include <cmath>

#include "base/xml/kiv_xml_item.h"
#include "gui/controls/kiv_control_painting.h"
#include "gui/controls/kiv_text_items.h"
#include "gui/style/kiv_house_style.h"
#include "gui/style/kiv_style_access.h"
#include "gui/text/kiv_font.h"
#include "gui/text/kiv_text_alignment.h"

using KivStyleAccess::Color;

namespace {
constexpr int32_t kItemPadding = 10;
}  // namespace

KivMenuBar::KivMenuBar() : OnChoose(this) {}

void KivMenuBar::LoadAttributes(const KivXMLItem& item) {
    KivControl::LoadAttributes(item);
    if (item.HasAttribute(KivString("items"))) SetItems(KivTextItems::Split(item.GetAttribute(KivString("items")), u'|'));
}

void KivMenuBar::SetItems(std::vector<KivString> items) {
    items_ = std::move(items);
    Invalidate();
}

KivRect KivMenuBar::ItemRect(int32_t index) const {
    const KivFont& font = KivHouseStyle::DefaultFont(KivStyleFont::kNormal);
    int32_t left = 2;
    for (int32_t at = 0; at < GetItemCount(); ++at) {
        const auto width = static_cast<int32_t>(std::ceil(font.MeasureText(items_[static_cast<size_t>(at)]))) + 2 * kItemPadding;
        if (at == index) return KivRect{left, 2, left + width - 1, GetSize().y - 3};
        left += width;
    }
    return KivRect{0, 0, -1, -1};
}

int32_t KivMenuBar::ItemAt(KivPoint point) const {
    for (int32_t index = 0; index < GetItemCount(); ++index) {
        if (ItemRect(index).Contains(point.x, point.y)) return index;
    }
    return -1;
}

void KivMenuBar::Paint(KivDrawer& drawer, const KivRect&) {
    const KivRect box = GetWindowRect();
    drawer.FillRectangle(box, Color(drawer, KivStyleColor::kTitleBackground), KivDrawingMode::kAlphablend);
    drawer.FillRectangle(KivRect{box.left, box.bottom, box.right, box.bottom}, Color(drawer, KivStyleColor::kFrame),
                         KivDrawingMode::kAlphablend);
    for (int32_t index = 0; index < GetItemCount(); ++index) {
        const KivRect item = ItemRect(index).Offset(box.left, box.top);
        if (index == hover_) {
            drawer.FillRoundRectangle(item, 3, Color(drawer, KivStyleColor::kButtonFaceHover), KivDrawingMode::kAlphablend);
        }
        KivControlPainting::Text(drawer, KivStyleFont::kNormal, items_[static_cast<size_t>(index)], item,
                                 KivTextAlignment::kCentred, KivControlPainting::TextColor(drawer, IsEnabled()));
    }
}

KivPoint KivMenuBar::ComputeAutoSize(KivPoint available) { return KivPoint{available.x, kHeight}; }

void KivMenuBar::OnMouseDown(KivPoint point, KivMouseButton button, uint8_t) {
    const int32_t index = ItemAt(point);
    if (button == KivMouseButton::kLeft && index >= 0) OnChoose.Raise(KivOnMenuParams{this, index});
}

void KivMenuBar::OnMouseMove(KivPoint point, uint8_t) {
    const int32_t index = ItemAt(point);
    if (index == hover_) return;
    hover_ = index;
    Invalidate();
}

void KivMenuBar::OnMouseLeave() {
    hover_ = -1;
    Invalidate();
}
