#include "gui/drawing/kiv_bitmap.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "base/kiv_exception.h"
#include "base/kiv_memory.h"

KivBitmap::KivBitmap(int32_t width, int32_t height) { Resize(width, height); }

KivBitmap::KivBitmap(uint32_t* pixels, int32_t width, int32_t height, int32_t rowLength) noexcept
    : pixels_(pixels), width_(width), height_(height), rowLength_(rowLength), clip_(Bounds()) {}

KivBitmap::KivBitmap(KivBitmap&& other) noexcept
    : pixels_(std::exchange(other.pixels_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      rowLength_(std::exchange(other.rowLength_, 0)),
      owned_(std::exchange(other.owned_, false)),
      clip_(std::exchange(other.clip_, KivRect{})) {}

KivBitmap& KivBitmap::operator=(KivBitmap&& other) noexcept {
    if (this != &other) {
        Release();
        pixels_ = std::exchange(other.pixels_, nullptr);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
        rowLength_ = std::exchange(other.rowLength_, 0);
        owned_ = std::exchange(other.owned_, false);
        clip_ = std::exchange(other.clip_, KivRect{});
    }
    return *this;
}

KivBitmap::~KivBitmap() { Release(); }

void KivBitmap::Release() noexcept {
    if (owned_) KivMemory::Free(pixels_);
    pixels_ = nullptr;
    owned_ = false;
}

void KivBitmap::Resize(int32_t width, int32_t height) {
    if (width < 0 || height < 0 || (height > 0 && width > 0x7FFFFFFF / 4 / height)) {
        throw KivException("Invalid bitmap size.", KivException::kInvalidArgument);
    }
    Release();
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * sizeof(uint32_t);
    if (bytes > 0) {
        pixels_ = static_cast<uint32_t*>(KivMemory::Allocate(bytes));
        std::memset(pixels_, 0, bytes);
        owned_ = true;
    }
    width_ = width;
    height_ = height;
    rowLength_ = width;
    clip_ = Bounds();
}

KivBitmap KivBitmap::Clone() const {
    KivBitmap copy(width_, height_);
    for (int32_t y = 0; y < height_; ++y) {
        std::memcpy(copy.Row(y), Row(y), static_cast<size_t>(width_) * sizeof(uint32_t));
    }
    copy.clip_ = clip_;
    return copy;
}

void KivBitmap::Clear(KivColor colour) noexcept {
    const uint32_t pixel = colour.ToPixel();
    for (int32_t y = 0; y < height_; ++y) std::fill_n(Row(y), width_, pixel);
}
