#include "entry/kiv_named_function_registry.h"

#include <cstring>

#include "base/kiv_exception.h"

void KivNamedFunctionRegistry::Register(const char* name, Function function) {
    if (count_ >= kCapacity) throw KivException("Too many named functions.", KivException::kInvalidArgument);
    entries_[count_++] = Entry{name, function};
}

KivNamedFunctionRegistry::Function KivNamedFunctionRegistry::Find(const char* name) const noexcept {
    if (!name) return nullptr;
    for (int32_t i = 0; i < count_; ++i)
        if (std::strcmp(entries_[i].name, name) == 0) return entries_[i].function;
    return nullptr;
}
