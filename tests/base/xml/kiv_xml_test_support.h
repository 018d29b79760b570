#pragma once
#include <string>

#include "base/kiv_exception.h"
#include "base/stream/kiv_memory_stream.h"
#include "base/xml/kiv_xml_item.h"

// Documents as byte strings, so that expectations are written as the bytes of a file.
inline void LoadXML(KivXMLItem& item, const std::string& bytes) {
    KivMemoryStream stream;
    stream.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.Seek(0, KivStream::kFromStart);
    item.Load(stream);
}

inline std::string SaveXML(const KivXMLItem& item, const KivString& encoding = "utf-8") {
    KivMemoryStream stream;
    item.Save(stream, encoding);
    return std::string(reinterpret_cast<const char*>(stream.GetData()), static_cast<size_t>(stream.GetLength()));
}

// The message and code a load fails with, or "no failure".
struct LoadFailure {
    std::string message;
    int32_t code = -1;
};

inline LoadFailure LoadFailureOf(const std::string& bytes) {
    KivXMLItem item;
    try {
        LoadXML(item, bytes);
    } catch (const KivException& exception) {
        return {exception.GetMessage().ToUTF8(), exception.GetCode()};
    }
    return {"no failure", -1};
}
