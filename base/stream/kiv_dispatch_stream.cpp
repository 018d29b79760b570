#include "base/stream/kiv_dispatch_stream.h"

KivStream* KivDispatchStream::GetSubStream() { return target_ ? target_ : KivStream::GetSubStream(); }

void KivDispatchStream::Seek(int64_t offset, int32_t origin) {
    if (!target_) return KivStream::Seek(offset, origin);
    target_->Seek(offset, origin);
}

void KivDispatchStream::Flush() {
    if (!target_) return KivStream::Flush();
    target_->Flush();
}

bool KivDispatchStream::IsEnd() { return target_ ? target_->IsEnd() : KivStream::IsEnd(); }
