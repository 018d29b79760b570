#pragma once
#include <cstdint>

#include "base/kiv_byte_buffer.h"
#include "base/kiv_list.h"
#include "base/kiv_object.h"
#include "base/kiv_string.h"
#include "entry/resources/kiv_external_resource_file.h"
#include "entry/resources/kiv_indexed_resource.h"

class KivMemoryStream;
class KivStream;
class KivXMLItem;

// The resources of a module, read from a resource container:
//
//     offset 0      leading word (0 when written, not used when read)
//     offset 4      index length L      (32-bit little-endian)
//     offset 8      data length D
//     offset 12     index: an XML document, root "solution", one "resources" element
//     offset 12+L   data: the resource bodies back to back
//
// Children of "resources" whose name begins with "resource" describe a body (attributes
// "id", "offset", "size", optional "compressed"); "xresource" children name further
// resource files ("id", "filename"). Ids are matched ignoring case and accents.
class KivResourceSet : public KivObject {
public:
    // Replaces the contents by the container at the stream's position. The data part is
    // copied into a block the set owns. On failure the set keeps its former contents.
    void Load(KivStream& stream);
    // As above, but the data part is used in place: the memory behind the stream (the
    // built-in block) must outlive the set and every copy of its data block.
    void Load(KivMemoryStream& stream);
    void Clear();

    bool IsEmpty() const noexcept { return resources_.IsEmpty() && externalFiles_.IsEmpty(); }
    int32_t GetResourceCount() const noexcept { return resources_.Count(); }
    const KivIndexedResource& GetResourceAt(int32_t index) const noexcept { return resources_[index]; }
    int32_t GetExternalFileCount() const noexcept { return externalFiles_.Count(); }
    const KivExternalResourceFile& GetExternalFileAt(int32_t index) const noexcept { return externalFiles_[index]; }

    // The first resource or file of that id, or null.
    const KivIndexedResource* FindResource(const KivString& id) const;
    const KivExternalResourceFile* FindExternalFile(const KivString& id) const;

    // The first byte of a resource's body inside the data block.
    const uint8_t* GetBody(const KivIndexedResource& resource) const noexcept { return data_.Data() + resource.offset; }
    const KivByteBuffer& GetData() const noexcept { return data_; }

private:
    struct Lengths {
        int32_t index;
        int32_t data;
    };
    static Lengths ReadLengths(KivStream& stream);
    // Reads the index and takes over the data block; the set changes only on success.
    void Adopt(const KivByteBuffer& index, const KivByteBuffer& data);
    // Fills the lists from the index and checks every body against the data length.
    void TakeIndex(const KivXMLItem& document, int32_t dataLength);
    void AddResource(const KivXMLItem& element, int32_t dataLength);
    void AddExternalFile(const KivXMLItem& element);
    void Replace(KivResourceSet& other) noexcept;

    KivList<KivIndexedResource, 1> resources_;
    KivList<KivExternalResourceFile, 1> externalFiles_;
    KivByteBuffer data_;  // borrowed when read from memory, owned when read from a file
};
