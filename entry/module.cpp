#include "entry/module.h"

// The product adds nothing of its own yet; the override keeps the class's place for it.
void Module::Initialize() { KivWindowsModule::Initialize(); }
