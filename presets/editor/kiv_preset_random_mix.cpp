#include "presets/editor/kiv_preset_random_mix.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "base/xml/kiv_xml_item.h"
#include "parameters/kiv_random_generator.h"
#include "presets/library/kiv_preset_packing.h"
#include "presets/library/kiv_preset_tree.h"
#include "presets/library/kiv_xml_item_copy.h"

namespace {

using Places = std::vector<const KivXMLItem*>;

// 0..count-1; a draw of exactly 1 would give count.
int32_t Pick(int32_t count) { return std::min(count - 1, static_cast<int32_t>(KivRandomGenerator::Draw() * count)); }

// The `nth` subitem named `name` (0 for the first), or null.
const KivXMLItem* NthSubItem(const KivXMLItem& item, const KivString& name, int32_t nth) {
    for (int32_t index = 0; index < item.GetSubItemCount(); ++index) {
        const KivXMLItem& sub = item.GetSubItemAt(index);
        if (sub.GetName() == name && nth-- == 0) return &sub;
    }
    return nullptr;
}

// `places` are the items of every preset at the place of `mixed`, where they have one.
void Mix(KivXMLItem& mixed, const Places& places) {
    for (int32_t index = 0; index < mixed.GetAttributeCount(); ++index) {
        const KivString name = mixed.GetAttributeAt(index).name;
        Places holders;
        for (const KivXMLItem* place : places)
            if (place->HasAttribute(name)) holders.push_back(place);
        mixed.SetAttribute(
            name, holders[static_cast<size_t>(Pick(static_cast<int32_t>(holders.size())))]->GetAttribute(name));
    }
    for (int32_t index = 0; index < mixed.GetSubItemCount(); ++index) {
        KivXMLItem& sub = mixed.GetSubItemAt(index);
        int32_t nth = 0;
        for (int32_t before = 0; before < index; ++before)
            if (mixed.GetSubItemAt(before).GetName() == sub.GetName()) ++nth;
        Places subPlaces;
        for (const KivXMLItem* place : places)
            if (const KivXMLItem* found = NthSubItem(*place, sub.GetName(), nth)) subPlaces.push_back(found);
        Mix(sub, subPlaces);
    }
}

}  // namespace

KivXMLItem* KivPresetRandomMix::MixInto(KivXMLItem& folder, KivXMLItem& holder) {
    std::vector<std::unique_ptr<KivXMLItem>> unpacked;
    Places places;
    // A preset in the old form is its own settings item, as loading it treats it.
    KivPresetTree::ForEachPreset(folder, [&](KivXMLItem& preset) {
        if (!KivPresetPacking::IsPacked(preset)) return places.push_back(&preset);
        unpacked.push_back(std::make_unique<KivXMLItem>());
        KivPresetPacking::Unpack(preset, *unpacked.back());
        places.push_back(unpacked.back().get());
    });
    if (places.empty()) return nullptr;
    KivXMLItem& mixed =
        KivAppendXMLItemCopy(*places[static_cast<size_t>(Pick(static_cast<int32_t>(places.size())))], holder);
    Mix(mixed, places);
    return &mixed;
}
