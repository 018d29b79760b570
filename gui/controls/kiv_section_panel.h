#pragma once
#include "gui/core/kiv_panel.h"

// A panel that groups controls: with a caption it paints a rounded section with a heading
// strip, with "controltype" 2 (framed) a section without heading, otherwise nothing, so
// panels used only to arrange controls stay invisible.
class KivSectionPanel : public KivContainer {
public:
    void LoadAttributes(const KivXMLItem& item) override;
    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    void SetText(const KivString& text) override;
    KivString GetText() const override { return caption_; }

    // Places the children inside ContentRect by the panel's layouts.
    void Arrange() override;

    bool PaintsSection() const { return !caption_.IsEmpty() || framed_; }
    // Where children go: inside the padding of a section and below its heading.
    KivRect ContentRect() const;

private:
    KivString caption_;
    bool framed_ = false;
};
