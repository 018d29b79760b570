#include "base/xml/kiv_ml_text_source.h"

bool KivMLTextSource::ReadLine(KivString& line) {
    if (ended_) return false;
    int32_t end = text_.Find(u'\n', position_);
    if (end < 0) {
        ended_ = true;
        if (position_ >= text_.Length()) return false;  // a final line feed opens no new line
        end = text_.Length();
    }
    line = text_.Substring(position_, end - position_);
    position_ = end + 1;
    return true;
}
