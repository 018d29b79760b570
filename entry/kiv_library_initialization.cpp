#include "entry/kiv_library_initialization.h"

#include "base/kiv_exception.h"
#include "base/kiv_trace.h"
#include "entry/kiv_module.h"
#include "entry/kiv_module_startup.h"
#include "platform/kiv_library_static.h"
#include "threads/kiv_lock.h"

namespace {

KivSynchronizer* sharedLock = nullptr;

KivSynchronizer& OwnLock() {
    static KivPlatform::LibraryStatic<KivLock> lock;
    return *lock;
}

void TakeOverParentServices(const KivLibraryInitRecord& record) {
    if (record.memoryFunctions) KivMemory::Table() = *record.memoryFunctions;
    if (record.sharedLock) sharedLock = record.sharedLock;
}

KivModule* CreateModuleFor(const KivLibraryInitRecord& record) {
    KivModule* module = KivModuleStartup::CreateModuleInstance();
    if (!module) return nullptr;
    if (record.libraryName) module->SetModulePath(*record.libraryName);
    module->Initialize();
    return module;
}

}  // namespace

namespace KivLibraryInitialization {

KivSynchronizer& SharedLock() noexcept { return sharedLock ? *sharedLock : OwnLock(); }

KivLibraryInitRecord OwnRecord(const KivString& libraryName) {
    return KivLibraryInitRecord{&KivMemory::Table(), &SharedLock(), &libraryName};
}

KivModule* InitializeFromParent(const KivLibraryInitRecord* record) noexcept {
    try {
        if (!record) return nullptr;
        TakeOverParentServices(*record);
        if (KivModule* existing = KivModuleStartup::CurrentModule()) return existing;
        return CreateModuleFor(*record);
    } catch (const KivException& exception) {
        KivTrace::Write(KivString("KivLibraryDLLInitialize: ") + exception.GetMessage());
    } catch (...) {
        KivTrace::SystemException("KivLibraryDLLInitialize");
    }
    return nullptr;
}

}  // namespace KivLibraryInitialization
