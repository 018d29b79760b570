#pragma once
#include <atomic>

#include "hosts/vst3/interfaces/funknown.h"

namespace Steinberg {

// The reference count behind every object this library hands to a host. An object starts
// with one reference, its creator's, and deletes itself on the last release. Classes that
// implement several interfaces answer addRef/release of each with these.
class FObject {
public:
    FObject() = default;
    virtual ~FObject() = default;
    FObject(const FObject&) = delete;
    FObject& operator=(const FObject&) = delete;

    uint32 AddReference() noexcept { return ++references_; }
    uint32 ReleaseReference() noexcept {
        const uint32 left = --references_;
        if (left == 0) delete this;
        return left;
    }

private:
    std::atomic<uint32> references_{1};
};

// Answers a query for `Interface` with `object` seen through `Face` (a base that leads to
// `Interface` without ambiguity), counting the reference the caller receives.
template <typename Interface, typename Face = Interface, typename Object>
bool OfferInterface(const TUID requested, Object* object, void** result) {
    if (!Interface::iid.Matches(requested)) return false;
    Interface* face = static_cast<Face*>(object);
    face->addRef();
    *result = face;
    return true;
}

}  // namespace Steinberg
