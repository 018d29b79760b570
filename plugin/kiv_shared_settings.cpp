#include "plugin/kiv_shared_settings.h"

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"

namespace {

const KivString kVersion("Version");
const KivString kChannelMode("ChannelMode");
const KivString kEnableSurround("EnableSurroundProcessing");
const KivString kBypass("Bypass");
const KivString kMaxLFOBlockSize("MaxLFOBlockSize");
const KivString kOversampling("Oversampling");

int32_t ValidOversampling(int64_t factor) { return factor == 2 || factor == 4 || factor == 8 ? static_cast<int32_t>(factor) : 1; }

}  // namespace

void KivSharedSettings::StoreVersion(KivXMLItem& item, bool storing) {
    if (storing) {
        item.SetAttribute(kVersion, KivNumber::IntegerToText(version));
        return;
    }
    version = item.HasAttribute(kVersion) ? static_cast<uint32_t>(KivNumber::TextToInteger(item.GetAttribute()))
                                          : kUnversioned;
}

void KivSharedSettings::StoreModeAndFlags(KivXMLItem& item, bool storing, int32_t channelsPerGroup) {
    if (storing) {
        WriteModeAndFlags(item);
    } else {
        ReadModeAndFlags(item, channelsPerGroup);
    }
}

void KivSharedSettings::WriteModeAndFlags(KivXMLItem& item) const {
    item.SetAttribute(kChannelMode, KivString(KivChannelModes::Info(channelMode).storedName));
    if (bypass) {
        item.SetAttribute(kBypass, KivString("1"));
    } else {
        item.RemoveAttribute(kBypass);
    }
    if (maxLFOBlockSize != kDefaultMaxLFOBlockSize) {
        item.SetAttribute(kMaxLFOBlockSize, KivNumber::IntegerToText(maxLFOBlockSize));
    } else {
        item.RemoveAttribute(kMaxLFOBlockSize);
    }
    if (ValidOversampling(oversampling) != 1) {
        item.SetAttribute(kOversampling, KivNumber::IntegerToText(oversampling));
    } else {
        item.RemoveAttribute(kOversampling);
    }
}

void KivSharedSettings::ReadModeAndFlags(const KivXMLItem& item, int32_t channelsPerGroup) {
    if (item.HasAttribute(kChannelMode)) {
        const int32_t mode = KivChannelModes::FindByStoredName(item.GetAttribute());
        if (mode >= 0) channelMode = mode;
    }
    if (item.HasAttribute(kEnableSurround)) {
        channelMode = KivNumber::TextToInteger(item.GetAttribute()) > 0 ? kKivChannelModeSurround
                                                                        : kKivChannelModeLeftRight;
    }
    if (channelMode == kKivChannelModeSurround && channelsPerGroup < 3) channelMode = kKivChannelModeLeftRight;
    bypass = item.HasAttribute(kBypass) && KivNumber::TextToInteger(item.GetAttribute()) != 0;
    maxLFOBlockSize = item.HasAttribute(kMaxLFOBlockSize)
                          ? static_cast<int32_t>(KivNumber::TextToInteger(item.GetAttribute()))
                          : kDefaultMaxLFOBlockSize;
    oversampling = item.HasAttribute(kOversampling) ? ValidOversampling(KivNumber::TextToInteger(item.GetAttribute())) : 1;
}
