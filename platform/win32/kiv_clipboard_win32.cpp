#include <windows.h>

#include <cstring>
#include <new>

#include "platform/kiv_clipboard.h"

namespace {

UINT FormatId(const char16_t* format) { return RegisterClipboardFormatW(reinterpret_cast<LPCWSTR>(format)); }

// The clipboard is closed again on every path.
class OpenedClipboard {
public:
    OpenedClipboard() : open_(OpenClipboard(nullptr) != 0) {}
    ~OpenedClipboard() {
        if (open_) CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool IsOpen() const { return open_; }

private:
    bool open_;
};

// A movable global block of the bytes and one terminating zero, which the system may pad.
HGLOBAL CopyToGlobal(const uint8_t* data, int32_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(size) + 1);
    if (!block) return nullptr;
    auto* target = static_cast<uint8_t*>(GlobalLock(block));
    if (!target) {
        GlobalFree(block);
        return nullptr;
    }
    if (size > 0) std::memcpy(target, data, static_cast<size_t>(size));
    target[size] = 0;
    GlobalUnlock(block);
    return block;
}

}  // namespace

namespace KivClipboard {

Result Put(const char16_t* format, const uint8_t* data, int32_t size) {
    if (!format || (!data && size > 0) || size < 0) return Result::kAccessError;
    const UINT id = FormatId(format);
    if (id == 0) return Result::kAccessError;
    OpenedClipboard clipboard;
    if (!clipboard.IsOpen()) return Result::kOpenError;
    if (!EmptyClipboard()) return Result::kAccessError;
    HGLOBAL block = CopyToGlobal(data, size);
    if (!block) return Result::kMemoryError;
    if (!SetClipboardData(id, block)) {
        GlobalFree(block);
        return Result::kAccessError;
    }
    return Result::kDone;
}

Result Get(const char16_t* format, std::vector<uint8_t>& data) {
    if (!format) return Result::kAccessError;
    const UINT id = FormatId(format);
    if (id == 0) return Result::kAccessError;
    OpenedClipboard clipboard;
    if (!clipboard.IsOpen()) return Result::kOpenError;
    if (!IsClipboardFormatAvailable(id)) return Result::kNoData;
    HANDLE block = GetClipboardData(id);
    if (!block) return Result::kAccessError;
    const auto* source = static_cast<const uint8_t*>(GlobalLock(block));
    if (!source) return Result::kMemoryError;
    const SIZE_T size = GlobalSize(block);
    SIZE_T length = 0;
    while (length < size && source[length] != 0) ++length;
    try {
        data.assign(source, source + length);
    } catch (const std::bad_alloc&) {
        GlobalUnlock(block);
        return Result::kMemoryError;
    }
    GlobalUnlock(block);
    return Result::kDone;
}

}  // namespace KivClipboard
