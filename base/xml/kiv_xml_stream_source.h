#pragma once
#include "base/encoding/kiv_encoding.h"
#include "base/xml/kiv_ml_source.h"

class KivStream;

// Markup read from a byte stream: UTF-8 (its header read first) until the document's
// processing instruction names another encoding.
class KivXMLStreamSource : public KivMLSource {
public:
    explicit KivXMLStreamSource(KivStream& stream);

    bool ReadLine(KivString& line) override;
    void SelectEncoding(const KivString& name) override;

private:
    KivEncoding::TextReader reader_;
    const KivEncoding::Codec* codec_;
};
