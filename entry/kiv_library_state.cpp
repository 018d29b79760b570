#include "entry/kiv_library_state.h"

#include "entry/kiv_module_startup.h"
#include "platform/kiv_library_notifications.h"
#include "threads/kiv_unload_flag.h"

namespace {

KivPlatform::ProcessorFeatures processorFeatures;
void* instanceHandle = nullptr;

constexpr const char16_t* kFatalText = u"Fatal exception occured. Please contact the developer.";

bool Attach(void* handle) {
    processorFeatures = KivPlatform::DetectProcessorFeatures();
    instanceHandle = handle;
    return true;
}

// The module is normally gone by now: the last instance's close or the host's module exit
// destroyed it outside the loader lock. What is left (a module a parent library asked for)
// goes here; no thread of the library runs any more, since each keeps the library loaded.
bool Detach() {
    KivSetModuleUnloading(true);
    KivModuleStartup::DestroyModule();
    return true;
}

// Runs at load time, so the handlers are in place whichever notification order the system
// follows.
const bool registered = (KivLibraryState::RegisterNotifications(), true);

}  // namespace

namespace KivLibraryState {

void RegisterNotifications() noexcept {
    (void)registered;
    KivPlatform::RegisterLibraryNotifications({&OnAttach, &OnDetach});
}

bool OnAttach(void* handle) noexcept {
    try {
        return Attach(handle);
    } catch (...) {
        KivPlatform::ShowFatalMessage(kFatalText);
        return false;
    }
}

bool OnDetach() noexcept {
    try {
        return Detach();
    } catch (...) {
        KivPlatform::ShowFatalMessage(kFatalText);
        return false;
    }
}

const KivPlatform::ProcessorFeatures& ProcessorFeatures() noexcept { return processorFeatures; }

void* InstanceHandle() noexcept { return instanceHandle; }

}  // namespace KivLibraryState
