// The bitmap copies of KivDrawerToKivBitmap: plain, masked, stretched and tiled.
#include <algorithm>
#include <vector>

#include "base/kiv_boundary.h"
#include "gui/drawing/kiv_drawer_to_kiv_bitmap.h"
#include "gui/drawing/kiv_pixel_rules.h"
#include "gui/drawing/kiv_stretch_filter.h"

namespace {

// Mathematical remainder: tiles repeat to the left and above their anchor too.
int32_t Wrap(int64_t value, int32_t length) {
    const auto rest = static_cast<int32_t>(value % length);
    return rest < 0 ? rest + length : rest;
}

// The part of `sourceRect` inside the source whose copy at `target` lands inside `clip`;
// `target` moves with the part's top-left corner.
KivRect VisibleSource(const KivBitmap& source, const KivRect& sourceRect, const KivRect& clip, KivPoint& target) {
    KivRect part = sourceRect.Intersection(source.Bounds());
    const int64_t dx = static_cast<int64_t>(target.x) - sourceRect.left;
    const int64_t dy = static_cast<int64_t>(target.y) - sourceRect.top;
    const KivRect clipInSource{static_cast<int32_t>(std::clamp<int64_t>(clip.left - dx, INT32_MIN, INT32_MAX)),
                               static_cast<int32_t>(std::clamp<int64_t>(clip.top - dy, INT32_MIN, INT32_MAX)),
                               static_cast<int32_t>(std::clamp<int64_t>(clip.right - dx, INT32_MIN, INT32_MAX)),
                               static_cast<int32_t>(std::clamp<int64_t>(clip.bottom - dy, INT32_MIN, INT32_MAX))};
    part = part.Intersection(clipInSource);
    target = KivPoint{static_cast<int32_t>(part.left + dx), static_cast<int32_t>(part.top + dy)};
    return part;
}

// Repeats `sourceRect` over `area` (already clipped) with the tile grid anchored at `anchor`.
void Tile(KivBitmap& target, const KivRect& area, const KivBitmap& source, const KivRect& sourceRect, KivPoint anchor,
          KivDrawingMode mode) {
    const int32_t width = sourceRect.Width(), height = sourceRect.Height();
    std::vector<uint32_t> line(static_cast<size_t>(area.Width()));
    for (int32_t y = area.top; y <= area.bottom; ++y) {
        const uint32_t* sourceRow = source.Row(sourceRect.top + Wrap(static_cast<int64_t>(y) - anchor.y, height));
        int32_t column = Wrap(static_cast<int64_t>(area.left) - anchor.x, width);
        for (uint32_t& pixel : line) {
            pixel = sourceRow[sourceRect.left + column];
            if (++column == width) column = 0;
        }
        KivPixelRules::CombineRow(mode, line.data(), target.Row(y) + area.left, area.Width());
    }
}

void Stretch(KivBitmap& target, const KivRect& targetRect, const KivBitmap& source, const KivRect& sourceRect,
             KivDrawingMode mode) {
    if (targetRect.IsEmpty() || sourceRect.IsEmpty() || !(sourceRect.Intersection(source.Bounds()) == sourceRect)) {
        return;
    }
    const KivRect area = targetRect.Intersection(target.Clip());
    if (area.IsEmpty() || !KivDrawingModes::Draws(mode)) return;
    KivStretchFilter filter(source, sourceRect, targetRect.Width(), targetRect.Height());
    std::vector<uint32_t> line(static_cast<size_t>(area.Width()));
    for (int32_t y = area.top; y <= area.bottom; ++y) {
        filter.Row(y - targetRect.top, area.left - targetRect.left, area.Width(), line.data());
        KivPixelRules::CombineRow(mode, line.data(), target.Row(y) + area.left, area.Width());
    }
}

}  // namespace

// Scaled, pictures are filtered to their device size: the toolkit's own controls draw none,
// so this only serves pictures a product brings.
void KivDrawerToKivBitmap::BitBlt(KivPoint target, const KivBitmap& source, const KivRect& sourceRect,
                                  KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::BitBlt", [&] {
        if (!scale_.IsIdentity()) {
            const KivRect logical{target.x, target.y, target.x + sourceRect.Width() - 1, target.y + sourceRect.Height() - 1};
            Stretch(*target_, scale_.ToDevice(logical), source, sourceRect, mode);
            return;
        }
        const KivRect part = VisibleSource(source, sourceRect, target_->Clip(), target);
        if (part.IsEmpty()) return;
        for (int32_t y = part.top; y <= part.bottom; ++y) {
            KivPixelRules::CombineRow(mode, source.Row(y) + part.left, target_->Row(target.y + y - part.top) + target.x,
                                      part.Width());
        }
    });
}

void KivDrawerToKivBitmap::AlphaMask(KivPoint target, const KivBitmap& source, const KivRect& sourceRect,
                                     const KivBitmap& mask, KivPoint maskOrigin, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::AlphaMask", [&] {
        target = KivPoint{scale_.Edge(target.x), scale_.Edge(target.y)};
        const KivPoint requested = target;
        KivRect part = VisibleSource(source, sourceRect, target_->Clip(), target);
        // Limit to the source pixels that have a mask pixel.
        const KivRect maskInSource = mask.Bounds().Offset(sourceRect.left - maskOrigin.x, sourceRect.top - maskOrigin.y);
        part = part.Intersection(maskInSource);
        if (part.IsEmpty()) return;
        const int32_t dx = requested.x - sourceRect.left, dy = requested.y - sourceRect.top;
        std::vector<uint32_t> line(static_cast<size_t>(part.Width()));
        for (int32_t y = part.top; y <= part.bottom; ++y) {
            const uint32_t* sourceRow = source.Row(y) + part.left;
            const int32_t maskY = maskOrigin.y + y - sourceRect.top;
            for (int32_t i = 0; i < part.Width(); ++i) {
                KivColor colour = KivColor::FromPixel(sourceRow[i]);
                const int32_t maskX = maskOrigin.x + part.left + i - sourceRect.left;
                colour.a = static_cast<uint8_t>((colour.a * mask.At(maskX, maskY).a + 127) / 255);
                line[i] = colour.ToPixel();
            }
            KivPixelRules::CombineRow(mode, line.data(), target_->Row(y + dy) + part.left + dx, part.Width());
        }
    });
}

void KivDrawerToKivBitmap::StretchBlt(const KivRect& targetRect, const KivBitmap& source, const KivRect& sourceRect,
                                      KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::StretchBlt", [&] {
        Stretch(*target_, scale_.ToDevice(targetRect), source, sourceRect, mode);
    });
}

void KivDrawerToKivBitmap::StretchBltH(KivPoint target, int32_t width, const KivBitmap& source,
                                       const KivRect& sourceRect, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::StretchBltH", [&] {
        const KivRect targetRect{target.x, target.y, target.x + width - 1, target.y + sourceRect.Height() - 1};
        Stretch(*target_, scale_.ToDevice(targetRect), source, sourceRect, mode);
    });
}

void KivDrawerToKivBitmap::StretchBltV(KivPoint target, int32_t height, const KivBitmap& source,
                                       const KivRect& sourceRect, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::StretchBltV", [&] {
        const KivRect targetRect{target.x, target.y, target.x + sourceRect.Width() - 1, target.y + height - 1};
        Stretch(*target_, scale_.ToDevice(targetRect), source, sourceRect, mode);
    });
}

void KivDrawerToKivBitmap::PatBlt(const KivRect& rect, const KivBitmap& pattern, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::PatBlt", [&] {
        const KivRect area = scale_.ToDevice(rect).Intersection(target_->Clip());
        if (area.IsEmpty() || pattern.IsEmpty()) return;
        Tile(*target_, area, pattern, pattern.Bounds(), KivPoint{0, 0}, mode);
    });
}

void KivDrawerToKivBitmap::TileBlt(const KivRect& logicalRect, const KivBitmap& source, const KivRect& sourceRect,
                                   bool tileHorizontally, bool tileVertically, KivDrawingMode mode) {
    KivGuard("KivDrawerToKivBitmap::TileBlt", [&] {
        const KivRect targetRect = scale_.ToDevice(logicalRect);
        const KivRect area = targetRect.Intersection(target_->Clip());
        if (area.IsEmpty() || sourceRect.IsEmpty() || !(sourceRect.Intersection(source.Bounds()) == sourceRect)) return;
        if (!tileHorizontally && !tileVertically) {
            Stretch(*target_, targetRect, source, sourceRect, mode);
            return;
        }
        const KivPoint anchor{targetRect.left, targetRect.top};
        if (tileHorizontally && tileVertically) {
            Tile(*target_, area, source, sourceRect, anchor, mode);
            return;
        }
        // Stretched along one axis first, then repeated along the other.
        KivBitmap strip(tileHorizontally ? sourceRect.Width() : targetRect.Width(),
                        tileVertically ? sourceRect.Height() : targetRect.Height());
        Stretch(strip, strip.Bounds(), source, sourceRect, KivDrawingMode::kCopy);
        Tile(*target_, area, strip, strip.Bounds(), anchor, mode);
    });
}
