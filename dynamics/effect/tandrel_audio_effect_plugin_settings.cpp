// The product's own settings next to its parameters: the drawn transfer shape, the switches
// that are not host parameters, the detector's keys and the custom attack and release shapes.
#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "dynamics/effect/tandrel_audio_effect_plugin.h"
#include "dynamics/parameters/tandrel_enumerations.h"
#include "dynamics/parameters/tandrel_settings_keys.h"
#include "threads/kiv_synchronizer_guard.h"

namespace {

void StoreByte(KivXMLItem& item, const char* key, uint8_t& value, bool storing) {
    const KivString name(key);
    if (storing) {
        item.SetAttribute(name, KivNumber::IntegerToText(value));
    } else {
        value = item.HasAttribute(name) && KivNumber::TextToInteger(item.GetAttribute()) != 0 ? 1 : 0;
    }
}

void StoreMode(KivXMLItem& item, const char* key, KivAttackReleaseMode& mode, bool storing, const char* absent) {
    const KivString name(key);
    if (storing) {
        item.SetAttribute(name, KivAttackReleaseModeText(mode));
    } else {
        mode = KivAttackReleaseModeFromText(item.HasAttribute(name) ? item.GetAttribute()
                                                                    : KivString(absent));
    }
}

// Writes into a child named `key` (made when missing); reads it when present.
void StoreEnvelope(KivXMLItem& item, const char* key, KivEnvelope& envelope, bool storing) {
    const KivString name(key);
    if (storing) {
        KivXMLItem& child = item.HasSubItem(name) ? item.GetSubItem() : item.AddSubItem(name);
        envelope.Store(child);
    } else if (item.HasSubItem(name)) {
        envelope.Load(item.GetSubItem());
    }
}

}  // namespace

bool TandrelAudioEffectPlugin::LoadSettings(KivXMLItem& item) {
    KivSynchronizerGuard lock(GetEffectMutex());
    KivAudioEffectPlugin::LoadSettings(item);
    // States saved before the side-chain existed keyed the detector on the input.
    KivEffectParameter& sideChain = table_.Record(kTandrelSideChain);
    if (!item.HasAttribute(KivString("parameter") + sideChain.identifier + KivString("Enum")))
        sideChain.values.asEnumeration.index = kTandrelSideChainInternal;
    StoreProductSettings(item, false);
    return true;
}

bool TandrelAudioEffectPlugin::StoreSettings(KivXMLItem& item) {
    KivSynchronizerGuard lock(GetEffectMutex());
    KivAudioEffectPlugin::StoreSettings(item);
    StoreProductSettings(item, true);
    return true;
}

void TandrelAudioEffectPlugin::StoreProductSettings(KivXMLItem& item, bool storing) {
    // A saved state has the host's latest writes to the points; a loaded one replaces them.
    if (storing) drawnShape_.ApplyHostWrites();
    else drawnShape_.DiscardHostWrites();
    // A state without a drawing gets the straight line of a new instance, not whatever the
    // previous state had drawn.
    if (!storing && !item.HasSubItem(KivString(kTandrelKeyGraph))) drawnShape_.GetEnvelope().ResetToLine(0.0, 1.0);
    StoreEnvelope(item, kTandrelKeyGraph, drawnShape_.GetEnvelope(), storing);
    if (!storing) KeepDrawnShapeUsable();
    StoreByte(item, kTandrelKeyDoNotLimitAbove0dB, product_.doNotLimitAbove0dB, storing);
    pipeline_.Follower().Store(item, storing);
    StoreByte(item, kTandrelKeyEnabledCustomShape, product_.customShape, storing);
    StoreByte(item, kTandrelKeyExpander1, product_.expander1, storing);
    StoreByte(item, kTandrelKeyExpander2, product_.expander2, storing);
    StoreMode(item, kTandrelKeyAttackMode, product_.attackShape, storing, kTandrelAttackShapeWhenAbsent);
    StoreMode(item, kTandrelKeyReleaseMode, product_.releaseShape, storing, kTandrelReleaseShapeWhenAbsent);
    StoreShapes(item, storing);
}

void TandrelAudioEffectPlugin::StoreShapes(KivXMLItem& item, bool storing) {
    const KivString name(kTandrelKeyCustomShapes);
    if (!storing && !item.HasSubItem(name)) return;
    KivXMLItem& shapes = item.HasSubItem(name) ? item.GetSubItem() : item.AddSubItem(name);
    StoreEnvelope(shapes, kTandrelKeyCustomAttackShape, customAttack_, storing);
    StoreEnvelope(shapes, kTandrelKeyCustomReleaseShape, customRelease_, storing);
}

// A shape needs two points to describe any transfer at all.
void TandrelAudioEffectPlugin::KeepDrawnShapeUsable() {
    KivEnvelope& shape = drawnShape_.GetEnvelope();
    if (shape.GetPointCount() < 2) shape.ResetToLine(0.0, 1.0);
}
