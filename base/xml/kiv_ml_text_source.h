#pragma once
#include <cstdint>

#include "base/xml/kiv_ml_source.h"

// Markup held in a string (GUI descriptions built in code, styled help text, tests): the
// text is cut at each character 10. An encoding named by the markup is irrelevant here,
// the characters are already decoded.
class KivMLTextSource : public KivMLSource {
public:
    explicit KivMLTextSource(const KivString& text) : text_(text) {}

    bool ReadLine(KivString& line) override;
    void SelectEncoding(const KivString&) override {}

private:
    KivString text_;
    int32_t position_ = 0;
    bool ended_ = false;
};
