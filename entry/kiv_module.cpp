#include "entry/kiv_module.h"

#include "base/kiv_exception.h"
#include "base/kiv_trace.h"
#include "base/stream/kiv_std_file_stream.h"
#include "entry/kiv_data_path.h"
#include "entry/kiv_global_resources.h"
#include "entry/kiv_library_initialization.h"
#include "entry/kiv_loaded_library.h"
#include "platform/kiv_module_path.h"

namespace {

int32_t LastIndexOf(const KivString& text, char16_t character) {
    for (int32_t i = text.Length() - 1; i >= 0; --i)
        if (text[i] == character) return i;
    return -1;
}

int32_t FileNameStart(const KivString& path) {
    const int32_t slash = LastIndexOf(path, u'/');
    const int32_t backslash = LastIndexOf(path, u'\\');
    return (slash > backslash ? slash : backslash) + 1;
}

bool FileExists(const KivString& path) {
    try {
        KivStdFileStream file(path, KivStdFileStream::kRead);
        return file.IsOpen();
    } catch (const KivException&) {
        return false;
    }
}

}  // namespace

KivString KivModule::DataNameOf(const KivString& path) {
    const KivString fileName = path.Substring(FileNameStart(path));
    const int32_t dot = LastIndexOf(fileName, u'.');
    return dot < 0 ? fileName : fileName.Substring(0, dot);
}

KivString KivModule::WithExtension(const KivString& path, const KivString& extension) {
    const int32_t dot = LastIndexOf(path, u'.');
    KivString result = dot < FileNameStart(path) ? path + KivString(".") : path.Substring(0, dot + 1);
    return result += extension;
}

void KivModule::Initialize() {
    try {
        InitializeModule();
    } catch (const KivException& exception) {
        KivTrace::Write(KivString("KivModule::Initialize: ") + exception.GetMessage());
    } catch (...) {
        KivTrace::SystemException("KivModule::Initialize");
    }
}

void KivModule::InitializeModule() {
    const std::u16string path = KivPlatform::ModulePathOf(instanceHandle_);
    if (!path.empty()) modulePath_ = KivString::FromU16(path.substr(0, 520));
    KivLoadGlobalResources(*this);
    if (dataName_.IsEmpty()) dataName_ = DataNameOf(modulePath_);
    if (resources_.IsEmpty()) LoadResourceFileBeside();
}

// Only a library built without the built-in block reads its resources from a file.
void KivModule::LoadResourceFileBeside() {
    const KivString fileName = WithExtension(modulePath_, kResourceFileExtension);
    if (!FileExists(fileName)) return;
    KivStdFileStream file(fileName, KivStdFileStream::kRead);
    resources_.Load(file);
}

KivString KivModule::GetDataPath(const KivString& name) const { return KivDataPath::ForUser(name); }

void KivModule::DLLLoaded(KivLoadedLibrary& library) {
    if (!library.library) return;
    void* entry = library.library->Symbol("KivLibraryDLLInitialize");
    if (!entry) return;
    KivLibraryInitRecord record = KivLibraryInitialization::OwnRecord(library.name);
    library.module = reinterpret_cast<KivLibraryInitializeFunction>(entry)(&record);
}
