#pragma once
#include <cstdint>

#include "entry/kiv_module.h"

// The module of a library with a GUI: adds the GUI toolkit's style functions to the
// registry so that companion libraries share one style, and hands a loaded library the
// window configuration.
class KivWindowsModule : public KivModule {
public:
    static constexpr const char* kConfigurationFunction = "KivWindowsConfiguration";
    static constexpr const char* kCreateStyleFunction = "KivWindowsCreateStyle";
    static constexpr const char* kRegisterStyleFunction = "KivWindowsRegisterStyle";

    void DLLLoaded(KivLoadedLibrary& library) override;
    void Initialize() override;
    virtual int32_t ReservedWindowsQuery() { return 0; }
    virtual void ReservedWindowsHook() {}

    // The window configuration exchanged with companion libraries; none until the GUI
    // toolkit provides one.
    void* GetWindowConfiguration() const noexcept { return windowConfiguration_; }
    void SetWindowConfiguration(void* configuration) noexcept { windowConfiguration_ = configuration; }

private:
    void* windowConfiguration_ = nullptr;
};
