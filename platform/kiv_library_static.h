#pragma once
#include <new>
#include <utility>

namespace KivPlatform {

// The static objects a library makes on first use (caches, registries, the style, fonts, locks)
// live until the library's end and are destroyed there, the newest first, after the end hook
// has run. The library's end is the process's exit or the library's unload, whichever comes
// first, and one exit registration covers every such object however many are made and
// whenever: a function-local static of its own would register its destructor when first used,
// ahead of anything registered before it, so an object made after the library's threads
// started would be destroyed at exit while those threads still use it. Registering the end
// again with every new thread or object kept the order but grew without bound over a long
// session.
struct LibraryStaticRecord {
    void* object = nullptr;
    void (*destroy)(void* object) = nullptr;
    LibraryStaticRecord* older = nullptr;
};

// Adds a constructed object to those destroyed at the library's end. Thread-safe and free of
// locks; the first call registers the library's end with the C library.
void KeepUntilLibraryEnd(LibraryStaticRecord& record) noexcept;

// Runs `hook` at the library's end before any of those objects is destroyed (the threads'
// parking at process exit). One hook per library; also registers the end if nothing has yet.
void SetLibraryEndHook(void (*hook)()) noexcept;

// A function-local static of the library: `static LibraryStatic<T> cache{...}; return *cache;`.
// Its own destructor is trivial, so nothing is registered for it; the object inside is
// destroyed at the library's end. A constructor that throws leaves nothing behind, and the next
// use tries again, as with any static.
template <class T>
class LibraryStatic {
public:
    template <class... Arguments>
    explicit LibraryStatic(Arguments&&... arguments) {
        record_.object = new (storage_) T(std::forward<Arguments>(arguments)...);
        record_.destroy = [](void* object) { static_cast<T*>(object)->~T(); };
        KeepUntilLibraryEnd(record_);
    }
    LibraryStatic(const LibraryStatic&) = delete;
    LibraryStatic& operator=(const LibraryStatic&) = delete;

    T& operator*() noexcept { return *static_cast<T*>(record_.object); }
    T* operator->() noexcept { return static_cast<T*>(record_.object); }

private:
    alignas(T) unsigned char storage_[sizeof(T)];
    LibraryStaticRecord record_;
};

}  // namespace KivPlatform
