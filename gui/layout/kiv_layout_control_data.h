#pragma once
#include <algorithm>
#include <utility>
#include <vector>

class KivControl;

// Data a layout keeps per control beyond what every control carries (grid spans, corner
// targets, gaps in a line). A short list: layouts hold few controls.
template <typename T>
class KivLayoutControlData {
public:
    void Set(const KivControl& control, T value) {
        auto found = Find(control);
        if (found != entries_.end()) {
            found->second = value;
            return;
        }
        entries_.emplace_back(&control, value);
    }
    T Get(const KivControl& control, T fallback) const {
        auto found = std::find_if(entries_.begin(), entries_.end(), [&](const auto& entry) { return entry.first == &control; });
        return found == entries_.end() ? fallback : found->second;
    }
    void Erase(const KivControl& control) {
        auto found = Find(control);
        if (found != entries_.end()) entries_.erase(found);
    }

private:
    using Entry = std::pair<const KivControl*, T>;
    typename std::vector<Entry>::iterator Find(const KivControl& control) {
        return std::find_if(entries_.begin(), entries_.end(), [&](const Entry& entry) { return entry.first == &control; });
    }
    std::vector<Entry> entries_;
};
