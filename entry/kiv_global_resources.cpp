#include "entry/kiv_global_resources.h"

#include "base/kiv_byte_buffer.h"
#include "base/kiv_exception.h"
#include "base/kiv_trace.h"
#include "base/stream/kiv_memory_stream.h"
#include "entry/kiv_module.h"
#include "entry/resources/kiv_builtin_resource_block.h"

void KivLoadGlobalResources(KivModule& module) noexcept {
    try {
        module.GetResources().Clear();
        if (kKivBuiltinResourceBlockSize <= 0) return;
        // Borrowed, never written: the block lives in the library's read-only data.
        KivMemoryStream stream(KivByteBuffer::Borrow(const_cast<uint8_t*>(kKivBuiltinResourceBlock),
                                                     kKivBuiltinResourceBlockSize));
        module.GetResources().Load(stream);
    } catch (const KivException& exception) {
        KivTrace::Write(KivString("KivLoadGlobalResources: ") + exception.GetMessage());
    } catch (...) {
        KivTrace::SystemException("KivLoadGlobalResources");
    }
}
