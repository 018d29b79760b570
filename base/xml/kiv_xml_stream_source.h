#pragma once
#include "base/encoding/kiv_encoding.h"
#include "base/xml/kiv_ml_source.h"

class KivStream;

// Markup read from a byte stream: UTF-8 (its header read first) until the document's
// processing instruction names another encoding. A document that starts with the UTF-16
// mark (as the writer saves "utf-16") is UTF-16 throughout: its declaration can only be
// read once the mark has chosen the codec, and it cannot change it afterwards.
class KivXMLStreamSource : public KivMLSource {
public:
    explicit KivXMLStreamSource(KivStream& stream);

    bool ReadLine(KivString& line) override;
    void SelectEncoding(const KivString& name) override;

private:
    KivEncoding::TextReader reader_;
    const KivEncoding::Codec* codec_;
    bool marked_ = false;
};
