#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "base/kiv_string.h"
#include "gui/text/kiv_glyph.h"

class KivFontFace;

// The embedded typeface at one size. Glyph images are rendered on first use and kept, at
// four horizontal positions per pixel so that kerned and centred text keeps its spacing
// without rounding every glyph to whole pixels. Fonts are shared: OfSize hands out one
// object per size for the life of the process; a font may be used from several threads.
class KivFont {
public:
    // The font whose em is `pixels` high (limited to 1..500, kept to a quarter pixel).
    static const KivFont& OfSize(double pixels);

    KivFont(const KivFontFace& face, double pixels);
    ~KivFont();
    KivFont(const KivFont&) = delete;
    KivFont& operator=(const KivFont&) = delete;

    double Size() const noexcept { return pixels_; }
    // Whole pixels above and below the baseline, and from one baseline to the next.
    int32_t Ascent() const noexcept { return ascent_; }
    int32_t Descent() const noexcept { return descent_; }
    int32_t LineHeight() const noexcept { return lineHeight_; }

    // The advance of the whole text in pixels, kerning included.
    double MeasureText(const KivString& text) const;

    // Calls `place` for every glyph of the text, pen starting at `penX`: the glyph image and
    // the whole-pixel pen position it belongs at.
    using GlyphPlacement = std::function<void(const KivGlyph& glyph, int32_t penX)>;
    void LayOut(const KivString& text, double penX, const GlyphPlacement& place) const;

private:
    static constexpr int32_t kPhases = 4;

    struct Metrics {
        int32_t glyph;
        double advance;
    };
    Metrics MetricsOf(char32_t codePoint) const;
    const KivGlyph& GlyphImage(int32_t glyph, int32_t phase) const;
    double KerningOf(int32_t glyph, int32_t nextGlyph) const;

    const KivFontFace& face_;
    double pixels_;
    double scale_;
    int32_t ascent_;
    int32_t descent_;
    int32_t lineHeight_;
    mutable std::mutex cacheLock_;
    mutable std::unordered_map<char32_t, Metrics> metrics_;
    mutable std::unordered_map<uint32_t, KivGlyph> glyphs_;
};
