// Text output of KivDrawerToKivBitmap.
#include "base/kiv_boundary.h"
#include "gui/drawing/kiv_drawer_to_kiv_bitmap.h"
#include "gui/drawing/kiv_span_painter.h"
#include "gui/text/kiv_text_painter.h"

void KivDrawerToKivBitmap::AlignedTextOut(const KivFont& font, const KivString& text, const KivRect& rect,
                                          uint32_t flags, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::AlignedTextOut", [&] {
        KivSpanPainter painter(*target_, rect.Intersection(target_->Clip()), colour, mode);
        KivTextPainter::Draw(painter, font, text, rect, flags);
    });
}
