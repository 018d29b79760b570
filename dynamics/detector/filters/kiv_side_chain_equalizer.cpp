#include "dynamics/detector/filters/kiv_side_chain_equalizer.h"

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"
#include "dynamics/detector/filters/kiv_biquad_design.h"

namespace {

constexpr int32_t kStoredDecimals = 12;

void StoreNumber(KivXMLItem& item, const char* name, double& value, bool storing) {
    const KivString key(name);
    if (storing) {
        item.SetAttribute(key, KivNumber::DoubleToText(value, kStoredDecimals));
    } else if (item.HasAttribute(key)) {
        value = KivNumber::TextToDouble(item.GetAttribute());
    }
}

}  // namespace

KivSideChainEqualizer::Kind KivSideChainEqualizer::KindOf(int32_t band) noexcept {
    if (band == 0) return kLowShelf;
    return band == kBandCount - 1 ? kHighShelf : kPeak;
}

void KivSideChainEqualizer::Design(double sampleRate, KivBiquadCoefficients (&sections)[kBandCount]) const noexcept {
    for (int32_t i = 0; i < kBandCount; ++i) {
        const Band& b = bands[i];
        switch (KindOf(i)) {
            case kLowShelf:
                sections[i] = KivBiquadDesign::LowShelf(b.frequency, b.quality, b.gainDecibels, sampleRate);
                break;
            case kHighShelf:
                sections[i] = KivBiquadDesign::HighShelf(b.frequency, b.quality, b.gainDecibels, sampleRate);
                break;
            case kPeak:
                sections[i] = KivBiquadDesign::Peak(b.frequency, b.quality, b.gainDecibels, sampleRate);
                break;
        }
    }
}

void KivSideChainEqualizer::Store(KivXMLItem& item, bool storing) {
    for (int32_t i = 0; i < kBandCount; ++i) {
        const KivString name = KivString("Band") + KivNumber::IntegerToText(i);
        KivXMLItem* child = nullptr;
        if (item.HasSubItem(name)) {
            child = &item.GetSubItem();
        } else if (storing) {
            child = &item.AddSubItem(name);
        }
        if (child == nullptr) continue;
        StoreNumber(*child, "Frequency", bands[i].frequency, storing);
        StoreNumber(*child, "Q", bands[i].quality, storing);
        StoreNumber(*child, "Gain", bands[i].gainDecibels, storing);
    }
}
