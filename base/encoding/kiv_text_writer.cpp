#include "base/encoding/kiv_text_writer.h"

#include "base/kiv_exception.h"
#include "base/stream/kiv_stream.h"

namespace KivEncoding {

TextWriter::TextWriter(KivStream& target, int32_t bufferSize)
    : target_(target), buffer_(bufferSize > 0 ? bufferSize : kDefaultBufferSize) {
    bytes_ = buffer_.MutableData();
    size_ = buffer_.Size();
}

TextWriter::~TextWriter() {
    try {
        WritePending();
    } catch (const KivException&) {
        // A destructor cannot report it; callers who care call Flush themselves.
    }
}

void TextWriter::WriteBytes(const uint8_t* bytes, int32_t count) {
    for (int32_t i = 0; i < count; ++i) WriteByte(bytes[i]);
}

void TextWriter::WritePending() {
    if (count_ == 0) return;
    int32_t count = count_;
    count_ = 0;  // a failing stream must not get the same bytes twice
    target_.Write(bytes_, count);
}

}  // namespace KivEncoding
