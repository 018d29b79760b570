#pragma once
#include <utility>

#include "base/kiv_exception.h"
#include "base/kiv_trace.h"

// Runs `operation` for a caller outside the library (a host, the window system, a thread
// entry). A KivException is dropped; anything else is traced as "SYSTEM EXCEPTION! {0}" with
// `qualifiedName` ("KivAudioPlugin::SetParameter"). Either way the caller gets `neutral`:
// no exception ever leaves the library.
template <typename Result, typename Operation>
Result KivGuard(const char* qualifiedName, Result neutral, Operation&& operation) noexcept {
    try {
        return std::forward<Operation>(operation)();
    } catch (const KivException&) {
    } catch (...) {
        KivTrace::SystemException(qualifiedName);
    }
    return neutral;
}

template <typename Operation>
void KivGuard(const char* qualifiedName, Operation&& operation) noexcept {
    try {
        std::forward<Operation>(operation)();
    } catch (const KivException&) {
    } catch (...) {
        KivTrace::SystemException(qualifiedName);
    }
}
