#pragma once
#include <cstdint>

#include "base/kiv_object.h"
#include "gui/drawing/kiv_color.h"
#include "gui/drawing/kiv_rect.h"

// A 32-bit image in memory: pixel (x, y) is at index y * RowLength() + x, each pixel four
// bytes blue, green, red, alpha. The bitmap either owns its pixels (allocated through the
// module's memory table, cleared to transparent black) or borrows a buffer such as a
// window's back buffer. The clip rectangle bounds every drawing operation; it always lies
// inside the bitmap.
class KivBitmap : public KivObject {
public:
    KivBitmap() noexcept = default;
    KivBitmap(int32_t width, int32_t height);
    // Borrows `pixels`, which must outlive the bitmap and hold height rows of rowLength pixels.
    KivBitmap(uint32_t* pixels, int32_t width, int32_t height, int32_t rowLength) noexcept;
    KivBitmap(KivBitmap&& other) noexcept;
    KivBitmap& operator=(KivBitmap&& other) noexcept;
    KivBitmap(const KivBitmap&) = delete;
    KivBitmap& operator=(const KivBitmap&) = delete;
    ~KivBitmap() override;

    // Makes an owned bitmap of the new size, transparent black, clip reset to all of it.
    void Resize(int32_t width, int32_t height);
    KivBitmap Clone() const;

    int32_t Width() const noexcept { return width_; }
    int32_t Height() const noexcept { return height_; }
    int32_t RowLength() const noexcept { return rowLength_; }
    bool IsEmpty() const noexcept { return width_ <= 0 || height_ <= 0; }
    KivRect Bounds() const noexcept { return KivRect{0, 0, width_ - 1, height_ - 1}; }

    uint32_t* Pixels() noexcept { return pixels_; }
    const uint32_t* Pixels() const noexcept { return pixels_; }
    uint32_t* Row(int32_t y) noexcept { return pixels_ + static_cast<intptr_t>(y) * rowLength_; }
    const uint32_t* Row(int32_t y) const noexcept { return pixels_ + static_cast<intptr_t>(y) * rowLength_; }
    // No bounds check: callers clip first.
    KivColor At(int32_t x, int32_t y) const noexcept { return KivColor::FromPixel(Row(y)[x]); }
    void Set(int32_t x, int32_t y, KivColor colour) noexcept { Row(y)[x] = colour.ToPixel(); }

    const KivRect& Clip() const noexcept { return clip_; }
    // Stores `clip` limited to the bitmap (possibly empty).
    void SetClip(const KivRect& clip) noexcept { clip_ = clip.Intersection(Bounds()); }
    void ResetClip() noexcept { clip_ = Bounds(); }

    // Every pixel of the bitmap (clip ignored) set to `colour`.
    void Clear(KivColor colour) noexcept;

private:
    void Release() noexcept;

    uint32_t* pixels_ = nullptr;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t rowLength_ = 0;
    bool owned_ = false;
    KivRect clip_;
};
