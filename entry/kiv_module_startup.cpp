#include "entry/kiv_module_startup.h"

#include "base/kiv_exception.h"
#include "base/kiv_trace.h"
#include "entry/kiv_global_resources.h"
#include "entry/kiv_library_state.h"
#include "entry/module.h"
#include "platform/kiv_library_notifications.h"
#include "platform/kiv_library_static.h"
#include "threads/kiv_mutex.h"
#include "threads/kiv_synchronizer_guard.h"

namespace {

// Written before any instance exists, only read afterwards (start-up is serialised).
KivModule* currentModule = nullptr;
KivModule* mainModule = nullptr;

int32_t instanceUsers = 0;  // guarded by the start-up mutex

// Created on first use: a static object would not exist yet when a host creates an instance
// from another library's static initialisation. Destroyed with the library: by then no
// instance exists and no thread of the library runs, so nobody can be waiting on it.
KivMutex& StartupMutex() {
    static KivPlatform::LibraryStatic<KivMutex> mutex;
    return *mutex;
}

void* InstanceHandleForModule() noexcept {
    void* handle = KivLibraryState::InstanceHandle();
    return handle ? handle : KivPlatform::MainExecutableHandle();
}

void StartModule() {
    KivModule* module = KivModuleStartup::CreateModuleInstance();
    if (!module) return;
    KivLoadGlobalResources(*module);
    module->Initialize();
}

KivModule& EnsureModuleLocked() {
    if (!currentModule) StartModule();
    if (!currentModule) throw KivException("Could not create module.", KivException::kNotInitialized);
    return *currentModule;
}

}  // namespace

namespace KivModuleStartup {

KivModule* CurrentModule() noexcept { return currentModule; }

KivModule* MainModule() noexcept { return mainModule; }

KivModule& EnsureModule() {
    KivSynchronizerGuard guard(StartupMutex());
    return EnsureModuleLocked();
}

KivModule* CreateModuleInstance() noexcept {
    try {
        Module* module = new Module();
        currentModule = module;
        module->SetInstanceHandle(InstanceHandleForModule());
        if (!mainModule) mainModule = module;
        return module;
    } catch (const KivException& exception) {
        KivTrace::Write(KivString("KivCreateModuleInstance: ") + exception.GetMessage());
    } catch (...) {
        KivTrace::SystemException("KivCreateModuleInstance");
    }
    return nullptr;
}

void AcquireForInstance() {
    KivSynchronizerGuard guard(StartupMutex());
    EnsureModuleLocked();
    ++instanceUsers;
}

void ReleaseForInstance() noexcept {
    try {
        KivSynchronizerGuard guard(StartupMutex());
        if (instanceUsers > 0 && --instanceUsers == 0) DestroyModule();
    } catch (...) {
        KivTrace::SystemException("KivModuleStartup::ReleaseForInstance");
    }
}

void ReleaseIfUnused() noexcept {
    try {
        KivSynchronizerGuard guard(StartupMutex());
        if (instanceUsers == 0) DestroyModule();
    } catch (...) {
        KivTrace::SystemException("KivModuleStartup::ReleaseIfUnused");
    }
}

void DestroyModule() noexcept {
    KivModule* module = currentModule;
    currentModule = nullptr;
    if (mainModule == module) mainModule = nullptr;
    try {
        delete module;
    } catch (...) {
        KivTrace::SystemException("KivModule::~KivModule");
    }
}

}  // namespace KivModuleStartup
