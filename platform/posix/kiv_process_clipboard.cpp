#include "platform/posix/kiv_process_clipboard.h"

#include <mutex>
#include <new>
#include <string>

#include "platform/kiv_library_static.h"

namespace {

struct Store {
    std::mutex lock;
    std::u16string format;
    std::vector<uint8_t> data;
};

Store& TheClipboard() {
    static KivPlatform::LibraryStatic<Store> clipboard;
    return *clipboard;
}

std::vector<uint8_t> UpToFirstZero(const uint8_t* data, int32_t size) {
    int32_t length = 0;
    while (length < size && data[length] != 0) ++length;
    return std::vector<uint8_t>(data, data + length);
}

}  // namespace

namespace KivPlatform::ProcessClipboard {

using KivClipboard::Result;

Result Put(const char16_t* format, const uint8_t* data, int32_t size) {
    if (!format || (!data && size > 0) || size < 0) return Result::kAccessError;
    try {
        Store& clipboard = TheClipboard();
        std::lock_guard<std::mutex> guard(clipboard.lock);
        clipboard.format = format;
        clipboard.data.assign(data, data + size);
        return Result::kDone;
    } catch (const std::bad_alloc&) {
        return Result::kMemoryError;
    }
}

Result Get(const char16_t* format, std::vector<uint8_t>& data) {
    if (!format) return Result::kAccessError;
    try {
        Store& clipboard = TheClipboard();
        std::lock_guard<std::mutex> guard(clipboard.lock);
        if (clipboard.format != format || clipboard.data.empty()) return Result::kNoData;
        data = UpToFirstZero(clipboard.data.data(), static_cast<int32_t>(clipboard.data.size()));
        return Result::kDone;
    } catch (const std::bad_alloc&) {
        return Result::kMemoryError;
    }
}

}  // namespace KivPlatform::ProcessClipboard
