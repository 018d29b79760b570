#pragma once
#include "gui/core/kiv_control.h"

// A control with a caption and a content text: the base of statics, buttons, check boxes
// and value controls. Changing either text repaints the control.
class KivControlContent : public KivControl {
public:
    KivControlContent() = default;

    void LoadAttributes(const KivXMLItem& item) override;
    // The caption.
    void SetText(const KivString& text) override;
    KivString GetText() const override { return caption_; }

    const KivString& GetContent() const { return content_; }
    void SetContent(const KivString& content);
    int32_t GetCaptionType() const { return captionType_; }
    void SetCaptionType(int32_t type);

private:
    KivString caption_;
    KivString content_;
    int32_t captionType_ = 0;
};
