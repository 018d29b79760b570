// Until the window system's clipboard (the X11 CLIPBOARD selection, targets named after the
// formats) comes with the GUI, the clipboard lives in the process: copy and paste work
// between instances of the plug-in in one host.
#include <mutex>
#include <new>
#include <string>

#include "platform/kiv_clipboard.h"

namespace {

struct ProcessClipboard {
    std::mutex lock;
    std::u16string format;
    std::vector<uint8_t> data;
};

ProcessClipboard& TheClipboard() {
    static ProcessClipboard clipboard;
    return clipboard;
}

std::vector<uint8_t> UpToFirstZero(const uint8_t* data, int32_t size) {
    int32_t length = 0;
    while (length < size && data[length] != 0) ++length;
    return std::vector<uint8_t>(data, data + length);
}

}  // namespace

namespace KivClipboard {

Result Put(const char16_t* format, const uint8_t* data, int32_t size) {
    if (!format || (!data && size > 0) || size < 0) return Result::kAccessError;
    try {
        ProcessClipboard& clipboard = TheClipboard();
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
        ProcessClipboard& clipboard = TheClipboard();
        std::lock_guard<std::mutex> guard(clipboard.lock);
        if (clipboard.format != format || clipboard.data.empty()) return Result::kNoData;
        data = UpToFirstZero(clipboard.data.data(), static_cast<int32_t>(clipboard.data.size()));
        return Result::kDone;
    } catch (const std::bad_alloc&) {
        return Result::kMemoryError;
    }
}

}  // namespace KivClipboard
