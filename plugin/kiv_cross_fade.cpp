#include "plugin/kiv_cross_fade.h"

#include <algorithm>
#include <map>

#include "platform/kiv_library_static.h"
#include "threads/kiv_lock.h"
#include "threads/kiv_synchronizer_guard.h"

KivFadeTable::KivFadeTable(int32_t length) : length_(std::max(length, 1)) {
    coherent_.resize(static_cast<size_t>(length_) + 1);
    rising_.resize(static_cast<size_t>(length_));
    falling_.resize(static_cast<size_t>(length_));
    for (int32_t position = 0; position <= length_; ++position)
        coherent_[static_cast<size_t>(position)] = KivCoherentFadeWeight(position, length_);
    for (int32_t position = 0; position < length_; ++position) {
        const double angle = KivFadeAngle(position + 0.5, length_);
        rising_[static_cast<size_t>(position)] = std::sin(angle);
        falling_[static_cast<size_t>(position)] = std::cos(angle);
    }
}

// A handful of lengths ever exist in a process (10 ms at each rate in use), so tables are
// kept while any fade uses them and made again only after all have gone.
std::shared_ptr<const KivFadeTable> KivFadeTable::Of(int32_t length) {
    static KivPlatform::LibraryStatic<KivLock> lock;
    static KivPlatform::LibraryStatic<std::map<int32_t, std::weak_ptr<const KivFadeTable>>> tables;
    length = std::max(length, 1);
    KivSynchronizerGuard guard(*lock);
    std::weak_ptr<const KivFadeTable>& entry = (*tables)[length];
    std::shared_ptr<const KivFadeTable> table = entry.lock();
    if (!table) {
        table = std::make_shared<const KivFadeTable>(length);
        entry = table;
    }
    return table;
}
