#include "gui/style/kiv_house_style.h"

#include <iterator>

#include "gui/layout/kiv_layout.h"
#include "gui/style/kiv_style_metrics.h"
#include "gui/text/kiv_font.h"
#include "platform/kiv_library_static.h"

namespace {

struct NamedColor {
    const char* name;
    uint32_t argb;
};

constexpr NamedColor kColors[] = {
    {"General control background", 0xFF1B1E23}, {"Panel background", 0xFF23272D},
    {"Control title background", 0xFF2B3037},   {"Control frame", 0xFF3A414A},
    {"Highlight of selectors", 0xFF4DB2E6},     {"Highlighted text", 0xFF0E1A22},
    {"Background of editors", 0xFF14171B},      {"Control text", 0xFFD9DEE4},
    {"Secondary text", 0xFF8C96A2},             {"Disabled text", 0xFF555D67},
    {"Button face", 0xFF323840},                {"Button face under the mouse", 0xFF3B424B},
    {"Button face pressed", 0xFF282D33},        {"Knob body", 0xFF2E343B},
    {"Meter low level", 0xFF3CC27E},            {"Meter middle level", 0xFFE6C043},
    {"Meter high level", 0xFFE5544B},
};
static_assert(std::size(kColors) == static_cast<size_t>(KivStyleColor::kCount), "one entry per colour set");

struct NamedFont {
    const char* name;
    double pixels;
};

constexpr NamedFont kFonts[] = {{"Normal", 12.0}, {"Small", 10.5}, {"Title", 13.0}, {"Large", 16.0}};
static_assert(std::size(kFonts) == static_cast<size_t>(KivStyleFont::kCount), "one entry per font");

bool IsIndex(int32_t index, size_t count) { return index >= 0 && static_cast<size_t>(index) < count; }

}  // namespace

const KivHouseStyle& KivHouseStyle::Instance() {
    static KivPlatform::LibraryStatic<KivHouseStyle> style;
    KivLayout::SetStyleControlSpacing(KivStyleMetrics::kControlSpacing);
    return *style;
}

int32_t KivHouseStyle::ColorCount() const { return static_cast<int32_t>(std::size(kColors)); }

KivColor KivHouseStyle::Color(int32_t index) const {
    return IsIndex(index, std::size(kColors)) ? KivColor::FromArgb(kColors[index].argb) : KivColor{};
}

KivString KivHouseStyle::ColorName(int32_t index) const {
    return IsIndex(index, std::size(kColors)) ? KivString(kColors[index].name) : KivString();
}

int32_t KivHouseStyle::FontCount() const { return static_cast<int32_t>(std::size(kFonts)); }

const KivFont* KivHouseStyle::Font(int32_t index) const {
    return IsIndex(index, std::size(kFonts)) ? &KivFont::OfSize(kFonts[index].pixels) : nullptr;
}

KivString KivHouseStyle::FontName(int32_t index) const {
    return IsIndex(index, std::size(kFonts)) ? KivString(kFonts[index].name) : KivString();
}

KivColor KivHouseStyle::DefaultColor(KivStyleColor color) {
    return KivColor::FromArgb(kColors[static_cast<size_t>(color)].argb);
}

const KivFont& KivHouseStyle::DefaultFont(KivStyleFont font) {
    return KivFont::OfSize(kFonts[static_cast<size_t>(font)].pixels);
}
