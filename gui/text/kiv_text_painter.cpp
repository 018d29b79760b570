#include "gui/text/kiv_text_painter.h"

#include <cmath>

#include "gui/drawing/kiv_span_painter.h"
#include "gui/text/kiv_font.h"
#include "gui/text/kiv_text_alignment.h"

namespace KivTextPainter {

namespace {
int32_t FloorHalf(int32_t value) { return value >= 0 ? value / 2 : -((1 - value) / 2); }
}  // namespace

Placement Place(const KivFont& font, double textWidth, const KivRect& rect, uint32_t flags) {
    double penX = rect.left;
    if (flags & KivTextAlignment::kHorizontalCentre) {
        // Whole-pixel start: the first glyph lands on the pixel grid as left-aligned text does.
        penX = std::floor(rect.left + (rect.Width() - textWidth) / 2.0 + 0.5);
    } else if (flags & KivTextAlignment::kRight) {
        penX = std::floor(rect.right + 1 - textWidth + 0.5);
    }
    int32_t baseline = rect.top + font.Ascent();
    if (flags & KivTextAlignment::kVerticalCentre) {
        baseline = rect.top + FloorHalf(rect.Height() - font.Ascent() - font.Descent()) + font.Ascent();
    } else if (flags & KivTextAlignment::kBottom) {
        baseline = rect.bottom + 1 - font.Descent();
    }
    return Placement{penX, baseline};
}

KivString Shortened(const KivFont& font, const KivString& text, double width) {
    if (font.MeasureText(text) <= width) return text;
    const KivString ellipsis = KivString::FromU16(u"\u2026");
    for (int32_t keep = text.Length() - 1; keep > 0; --keep) {
        // Never split a surrogate pair.
        if (text[keep] >= 0xDC00 && text[keep] < 0xE000) continue;
        KivString candidate = text.Substring(0, keep) + ellipsis;
        if (font.MeasureText(candidate) <= width) return candidate;
    }
    return ellipsis;
}

void Draw(KivSpanPainter& painter, const KivFont& font, const KivString& text, const KivRect& rect, uint32_t flags) {
    if (text.IsEmpty() || rect.IsEmpty() || painter.DrawsNothing()) return;
    const KivString shown = (flags & KivTextAlignment::kEllipsis) ? Shortened(font, text, rect.Width()) : text;
    const Placement placement = Place(font, font.MeasureText(shown), rect, flags);
    font.LayOut(shown, placement.penX, [&](const KivGlyph& glyph, int32_t penX) {
        const int32_t left = penX + glyph.offsetX;
        for (int32_t row = 0; row < glyph.height; ++row) {
            painter.Covered(placement.baseline + glyph.offsetY + row, left, glyph.width,
                            glyph.coverage.data() + static_cast<size_t>(row) * glyph.width);
        }
    });
}

}  // namespace KivTextPainter
