#include "base/encoding/kiv_text_reader.h"

#include "base/stream/kiv_stream.h"

namespace KivEncoding {

TextReader::TextReader(KivStream& source, int32_t bufferSize)
    : source_(source), buffer_(bufferSize > 0 ? bufferSize : kDefaultBufferSize) {
    bytes_ = buffer_.MutableData();
    size_ = buffer_.Size();
}

bool TextReader::SkipMark(const uint8_t* mark, int32_t count) {
    if (index_ == count_ && !Refill()) return false;
    if (count_ - index_ < count) return false;
    for (int32_t i = 0; i < count; ++i)
        if (bytes_[index_ + i] != mark[i]) return false;
    index_ += count;
    return true;
}

bool TextReader::Refill() {
    count_ = source_.Read(bytes_, size_);
    index_ = 0;
    return count_ > 0;
}

}  // namespace KivEncoding
