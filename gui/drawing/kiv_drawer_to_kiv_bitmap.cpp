#include "gui/drawing/kiv_drawer_to_kiv_bitmap.h"

#include "base/kiv_boundary.h"
#include "gui/drawing/kiv_gradient_fill.h"
#include "gui/drawing/kiv_pixel_rules.h"

KivPoint KivDrawerToKivBitmap::GetClipTopLeft() const {
    const KivRect clip = GetClipRect();
    return KivPoint{clip.left, clip.top};
}

KivPoint KivDrawerToKivBitmap::GetClipBottomRight() const {
    const KivRect clip = GetClipRect();
    return KivPoint{clip.right, clip.bottom};
}

KivRect KivDrawerToKivBitmap::GetClipRect() const { return scale_.IsIdentity() ? target_->Clip() : clip_; }

void KivDrawerToKivBitmap::SetClipRect(const KivRect& clip) {
    clip_ = clip;
    target_->SetClip(scale_.ToDevice(clip));
}

void KivDrawerToKivBitmap::FillRectangle(const KivRect& rect, KivColor colour, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::FillRectangle", [&] {
        const KivRect area = scale_.ToDevice(rect).Intersection(target_->Clip());
        if (area.IsEmpty()) return;
        for (int32_t y = area.top; y <= area.bottom; ++y) {
            KivPixelRules::FillRow(mode, colour, target_->Row(y) + area.left, area.Width());
        }
    });
}

void KivDrawerToKivBitmap::Rectangle(const KivRect& rect, KivColor colour, KivDrawingMode mode) {
    if (rect.IsEmpty()) return;
    // Four sides without overlap, so translucent corners are not drawn twice; scaled, each a
    // band of whole device pixels.
    FillRectangle(KivRect{rect.left, rect.top, rect.right, rect.top}, colour, mode);
    if (rect.bottom > rect.top) FillRectangle(KivRect{rect.left, rect.bottom, rect.right, rect.bottom}, colour, mode);
    if (rect.bottom - rect.top < 2) return;
    FillRectangle(KivRect{rect.left, rect.top + 1, rect.left, rect.bottom - 1}, colour, mode);
    if (rect.right > rect.left) FillRectangle(KivRect{rect.right, rect.top + 1, rect.right, rect.bottom - 1}, colour, mode);
}

void KivDrawerToKivBitmap::FillRectangleGradient(const KivRect& rect, KivColor first, KivColor second,
                                                 KivGradientDirection direction, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::FillRectangleGradient", [&] {
        if (!rect.IsEmpty()) KivGradientFill::Fill(*target_, scale_.ToDevice(rect), first, second, direction, mode);
    });
}

KivColor KivDrawerToKivBitmap::GetPixel(KivPoint point) const {
    return KivGuard("KivDrawerToKivBitmap::GetPixel", KivColor{0, 0, 0, 255}, [&] {
        if (!GetClipRect().Contains(point.x, point.y)) return KivColor{0, 0, 0, 255};
        const KivPoint device{scale_.Edge(point.x), scale_.Edge(point.y)};
        return target_->Clip().Contains(device.x, device.y) ? target_->At(device.x, device.y) : KivColor{0, 0, 0, 255};
    });
}

// Scaled, a logical pixel is the block of device pixels it covers.
void KivDrawerToKivBitmap::SetPixel(KivPoint point, KivColor colour) {
    KivGuard("KivDrawerToKivBitmap::SetPixel", [&] {
        const KivRect device = scale_.ToDevice(KivRect{point.x, point.y, point.x, point.y});
        for (int32_t y = device.top; y <= device.bottom; ++y) {
            for (int32_t x = device.left; x <= device.right; ++x) {
                if (target_->Clip().Contains(x, y)) target_->Set(x, y, colour);
            }
        }
    });
}
