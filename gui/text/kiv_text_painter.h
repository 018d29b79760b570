#pragma once
#include <cstdint>

#include "base/kiv_string.h"
#include "gui/drawing/kiv_rect.h"

class KivFont;
class KivSpanPainter;

// Places one line of text in a rectangle by the alignment flags (KivTextAlignment) and
// paints its glyphs through a span painter, whose clip bounds what is drawn.
namespace KivTextPainter {

// The baseline and the pen's starting position of `text` aligned in `rect`.
struct Placement {
    double penX;
    int32_t baseline;
};
Placement Place(const KivFont& font, double textWidth, const KivRect& rect, uint32_t flags);

// `text` cut to fit `width` with "..." at its end; unchanged when it fits.
KivString Shortened(const KivFont& font, const KivString& text, double width);

void Draw(KivSpanPainter& painter, const KivFont& font, const KivString& text, const KivRect& rect, uint32_t flags);

}  // namespace KivTextPainter
