#include "gui/controls/kiv_static_multi_line.h"

#include <algorithm>

#include "gui/controls/kiv_control_painting.h"
#include "gui/style/kiv_house_style.h"
#include "gui/style/kiv_style_access.h"
#include "gui/text/kiv_font.h"
#include "gui/text/kiv_text_alignment.h"

namespace {

constexpr int32_t kLineGap = 3;

bool Fits(const KivFont& font, const KivString& line, int32_t width) { return font.MeasureText(line) <= width; }

// Breaks one paragraph (no line feeds) into lines, greedily at spaces.
void WrapParagraph(const KivFont& font, const KivString& paragraph, int32_t width, std::vector<KivString>& lines) {
    KivString line;
    int32_t start = 0;
    for (int32_t index = 0; index <= paragraph.Length(); ++index) {
        if (index < paragraph.Length() && paragraph[index] != u' ') continue;
        const KivString word = paragraph.Substring(start, index - start);
        start = index + 1;
        if (word.IsEmpty()) continue;
        const KivString joined = line.IsEmpty() ? word : line + KivString(" ") + word;
        if (line.IsEmpty() || Fits(font, joined, width)) {
            line = joined;
        } else {
            lines.push_back(line);
            line = word;
        }
    }
    lines.push_back(line);
}

}  // namespace

std::vector<KivString> KivStaticMultiLine::Wrap(const KivFont& font, const KivString& text, int32_t width) {
    std::vector<KivString> lines;
    int32_t start = 0;
    for (int32_t index = 0; index <= text.Length(); ++index) {
        if (index < text.Length() && text[index] != u'\n') continue;
        KivString paragraph = text.Substring(start, index - start);
        // Text from Windows files keeps its carriage returns before the line feeds.
        if (!paragraph.IsEmpty() && paragraph[paragraph.Length() - 1] == u'\r') paragraph.SetLength(paragraph.Length() - 1);
        WrapParagraph(font, paragraph, width, lines);
        start = index + 1;
    }
    return lines;
}

int32_t KivStaticMultiLine::HeightOf(const KivFont& font, int32_t lineCount) {
    return lineCount <= 0 ? 0 : lineCount * (font.LineHeight() + kLineGap) - kLineGap;
}

void KivStaticMultiLine::Paint(KivDrawer& drawer, const KivRect&) {
    const KivRect area = GetWindowRect();
    const KivFont& font = KivStyleAccess::Font(drawer, KivStyleFont::kNormal);
    const KivString& text = GetContent().IsEmpty() ? GetText() : GetContent();
    int32_t top = area.top;
    for (const KivString& line : Wrap(font, text, area.Width())) {
        if (top + font.LineHeight() - 1 > area.bottom) break;
        KivControlPainting::Text(drawer, KivStyleFont::kNormal, line,
                                 KivRect{area.left, top, area.right, top + font.LineHeight() - 1},
                                 KivTextAlignment::kEllipsis, KivControlPainting::TextColor(drawer, IsEnabled()));
        top += font.LineHeight() + kLineGap;
    }
}

KivPoint KivStaticMultiLine::ComputeAutoSize(KivPoint available) {
    const KivFont& font = KivHouseStyle::DefaultFont(KivStyleFont::kNormal);
    const int32_t width = available.x > 0 ? available.x : GetSize().x;
    const auto lines = Wrap(font, GetContent().IsEmpty() ? GetText() : GetContent(), std::max(width, 1));
    return KivPoint{width, HeightOf(font, static_cast<int32_t>(lines.size()))};
}
