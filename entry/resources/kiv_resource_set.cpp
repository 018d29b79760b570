#include "entry/resources/kiv_resource_set.h"

#include <cstdint>
#include <utility>

#include "base/kiv_exception.h"
#include "base/kiv_number.h"
#include "base/stream/kiv_memory_stream.h"
#include "base/xml/kiv_xml_item.h"

namespace {

constexpr const char* kTruncated = "Could not read required data from stream.";
constexpr const char* kInvalidLengths = "Invalid file contents. Resource container lengths are negative.";
constexpr const char* kBodyOutsideData = "Invalid file contents. Resource ({0}) does not lie within the data.";

bool IsResourceElement(const KivString& name) { return name.CompareFolded("resource", 8) == 0; }
bool IsExternalFileElement(const KivString& name) { return name.EqualsFolded("xresource"); }

// A decimal count of bytes, or -1 when the text is anything else.
int64_t ParseByteCount(const KivString& text) {
    int32_t consumed = 0;
    int64_t value = KivNumber::TextToInteger(text, 10, &consumed);
    if (consumed == 0 || consumed != text.Length() || value < 0 || value > INT32_MAX) return -1;
    return value;
}

// Any value but "0", "false" or nothing marks a body as compressed.
bool ParseFlag(const KivString& text) {
    return !text.Trimmed().IsEmpty() && !text.EqualsFolded("0") && !text.EqualsFolded("false");
}

}  // namespace

KivResourceSet::Lengths KivResourceSet::ReadLengths(KivStream& stream) {
    stream.ReadValue<uint32_t>();  // the leading word carries nothing
    Lengths lengths{stream.ReadValue<int32_t>(), stream.ReadValue<int32_t>()};
    if (lengths.index < 0 || lengths.data < 0) throw KivException(kInvalidLengths, KivException::kInputOutput);
    return lengths;
}

void KivResourceSet::Load(KivStream& stream) {
    Lengths lengths = ReadLengths(stream);
    KivByteBuffer index(lengths.index);
    if (lengths.index > 0) stream.ReadRequired(index.MutableData(), lengths.index);
    KivByteBuffer data(lengths.data);
    if (lengths.data > 0) stream.ReadRequired(data.MutableData(), lengths.data);
    Adopt(index, data);
}

void KivResourceSet::Load(KivMemoryStream& stream) {
    Lengths lengths = ReadLengths(stream);
    int64_t available = stream.GetSize() - stream.GetPosition();
    if (available < int64_t{lengths.index} + lengths.data) throw KivException(kTruncated, KivException::kInputOutput);
    auto* start = const_cast<uint8_t*>(stream.GetCurrentPointer());  // never written: borrowed blocks detach first
    KivByteBuffer index = KivByteBuffer::Borrow(start, lengths.index);
    KivByteBuffer data = KivByteBuffer::Borrow(start + lengths.index, lengths.data);
    Adopt(index, data);
    stream.Seek(int64_t{lengths.index} + lengths.data, KivStream::kFromPosition);
}

void KivResourceSet::Adopt(const KivByteBuffer& index, const KivByteBuffer& data) {
    KivXMLItem document;
    KivMemoryStream indexStream(index);
    document.Load(indexStream);
    KivResourceSet fresh;
    fresh.data_ = data;
    fresh.TakeIndex(document, data.Size());
    Replace(fresh);
}

void KivResourceSet::TakeIndex(const KivXMLItem& document, int32_t dataLength) {
    const KivXMLItem& list = document.GetSubItem("resources");
    for (int32_t i = 0; i < list.GetSubItemCount(); ++i) {
        const KivXMLItem& element = list.GetSubItemAt(i);
        if (IsExternalFileElement(element.GetName())) {
            AddExternalFile(element);
        } else if (IsResourceElement(element.GetName())) {
            AddResource(element, dataLength);
        }
    }
}

void KivResourceSet::AddResource(const KivXMLItem& element, int32_t dataLength) {
    KivIndexedResource resource;
    resource.id = element.GetAttribute("id");
    int64_t offset = ParseByteCount(element.GetAttribute("offset"));
    int64_t size = ParseByteCount(element.GetAttribute("size"));
    // A body reaching past the data would be read from memory that is not ours.
    if (offset < 0 || size < 0 || offset + size > dataLength)
        KivException::Raise(KivException::kInputOutput, kBodyOutsideData, resource.id);
    resource.offset = static_cast<int32_t>(offset);
    resource.size = static_cast<int32_t>(size);
    resource.compressed = element.HasAttribute("compressed") && ParseFlag(element.GetAttribute());
    resources_.Add(std::move(resource));
}

void KivResourceSet::AddExternalFile(const KivXMLItem& element) {
    externalFiles_.Add(KivExternalResourceFile{element.GetAttribute("id"), element.GetAttribute("filename")});
}

void KivResourceSet::Replace(KivResourceSet& other) noexcept {
    resources_ = std::move(other.resources_);
    externalFiles_ = std::move(other.externalFiles_);
    data_ = std::move(other.data_);
}

void KivResourceSet::Clear() {
    resources_.Clear();
    externalFiles_.Clear();
    data_ = KivByteBuffer();
}

const KivIndexedResource* KivResourceSet::FindResource(const KivString& id) const {
    for (const KivIndexedResource& resource : resources_)
        if (resource.id.EqualsFolded(id)) return &resource;
    return nullptr;
}

const KivExternalResourceFile* KivResourceSet::FindExternalFile(const KivString& id) const {
    for (const KivExternalResourceFile& file : externalFiles_)
        if (file.id.EqualsFolded(id)) return &file;
    return nullptr;
}
