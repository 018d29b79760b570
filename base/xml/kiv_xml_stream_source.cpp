#include "base/xml/kiv_xml_stream_source.h"

KivXMLStreamSource::KivXMLStreamSource(KivStream& stream)
    : reader_(stream), codec_(&KivEncoding::GetCodec(KivString("utf-8"))) {
    // The reader fills its buffer only on the first line, so the header is still ahead.
    codec_->ReadHeader(stream);
}

bool KivXMLStreamSource::ReadLine(KivString& line) { return codec_->ReadLine(reader_, line); }

void KivXMLStreamSource::SelectEncoding(const KivString& name) { codec_ = &KivEncoding::GetCodec(name); }
