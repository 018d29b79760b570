#pragma once
// A plug-in's state as the bytes a host keeps, and back, for tests that edit a chunk before
// giving it to the plug-in again.
#include <cstdint>
#include <vector>

#include "base/kiv_byte_buffer.h"
#include "base/stream/kiv_memory_stream.h"
#include "base/xml/kiv_xml_item.h"
#include "plugin/state/kiv_complete_document.h"

namespace KivStateBytes {

// `root` written as UTF-8.
inline std::vector<uint8_t> Bytes(const KivXMLItem& root) {
    KivMemoryStream stream;
    root.Save(stream, KivString("utf-8"));
    const KivByteBuffer contents = stream.GetContents();
    return std::vector<uint8_t>(contents.Data(), contents.Data() + contents.Size());
}

// Reads the whole document in `bytes` into `root`; raises KivException when it is cut short.
inline void Parse(const std::vector<uint8_t>& bytes, KivXMLItem& root) {
    KivReadCompleteDocument(bytes.data(), static_cast<int32_t>(bytes.size()), root);
}

}  // namespace KivStateBytes
