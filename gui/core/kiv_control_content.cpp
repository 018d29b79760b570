#include "gui/core/kiv_control_content.h"

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"

void KivControlContent::LoadAttributes(const KivXMLItem& item) {
    KivControl::LoadAttributes(item);
    if (item.HasAttribute(KivString("captiontype"))) {
        captionType_ = static_cast<int32_t>(KivNumber::TextToInteger(item.GetAttribute(KivString("captiontype"))));
    }
}

void KivControlContent::SetText(const KivString& text) {
    if (text == caption_) return;
    caption_ = text;
    Invalidate();
}

void KivControlContent::SetContent(const KivString& content) {
    if (content == content_) return;
    content_ = content;
    Invalidate();
}

void KivControlContent::SetCaptionType(int32_t type) {
    if (type == captionType_) return;
    captionType_ = type;
    Invalidate();
}
