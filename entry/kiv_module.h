#pragma once
#include <cstdint>

#include "base/kiv_object.h"
#include "base/kiv_string.h"
#include "entry/kiv_named_function_registry.h"
#include "entry/resources/kiv_resource_set.h"

struct KivLoadedLibrary;

// The one process-wide object of a loaded library: where the library lives, its resources,
// the functions it offers by name and its per-user data folder. Built once by the first
// instance (or a parent library) and kept until the library is unloaded.
class KivModule : public KivObject {
public:
    // Resource files beside the library carry this extension.
    static constexpr const char* kResourceFileExtension = "kivrf";

    KivModule() = default;
    ~KivModule() override = default;
    KivModule(const KivModule&) = delete;
    KivModule& operator=(const KivModule&) = delete;

    // A companion library was loaded: hands it this library's memory functions and lock and
    // keeps its module in `library`.
    virtual void DLLLoaded(KivLoadedLibrary& library);
    // Reads where the library lives and its resources; see the overrides for more.
    virtual void Initialize();
    virtual int32_t ReservedQuery() { return 0; }
    virtual void ReservedHook() {}

    const KivString& GetModulePath() const noexcept { return modulePath_; }
    void SetModulePath(const KivString& path) { modulePath_ = path; }
    // The library's file name without folder and last extension: names its data folder.
    const KivString& GetDataName() const noexcept { return dataName_; }
    KivResourceSet& GetResources() noexcept { return resources_; }
    KivNamedFunctionRegistry& GetNamedFunctions() noexcept { return namedFunctions_; }
    void* GetInstanceHandle() const noexcept { return instanceHandle_; }
    void SetInstanceHandle(void* handle) noexcept { instanceHandle_ = handle; }
    // The per-user folder `name` (usually GetDataName()), created when missing.
    KivString GetDataPath(const KivString& name) const;

    // The text before the last "." of the file name in `path`; the whole name without one.
    static KivString DataNameOf(const KivString& path);
    // `path` with the text after its last "." replaced by `extension`.
    static KivString WithExtension(const KivString& path, const KivString& extension);

private:
    void InitializeModule();
    void LoadResourceFileBeside();

    KivString modulePath_;
    KivString dataName_;
    KivResourceSet resources_;
    KivNamedFunctionRegistry namedFunctions_;
    void* instanceHandle_ = nullptr;
};
