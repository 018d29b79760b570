#pragma once
#include <vector>

#include "gui/core/kiv_control_content.h"

class KivFont;

// Text over several lines: the caption broken at spaces so that each line fits the
// control's width, and at every line feed. Lines that do not fit below are left out.
class KivStaticMultiLine : public KivControlContent {
public:
    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    KivPoint ComputeAutoSize(KivPoint available) override;

    // The lines of `text` in `font` no wider than `width` (a single word wider than that
    // keeps a line of its own and is cut when painted).
    static std::vector<KivString> Wrap(const KivFont& font, const KivString& text, int32_t width);
    // The height `lineCount` lines take.
    static int32_t HeightOf(const KivFont& font, int32_t lineCount);
};
