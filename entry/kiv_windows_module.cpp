#include "entry/kiv_windows_module.h"

#include "entry/kiv_loaded_library.h"
#include "entry/kiv_window_style_functions.h"

void KivWindowsModule::Initialize() {
    KivModule::Initialize();
    KivNamedFunctionRegistry& functions = GetNamedFunctions();
    // The registry keeps untyped functions; the name tells the caller the real type.
    functions.Register(kConfigurationFunction,
                       reinterpret_cast<KivNamedFunctionRegistry::Function>(&KivWindowStyleFunctions::ExchangeConfiguration));
    functions.Register(kCreateStyleFunction, &KivWindowStyleFunctions::CreateStyle);
    functions.Register(kRegisterStyleFunction, &KivWindowStyleFunctions::RegisterStyle);
}

void KivWindowsModule::DLLLoaded(KivLoadedLibrary& library) {
    KivModule::DLLLoaded(library);
    if (!windowConfiguration_ || !library.module) return;
    using Exchange = void (*)(void* configuration);
    const auto exchange = reinterpret_cast<Exchange>(
        library.module->GetNamedFunctions().Find(kConfigurationFunction));
    if (exchange) exchange(windowConfiguration_);
}
