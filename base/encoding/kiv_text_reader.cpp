#include "base/encoding/kiv_text_reader.h"

#include "base/stream/kiv_stream.h"

namespace KivEncoding {

TextReader::TextReader(KivStream& source, int32_t bufferSize)
    : source_(source), buffer_(bufferSize > 0 ? bufferSize : kDefaultBufferSize) {
    bytes_ = buffer_.MutableData();
    size_ = buffer_.Size();
}

bool TextReader::Refill() {
    count_ = source_.Read(bytes_, size_);
    index_ = 0;
    return count_ > 0;
}

}  // namespace KivEncoding
