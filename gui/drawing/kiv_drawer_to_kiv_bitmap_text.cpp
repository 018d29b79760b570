// Text output of KivDrawerToKivBitmap.
#include "base/kiv_boundary.h"
#include "gui/drawing/kiv_drawer_to_kiv_bitmap.h"
#include "gui/drawing/kiv_span_painter.h"
#include "gui/text/kiv_font.h"
#include "gui/text/kiv_text_painter.h"

// Scaled, text is laid out again with the font at the device size: glyphs are rendered for
// it, never enlarged from the logical size.
void KivDrawerToKivBitmap::AlignedTextOut(const KivFont& font, const KivString& text, const KivRect& rect,
                                          uint32_t flags, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::AlignedTextOut", [&] {
        const KivFont& sized = scale_.IsIdentity() ? font : KivFont::OfSize(font.Size() * scale_.factor);
        const KivRect device = scale_.ToDevice(rect);
        KivSpanPainter painter(*target_, device.Intersection(target_->Clip()), colour, mode);
        KivTextPainter::Draw(painter, sized, text, device, flags);
    });
}
