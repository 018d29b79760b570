#pragma once
#include "gui/core/kiv_control_content.h"

// A line of text: the caption, or the content when there is one (a read-out). It sizes
// itself to its text. "captiontype" 5 (inside) centres the text.
class KivStatic : public KivControlContent {
public:
    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    KivPoint ComputeAutoSize(KivPoint available) override;

    KivString ShownText() const;
};
