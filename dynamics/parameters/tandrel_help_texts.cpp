#include "dynamics/parameters/tandrel_help_texts.h"

#include "dynamics/parameters/tandrel_parameter_slot.h"

namespace {

const char* const kHelpTexts[kTandrelSlotCount] = {
    // General parameters
    "<name>General parameters panel</name> contains parameters related to dynamic processing.",
    "<name>Input gain</name> defines gain applied on the incoming signal. With ratio 1:1 and the custom shape "
    "disabled the plug-in works as a plain fast gain.",
    "<name>Output gain</name> defines gain applied on the output signal. With ratio 1:1 and the custom shape "
    "disabled the plug-in works as a plain fast gain.",
    "<name>Temp gain</name> defines gain applied before the processing and reversed after it. The reversal is "
    "scaled by the ratio, so when the signal level touches the threshold, changing it changes the amount of "
    "compression while the output level stays steady.",
    "<name>Dry/wet</name> defines ratio between dry and wet signals. 100% means fully processed, 0% means no "
    "processing at all.",
    "<name>Mode</name> selects the transfer shape. <p>For a signal 10 dB above the threshold at ratio 2:1 "
    "<value>Logarithmic</value> gives 5 dB of attenuation, <value>Squared</value> 6.4 dB and <value>Linear</value> "
    "7.5 dB.</p><p><value>Linear</value> costs the least processing time, <value>Logarithmic</value> the most.</p>",
    "<name>Maximize signal strength to 0dB</name> raises the resulting signal level so that the transfer shape "
    "reaches 0 dB. The output reaches it only approximately, best with minimal attack and release.",
    "<name>Link channels</name> defines how channels share their level. <value>0%</value> lets each channel follow "
    "only its own level, <value>100%</value> drives all channels by the level of all channels equally, so the "
    "same gain is applied to each.",
    // Dynamic detection
    "<name>Dynamic detection panel</name> contains parameters defining how the plug-in determines level of the "
    "source signal.",
    "<name>Attack</name> defines how quickly the measured level may rise. <p>A compressor usually needs a few "
    "milliseconds to keep transients, a limiter as little as possible.</p>",
    "<name>Release</name> defines how quickly the measured level may fall. <p>Short times follow the signal closely "
    "but may distort low frequencies, long times give a smooth, steady compression.</p>",
    "<name>Release mode</name> defines how the release time is chosen. <p><value>Manual</value> uses only the "
    "release time. <value>Automatic</value> and <value>Automatic fast</value> raise the release time while the "
    "level is above the threshold and lower it otherwise, at a speed set by <reference>Auto speed</reference>; "
    "<value>Automatic fast</value> at full speed at once, <value>Automatic</value> in proportion to the level. "
    "<value>Linear 1</value> and <value>Linear 2</value> raise the release time from the attack time towards the "
    "release time as the level rises above the threshold. <value>Opto</value> lowers it from the release time as "
    "the level rises.</p>",
    "<name>Auto speed</name> defines how quickly the automatic release modes change the release time. It is "
    "relevant only in the automatic release modes.",
    "<name>Peak hold</name> defines the time that signal level holds its maximum. It can be used to improve "
    "gating.",
    "<name>RMS length</name> defines the time to reach about 36% of the initial intensity when receiving silence. "
    "The minimum makes the detector a peak detector.",
    "",
    "<name>Look-ahead</name> lets the detector see the signal before it arrives at the output, so the gain can "
    "react in time. The price is latency of the same length.",
    // Gate
    "<name>Gate panel</name> contains parameters for the noise-gate.",
    "<name>Threshold</name> defines maximal signal level, when the effect is applied.",
    "<name>Size</name> defines size of the interval between the gate threshold and point when the output signal "
    "level reaches zero.",
    "<name>Knee</name> defines size of the smoothing knee.",
    "<name>Bottom</name> defines the level reached when the gate is fully closed, normally "
    "<value>silence</value>.",
    // Processor 1
    "<name>Processor 1 panel</name> contains parameters of the primary processor, which works as a compressor or "
    "an expander.",
    "<name>Threshold</name> determines minimal signal level, when the effect is applied.",
    "<name>Ratio</name> defines compression ratio of input signal above threshold.",
    "<name>Knee size</name> defines size of the knee.",
    "<name>Range</name> defines size of the interval above the threshold after which the original signal ratio "
    "is restored.",
    // Processor 2
    "<name>Processor 2 panel</name> contains parameters of the secondary processor, which works as a compressor "
    "or an expander.",
    "<name>Threshold</name> determines minimal signal level, when the effect is applied.",
    "<name>Ratio</name> defines compression ratio of input signal above threshold.",
    "<name>Knee size</name> defines size of the knee.",
    "<name>Range</name> defines size of the interval above the threshold after which the original signal ratio "
    "is restored.",
    "<name>Side-chain</name> selects what the detector listens to: the plug-in's own input (Internal) or the "
    "side-chain input (External). Without a connected side-chain the detector listens to the input.",
};

}  // namespace

const char* TandrelHelpText(int32_t slot) noexcept {
    return slot >= 0 && slot < kTandrelSlotCount ? kHelpTexts[slot] : "";
}
