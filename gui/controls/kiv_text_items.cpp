#include "gui/controls/kiv_text_items.h"

std::vector<KivString> KivTextItems::Split(const KivString& text, char16_t separator) {
    std::vector<KivString> items;
    if (text.IsEmpty()) return items;
    int32_t start = 0;
    for (int32_t index = 0; index <= text.Length(); ++index) {
        if (index < text.Length() && text[index] != separator) continue;
        items.push_back(text.Substring(start, index - start).Trimmed());
        start = index + 1;
    }
    return items;
}
