#include "gui/drawing/kiv_pixel_rules.h"

#include <algorithm>
#include <cstring>

#include "gui/drawing/kiv_alpha_blend_row.h"
#include "gui/drawing/kiv_color_mode_rule.h"

namespace {

// c * a + d * (255 - a), shifted: the blend every "...then blended by a" rule ends with.
inline uint8_t Blend(int32_t source, int32_t destination, int32_t a) {
    return static_cast<uint8_t>((source * a + destination * (255 - a)) >> 8);
}

inline int32_t Clamp255(int32_t value) { return std::clamp(value, 0, 255); }

inline const uint8_t* Channels(const KivColor& colour) { return &colour.b; }

void Alphablend(KivColor c, uint8_t* d) {
    for (int k = 0; k < 3; ++k) d[k] = Blend(Channels(c)[k], d[k], c.a);
}

void Modulate(KivColor c, uint8_t* d) {
    for (int k = 0; k < 3; ++k) d[k] = Blend(((d[k] + 1) * Channels(c)[k]) >> 8, d[k], c.a);
}

void Overlay(KivColor c, uint8_t* d) {
    if (d[3] == 0) {
        std::memcpy(d, &c, 4);
        return;
    }
    Alphablend(c, d);
    d[3] = static_cast<uint8_t>(std::min(255, d[3] + c.a));
}

void Invert(KivColor c, uint8_t* d) {
    for (int k = 0; k < 3; ++k) d[k] = Blend(255 - d[k], d[k], c.a);
}

void Add(KivColor c, uint8_t* d) {
    for (int k = 0; k < 3; ++k) d[k] = static_cast<uint8_t>(std::min(255, d[k] + (((Channels(c)[k] + 1) * c.a) >> 8)));
}

void Subtract(KivColor c, uint8_t* d) {
    for (int k = 0; k < 3; ++k) d[k] = static_cast<uint8_t>(std::max(0, d[k] - (((Channels(c)[k] + 1) * c.a) >> 8)));
}

// Lighten and Darken move the destination's brightest channel to `n` and scale the other
// two with it, so the destination's hue and saturation survive.
void ScaleToMaximum(uint8_t* d, int32_t maximum, int32_t n) {
    if (maximum > 0) {
        for (int k = 0; k < 3; ++k) d[k] = static_cast<uint8_t>(d[k] * n / maximum);
    } else {
        d[0] = d[1] = d[2] = static_cast<uint8_t>(n);
    }
}

void Lighten(KivColor c, uint8_t* d) {
    const int32_t s = std::max({c.b, c.g, c.r});
    const int32_t m = std::max({d[0], d[1], d[2]});
    ScaleToMaximum(d, m, std::min(255, m + (((s + 1) * c.a) >> 8)));
}

void Darken(KivColor c, uint8_t* d) {
    const int32_t s = std::max({c.b, c.g, c.r});
    const int32_t m = std::max({d[0], d[1], d[2]});
    ScaleToMaximum(d, m, std::max(0, m - (((256 - s) * c.a) >> 8)));
}

void Difference(KivColor c, uint8_t* d) {
    for (int k = 0; k < 3; ++k) d[k] = Blend(std::max(0, Channels(c)[k] - d[k]), d[k], c.a);
}

void IncContrast(KivColor c, uint8_t* d) {
    for (int k = 0; k < 3; ++k) {
        const int32_t r = Clamp255((d[k] - 127) * (4335 - 16 * Channels(c)[k]) / 255 + 127);
        d[k] = Blend(r, d[k], c.a);
    }
}

void DecContrast(KivColor c, uint8_t* d) {
    for (int k = 0; k < 3; ++k) {
        const int32_t r = Clamp255((d[k] - 127) * Channels(c)[k] / 255 + 127);
        d[k] = Blend(r, d[k], c.a);
    }
}

void LightenByContrast(KivColor c, uint8_t* d) {
    for (int k = 0; k < 3; ++k) {
        const int32_t t = ((Channels(c)[k] + 1) * c.a) >> 8;
        d[k] = static_cast<uint8_t>(t < 255 ? std::min(255, d[k] * 255 / (255 - t)) : 255);
    }
}

void DarkenByContrast(KivColor c, uint8_t* d) {
    for (int k = 0; k < 3; ++k) {
        const int32_t t = ((256 - Channels(c)[k]) * c.a) >> 8;
        d[k] = static_cast<uint8_t>(t < 255 ? Clamp255((d[k] - t) * 255 / (255 - t)) : 0);
    }
}

void AddAndOverflow(KivColor c, uint8_t* d) {
    for (int k = 0; k < 3; ++k) d[k] = static_cast<uint8_t>(d[k] + Channels(c)[k]);
}

void Copy(KivColor c, uint8_t* d) { std::memcpy(d, &c, 4); }

using Rule = void (*)(KivColor, uint8_t*);

Rule RuleOf(KivDrawingMode mode) {
    static const Rule kRules[KivDrawingModes::kCount] = {
        nullptr,     Alphablend,  Modulate,          Copy,  Overlay, KivColorModeRule::Apply,
        Invert,      Add,         Subtract,          Lighten, Darken, Difference,
        IncContrast, DecContrast, LightenByContrast, DarkenByContrast, AddAndOverflow};
    return KivDrawingModes::Draws(mode) ? kRules[static_cast<int32_t>(mode)] : nullptr;
}

}  // namespace

namespace KivPixelRules {

void Apply(KivDrawingMode mode, KivColor colour, uint8_t* pixel) noexcept {
    if (const Rule rule = RuleOf(mode)) rule(colour, pixel);
}

FillKind KindOf(KivDrawingMode mode, KivColor colour) noexcept {
    if (mode == KivDrawingMode::kCopy) return FillKind::kStore;
    if (mode == KivDrawingMode::kAlphablend) {
        if (colour.a == 255) return FillKind::kStore;
        if (colour.a == 0) return FillKind::kNothing;
    }
    return KivDrawingModes::Draws(mode) ? FillKind::kRule : FillKind::kNothing;
}

void FillRow(KivDrawingMode mode, KivColor colour, uint32_t* row, int32_t count) noexcept {
    switch (KindOf(mode, colour)) {
        case FillKind::kNothing:
            return;
        case FillKind::kStore:
            std::fill_n(row, count, colour.ToPixel());
            return;
        case FillKind::kRule:
            break;
    }
    if (mode == KivDrawingMode::kAlphablend) {
        KivAlphaBlendRow::Best(colour, row, count);
        return;
    }
    const Rule rule = RuleOf(mode);
    auto* bytes = reinterpret_cast<uint8_t*>(row);
    for (int32_t i = 0; i < count; ++i) rule(colour, bytes + 4 * i);
}

void CombineRow(KivDrawingMode mode, const uint32_t* source, uint32_t* row, int32_t count) noexcept {
    if (mode == KivDrawingMode::kCopy) {
        std::memmove(row, source, static_cast<size_t>(count) * sizeof(uint32_t));
        return;
    }
    const Rule rule = RuleOf(mode);
    if (rule == nullptr) return;
    auto* bytes = reinterpret_cast<uint8_t*>(row);
    for (int32_t i = 0; i < count; ++i) {
        const KivColor colour = KivColor::FromPixel(source[i]);
        switch (KindOf(mode, colour)) {
            case FillKind::kNothing: break;
            case FillKind::kStore: row[i] = source[i]; break;
            case FillKind::kRule: rule(colour, bytes + 4 * i); break;
        }
    }
}

void ApplyCovered(KivDrawingMode mode, KivColor colour, uint8_t coverage, uint8_t* pixel) noexcept {
    if (coverage == 0 || !KivDrawingModes::Draws(mode)) return;
    if (mode == KivDrawingMode::kCopy) {
        const uint8_t* source = Channels(colour);
        for (int k = 0; k < 4; ++k) pixel[k] = static_cast<uint8_t>((source[k] * coverage + pixel[k] * (255 - coverage) + 127) / 255);
        return;
    }
    if (mode == KivDrawingMode::kAddAndOverflow) {
        if (coverage >= 128) AddAndOverflow(colour, pixel);
        return;
    }
    const auto share = static_cast<uint8_t>((colour.a * coverage + 127) / 255);
    if (share == 0) return;
    colour.a = share;
    if (mode == KivDrawingMode::kAlphablend && share == 255) {
        std::memcpy(pixel, &colour, 4);
        return;
    }
    RuleOf(mode)(colour, pixel);
}

}  // namespace KivPixelRules
