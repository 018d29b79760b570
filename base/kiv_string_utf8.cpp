#include <string>

#include "base/encoding/kiv_utf8.h"
#include "base/kiv_string.h"

KivString KivString::FromUTF8(std::string_view utf8) {
    return KivUTF8::Decoder::Decode(reinterpret_cast<const uint8_t*>(utf8.data()), static_cast<int32_t>(utf8.size()));
}

std::string KivString::ToUTF8() const {
    std::string bytes;
    bytes.reserve(static_cast<size_t>(Length()));
    KivUTF8::Encoder::Encode(*this, [&bytes](uint8_t byte) { bytes.push_back(static_cast<char>(byte)); });
    return bytes;
}
