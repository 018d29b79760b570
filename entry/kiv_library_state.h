#pragma once
#include "platform/kiv_processor_features.h"

// What the load notification records about this library before any instance exists, and
// the handlers of the load and unload notifications.
namespace KivLibraryState {

// Registered by a static initialiser of this library; tests may call it again.
void RegisterNotifications() noexcept;

// Load: records the processor features and the library's instance handle.
bool OnAttach(void* instanceHandle) noexcept;
// Unload: sets the unloading flag (no thread starts from then on) and destroys what is left
// of the module.
bool OnDetach() noexcept;

const KivPlatform::ProcessorFeatures& ProcessorFeatures() noexcept;
void* InstanceHandle() noexcept;

}  // namespace KivLibraryState
