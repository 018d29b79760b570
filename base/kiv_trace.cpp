#include "base/kiv_trace.h"

#include <atomic>

#include "base/kiv_format.h"

namespace {
std::atomic<KivTrace::Sink> gSink{nullptr};
}

namespace KivTrace {

Sink SetSink(Sink sink) noexcept { return gSink.exchange(sink); }

void Write(const KivString& text) noexcept {
    if (Sink sink = gSink.load()) sink(text);
}

void SystemException(const char* qualifiedName) noexcept {
    if (!gSink.load()) return;  // formatting costs nothing when nobody listens
    try {
        Write(KivFormat("SYSTEM EXCEPTION! {0}").Argument(qualifiedName).Result());
    } catch (...) {
    }
}

}  // namespace KivTrace
