#pragma once
#include <cstdint>
#include <memory>

#include "gui/text/kiv_glyph.h"

// The outlines and metrics of the embedded typeface, read through stb_truetype. Stateless
// after construction, so one face serves every size and thread.
class KivFontFace {
public:
    // The face of the font built into the library.
    static const KivFontFace& Embedded();

    explicit KivFontFace(const unsigned char* data);
    ~KivFontFace();
    KivFontFace(const KivFontFace&) = delete;
    KivFontFace& operator=(const KivFontFace&) = delete;

    // Scale from font units to pixels for an em of `pixels`.
    double ScaleForEm(double pixels) const;
    // In font units: ascent above the baseline (positive), descent below it (positive), gap.
    int32_t Ascent() const;
    int32_t Descent() const;
    int32_t LineGap() const;
    // 0 (the missing-glyph box) when the font has no glyph for the code point.
    int32_t GlyphIndex(char32_t codePoint) const;
    int32_t Advance(int32_t glyph) const;
    int32_t Kerning(int32_t glyph, int32_t nextGlyph) const;
    // The glyph at `scale`, its outline moved right by `shiftX` of a pixel (0..1).
    KivGlyph Render(int32_t glyph, double scale, double shiftX) const;

private:
    struct Info;
    std::unique_ptr<Info> info_;
};
