#pragma once
#include "entry/kiv_windows_module.h"

// This product's module.
class Module : public KivWindowsModule {
public:
    void Initialize() override;
};
