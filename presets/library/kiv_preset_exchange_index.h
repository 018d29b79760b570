#pragma once
#include <cstdint>
#include <functional>

class KivXMLItem;

// The "ExchangeIndex" of presets that took part in the online exchange: the walk over the
// whole library that the exchange service uses to read or hand out these numbers.
namespace KivPresetExchangeIndex {

// False when the preset has no index (or one that is not a whole number).
bool Read(const KivXMLItem& preset, int32_t& index);
void Assign(KivXMLItem& preset, int32_t index);

// Visits every preset below `root` at every folder level.
void ForEachPreset(KivXMLItem& root, const std::function<void(KivXMLItem& preset)>& visit);

}  // namespace KivPresetExchangeIndex
