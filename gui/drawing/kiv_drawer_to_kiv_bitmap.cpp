#include "gui/drawing/kiv_drawer_to_kiv_bitmap.h"

#include "base/kiv_boundary.h"
#include "gui/drawing/kiv_gradient_fill.h"
#include "gui/drawing/kiv_pixel_rules.h"
#include "gui/drawing/kiv_span_painter.h"

KivPoint KivDrawerToKivBitmap::GetClipTopLeft() const {
    return KivPoint{target_->Clip().left, target_->Clip().top};
}

KivPoint KivDrawerToKivBitmap::GetClipBottomRight() const {
    return KivPoint{target_->Clip().right, target_->Clip().bottom};
}

KivRect KivDrawerToKivBitmap::GetClipRect() const { return target_->Clip(); }

void KivDrawerToKivBitmap::SetClipRect(const KivRect& clip) { target_->SetClip(clip); }

void KivDrawerToKivBitmap::FillRectangle(const KivRect& rect, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::FillRectangle", [&] {
        const KivRect area = rect.Intersection(target_->Clip());
        if (area.IsEmpty()) return;
        for (int32_t y = area.top; y <= area.bottom; ++y) {
            KivPixelRules::FillRow(mode, colour, target_->Row(y) + area.left, area.Width());
        }
    });
}

void KivDrawerToKivBitmap::Rectangle(const KivRect& rect, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::Rectangle", [&] {
        if (rect.IsEmpty()) return;
        // Four sides without overlap, so translucent corners are not drawn twice.
        KivSpanPainter painter(*target_, target_->Clip(), colour, mode);
        painter.Solid(rect.top, rect.left, rect.right);
        if (rect.bottom > rect.top) painter.Solid(rect.bottom, rect.left, rect.right);
        for (int32_t y = rect.top + 1; y < rect.bottom; ++y) {
            painter.Solid(y, rect.left, rect.left);
            if (rect.right > rect.left) painter.Solid(y, rect.right, rect.right);
        }
    });
}

void KivDrawerToKivBitmap::FillRectangleGradient(const KivRect& rect, KivColor first, KivColor second,
                                                 KivGradientDirection direction, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::FillRectangleGradient", [&] {
        KivGradientFill::Fill(*target_, rect, first, second, direction, mode);
    });
}

KivColor KivDrawerToKivBitmap::GetPixel(KivPoint point) const {
    return KivGuard("KivDrawerToKivBitmap::GetPixel", KivColor{0, 0, 0, 255}, [&] {
        return target_->Clip().Contains(point.x, point.y) ? target_->At(point.x, point.y) : KivColor{0, 0, 0, 255};
    });
}

void KivDrawerToKivBitmap::SetPixel(KivPoint point, KivColor colour) {
    KivGuard("KivDrawerToKivBitmap::SetPixel", [&] {
        if (target_->Clip().Contains(point.x, point.y)) target_->Set(point.x, point.y, colour);
    });
}
