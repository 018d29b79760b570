#include "base/xml/kiv_xml_stream_source.h"

namespace {
constexpr uint8_t kUtf16Mark[2] = {0xFF, 0xFE};
}

KivXMLStreamSource::KivXMLStreamSource(KivStream& stream)
    : reader_(stream), codec_(&KivEncoding::GetCodec(KivString("utf-8"))) {
    if (reader_.SkipMark(kUtf16Mark, 2)) {
        codec_ = &KivEncoding::GetCodec(KivString("utf-16"));
        marked_ = true;
    }
}

bool KivXMLStreamSource::ReadLine(KivString& line) { return codec_->ReadLine(reader_, line); }

void KivXMLStreamSource::SelectEncoding(const KivString& name) {
    if (!marked_) codec_ = &KivEncoding::GetCodec(name);
}
