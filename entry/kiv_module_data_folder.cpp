#include "entry/kiv_module_data_folder.h"

#include "base/kiv_exception.h"
#include "entry/kiv_module.h"
#include "entry/kiv_module_startup.h"

KivString KivModuleDataFolder::GetDataFolder() {
    KivModule* module = KivModuleStartup::CurrentModule();
    if (!module) throw KivException("The module has not been started.", KivException::kNotInitialized);
    return module->GetDataPath(module->GetDataName());
}

KivModuleDataFolder& KivModuleDataFolder::Instance() {
    static KivModuleDataFolder folder;
    return folder;
}
