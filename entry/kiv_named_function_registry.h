#pragma once
#include <cstdint>

// Functions a module offers by name to other libraries of the framework (the GUI toolkit's
// style functions, for example). Names are borrowed: they must be literals or otherwise
// outlive the registry.
class KivNamedFunctionRegistry {
public:
    using Function = void (*)();
    static constexpr int32_t kCapacity = 64;

    // Raises KivException (invalid argument) when the registry is full.
    void Register(const char* name, Function function);
    // The function registered first under exactly `name`, or null.
    Function Find(const char* name) const noexcept;
    int32_t Count() const noexcept { return count_; }
    const char* NameAt(int32_t index) const noexcept { return entries_[index].name; }

private:
    struct Entry {
        const char* name;
        Function function;
    };
    Entry entries_[kCapacity] = {};
    int32_t count_ = 0;
};
