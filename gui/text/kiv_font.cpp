#include "gui/text/kiv_font.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "gui/text/kiv_font_face.h"
#include "gui/text/kiv_utf16_reader.h"
#include "platform/kiv_library_static.h"

namespace {
int32_t RoundToPixels(double value) { return static_cast<int32_t>(std::floor(value + 0.5)); }
}  // namespace

const KivFont& KivFont::OfSize(double pixels) {
    static std::mutex registryLock;
    static KivPlatform::LibraryStatic<std::map<int32_t, std::unique_ptr<KivFont>>> registry;
    const int32_t quarters = std::clamp(RoundToPixels(pixels * 4.0), 4, 2000);
    std::lock_guard<std::mutex> guard(registryLock);
    std::unique_ptr<KivFont>& font = (*registry)[quarters];
    if (!font) font = std::make_unique<KivFont>(KivFontFace::Embedded(), quarters / 4.0);
    return *font;
}

KivFont::KivFont(const KivFontFace& face, double pixels)
    : face_(face),
      pixels_(pixels),
      scale_(face.ScaleForEm(pixels)),
      ascent_(RoundToPixels(face.Ascent() * scale_)),
      descent_(RoundToPixels(face.Descent() * scale_)),
      lineHeight_(RoundToPixels((face.Ascent() + face.Descent() + face.LineGap()) * scale_)) {}

KivFont::~KivFont() = default;

KivFont::Metrics KivFont::MetricsOf(char32_t codePoint) const {
    std::lock_guard<std::mutex> guard(cacheLock_);
    auto found = metrics_.find(codePoint);
    if (found == metrics_.end()) {
        const int32_t glyph = face_.GlyphIndex(codePoint);
        found = metrics_.emplace(codePoint, Metrics{glyph, face_.Advance(glyph) * scale_}).first;
    }
    return found->second;
}

double KivFont::KerningOf(int32_t glyph, int32_t nextGlyph) const {
    return face_.Kerning(glyph, nextGlyph) * scale_;
}

const KivGlyph& KivFont::GlyphImage(int32_t glyph, int32_t phase) const {
    const uint32_t key = static_cast<uint32_t>(glyph) * kPhases + static_cast<uint32_t>(phase);
    std::lock_guard<std::mutex> guard(cacheLock_);
    auto found = glyphs_.find(key);
    if (found == glyphs_.end()) {
        found = glyphs_.emplace(key, face_.Render(glyph, scale_, static_cast<double>(phase) / kPhases)).first;
    }
    // Elements of an unordered map keep their place when it grows: the reference stays valid.
    return found->second;
}

double KivFont::MeasureText(const KivString& text) const {
    double width = 0.0;
    int32_t previous = -1;
    for (KivUtf16Reader reader(text); !reader.AtEnd();) {
        const Metrics metrics = MetricsOf(reader.Next());
        if (previous >= 0) width += KerningOf(previous, metrics.glyph);
        width += metrics.advance;
        previous = metrics.glyph;
    }
    return width;
}

void KivFont::LayOut(const KivString& text, double penX, const GlyphPlacement& place) const {
    int32_t previous = -1;
    for (KivUtf16Reader reader(text); !reader.AtEnd();) {
        const Metrics metrics = MetricsOf(reader.Next());
        if (previous >= 0) penX += KerningOf(previous, metrics.glyph);
        const double whole = std::floor(penX);
        const int32_t phase = std::min(kPhases - 1, static_cast<int32_t>((penX - whole) * kPhases));
        place(GlyphImage(metrics.glyph, phase), static_cast<int32_t>(whole));
        penX += metrics.advance;
        previous = metrics.glyph;
    }
}
