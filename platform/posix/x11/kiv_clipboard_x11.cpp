// The clipboard of the X server when one can be reached, so that copied settings travel
// between hosts and programs; without a display (headless hosts, test machines) the
// clipboard stays inside the process.
#include <new>

#include "platform/kiv_clipboard.h"
#include "platform/posix/kiv_posix_text.h"
#include "platform/posix/kiv_process_clipboard.h"
#include "platform/posix/x11/kiv_x11_selection.h"

namespace KivClipboard {

Result Put(const char16_t* format, const uint8_t* data, int32_t size) {
    if (!format || (!data && size > 0) || size < 0) return Result::kAccessError;
    if (!KivPlatform::X11Selection::Available()) return KivPlatform::ProcessClipboard::Put(format, data, size);
    try {
        return KivPlatform::X11Selection::Put(KivPlatform::Posix::Utf8FromUtf16(format), data, size);
    } catch (const std::bad_alloc&) {
        return Result::kMemoryError;
    }
}

Result Get(const char16_t* format, std::vector<uint8_t>& data) {
    if (!format) return Result::kAccessError;
    if (!KivPlatform::X11Selection::Available()) return KivPlatform::ProcessClipboard::Get(format, data);
    try {
        return KivPlatform::X11Selection::Get(KivPlatform::Posix::Utf8FromUtf16(format), data);
    } catch (const std::bad_alloc&) {
        return Result::kMemoryError;
    }
}

}  // namespace KivClipboard
