#include "gui/text/kiv_font_face.h"

#include "base/kiv_exception.h"
#include "base/kiv_memory.h"
#include "gui/text/kiv_embedded_font.h"
#include "platform/kiv_library_static.h"

#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
// Glyph rendering allocates its work buffers through the module's memory table.
#define STBTT_malloc(size, user) ((void)(user), KivMemory::Allocate(size))
#define STBTT_free(block, user) ((void)(user), KivMemory::Free(block))
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#include "stb_truetype.h"
#pragma GCC diagnostic pop

struct KivFontFace::Info {
    stbtt_fontinfo font;
    int ascent = 0;
    int descent = 0;
    int lineGap = 0;
};

const KivFontFace& KivFontFace::Embedded() {
    static KivPlatform::LibraryStatic<KivFontFace> face(KivEmbeddedFont::Data());
    return *face;
}

KivFontFace::KivFontFace(const unsigned char* data) : info_(std::make_unique<Info>()) {
    if (!stbtt_InitFont(&info_->font, data, stbtt_GetFontOffsetForIndex(data, 0))) {
        throw KivException("The font data is malformed.", KivException::kInputOutput);
    }
    stbtt_GetFontVMetrics(&info_->font, &info_->ascent, &info_->descent, &info_->lineGap);
}

KivFontFace::~KivFontFace() = default;

double KivFontFace::ScaleForEm(double pixels) const {
    return stbtt_ScaleForMappingEmToPixels(&info_->font, static_cast<float>(pixels));
}

int32_t KivFontFace::Ascent() const { return info_->ascent; }
int32_t KivFontFace::Descent() const { return -info_->descent; }
int32_t KivFontFace::LineGap() const { return info_->lineGap; }

int32_t KivFontFace::GlyphIndex(char32_t codePoint) const {
    return stbtt_FindGlyphIndex(&info_->font, static_cast<int>(codePoint));
}

int32_t KivFontFace::Advance(int32_t glyph) const {
    int advance = 0, bearing = 0;
    stbtt_GetGlyphHMetrics(&info_->font, glyph, &advance, &bearing);
    return advance;
}

int32_t KivFontFace::Kerning(int32_t glyph, int32_t nextGlyph) const {
    return stbtt_GetGlyphKernAdvance(&info_->font, glyph, nextGlyph);
}

KivGlyph KivFontFace::Render(int32_t glyph, double scale, double shiftX) const {
    const auto s = static_cast<float>(scale), shift = static_cast<float>(shiftX);
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    stbtt_GetGlyphBitmapBoxSubpixel(&info_->font, glyph, s, s, shift, 0.0f, &x0, &y0, &x1, &y1);
    KivGlyph image;
    image.width = x1 - x0;
    image.height = y1 - y0;
    image.offsetX = x0;
    image.offsetY = y0;
    if (image.width <= 0 || image.height <= 0) {
        image.width = image.height = 0;
        return image;
    }
    image.coverage.assign(static_cast<size_t>(image.width) * image.height, 0);
    stbtt_MakeGlyphBitmapSubpixel(&info_->font, image.coverage.data(), image.width, image.height, image.width, s, s,
                                  shift, 0.0f, glyph);
    return image;
}
