#include "dynamics/presets/tandrel_factory_presets.h"

// The factory presets. Values are stored values, as a state holds them: thresholds as
// v = 10^(dB / 40) (the threshold display shows 20 log10(v^2)), times in seconds, ratios as
// the ratio (20 is Infinity), dry/wet as a fraction. Each preset says in its comment what it
// does; tests/entry/tandrel_mini_factory_presets_test.cpp renders every one and checks it.
const char* TandrelFactoryPresetDocument() {
    return R"xml(<FactoryPresets>
  <!-- Every setting a factory preset changes, at its value in a new instance. -->
  <Common
      parametergain="0"
      parameteroutputgain="0"
      parametersubgain="0"
      parameterdepth="1"
      parametershapemodeEnum="Squared"
      parametermaximize="0"
      parameterlinkchannels="1"
      parameterattack="0.01"
      parameterrelease="0.1"
      parameterreleasemodeEnum="Manual"
      parameterspeed="1"
      parameterpeakhold="0"
      parameterrmslength="0.001"
      parameterlookahead="0"
      parameterGate="0"
      parametergatethreshold="0.2"
      parametergatesize="6"
      parametergateknee="0.25"
      parametergatebottom="0"
      parameterProcessor1="1"
      parameterthreshold1="0.5"
      parameterratio1="1"
      parameterkneesize1="0.25"
      parameterrange1="96"
      parameterProcessor2="0"
      parameterthreshold2="0.25"
      parameterratio2="1"
      parameterkneesize2="0.25"
      parameterrange2="96"
      DoNotLimitAbove0dB="0"
      EnabledCustomShape="0"
      Expander1="0"
      Expander2="0"
      AttackMode="Fast"
      ReleaseMode="Fast"
      LinkChannels="1"
      EnabledSideChain="0"
      SideChainMinF="20"
      SideChainMaxF="20000"
      SideChainEqEnabled="0"
      SideChainPlay="0"
      >
    <SideChainEq>
      <Band0 Frequency="100" Gain="0" Q="0.707"/>
      <Band1 Frequency="300" Gain="0" Q="1"/>
      <Band2 Frequency="1000" Gain="0" Q="1"/>
      <Band3 Frequency="3000" Gain="0" Q="1"/>
      <Band4 Frequency="6000" Gain="0" Q="1"/>
      <Band5 Frequency="10000" Gain="0" Q="0.707"/>
    </SideChainEq>
  </Common>
  <Directory name="Vocals">
    <!-- 3:1 above -26 dB, 5 ms attack, automatic release around 150 ms, +4 dB make-up -->
    <preset name="Vocal levelling"
        parametershapemodeEnum="Logarithmic"
        parameterthreshold1="0.223872"
        parameterratio1="3"
        parameterkneesize1="0.5"
        parameterattack="0.005"
        parameterrelease="0.15"
        parameterrmslength="0.01"
        parameterreleasemodeEnum="Automatic"
        parameteroutputgain="4"
        />
    <!-- 5:1 above -22 dB, fast (2 ms attack, 60 ms release), +4 dB make-up -->
    <preset name="Vocal upfront"
        parametershapemodeEnum="Logarithmic"
        parameterthreshold1="0.281838"
        parameterratio1="5"
        parameterkneesize1="0.3"
        parameterattack="0.002"
        parameterrelease="0.06"
        parameterrmslength="0.003"
        parameteroutputgain="4"
        />
    <!-- 2.5:1 above -24 dB, opto-like release from 400 ms, +2 dB make-up -->
    <preset name="Vocal gentle opto"
        parametershapemodeEnum="Logarithmic"
        parameterthreshold1="0.251189"
        parameterratio1="2.5"
        parameterkneesize1="0.6"
        parameterattack="0.01"
        parameterrelease="0.4"
        parameterrmslength="0.01"
        parameterreleasemodeEnum="Opto"
        parameteroutputgain="2"
        />
    <!-- 6:1 above -40 dB on what the detector hears above 5 kHz (side-chain high-pass, 6 kHz band +6 dB) -->
    <preset name="De-esser"
        parametershapemodeEnum="Logarithmic"
        parameterthreshold1="0.1"
        parameterratio1="6"
        parameterkneesize1="0.2"
        parameterattack="0.0005"
        parameterrelease="0.03"
        parameterrmslength="0.0005"
        EnabledSideChain="1"
        SideChainMinF="5000"
        SideChainEqEnabled="1"
        >
      <SideChainEq>
        <Band0 Frequency="100" Gain="0" Q="0.707"/>
        <Band1 Frequency="300" Gain="0" Q="1"/>
        <Band2 Frequency="1000" Gain="0" Q="1"/>
        <Band3 Frequency="3000" Gain="0" Q="1"/>
        <Band4 Frequency="6000" Gain="6" Q="1"/>
        <Band5 Frequency="10000" Gain="0" Q="0.707"/>
      </SideChainEq>
    </preset>
  </Directory>
  <Directory name="Mix bus">
    <!-- 2:1 above -20 dB, wide knee, 30 ms attack, automatic release around 200 ms -->
    <preset name="Mix bus glue"
        parametershapemodeEnum="Logarithmic"
        parameterthreshold1="0.316228"
        parameterratio1="2"
        parameterkneesize1="0.8"
        parameterattack="0.03"
        parameterrelease="0.2"
        parameterrmslength="0.01"
        parameterreleasemodeEnum="Automatic"
        />
    <!-- 1.5:1 above -21 dB, 50 ms attack, 500 ms release -->
    <preset name="Mix bus glue slow"
        parametershapemodeEnum="Logarithmic"
        parameterthreshold1="0.298538"
        parameterratio1="1.5"
        parameterkneesize1="1"
        parameterattack="0.05"
        parameterrelease="0.5"
        parameterrmslength="0.03"
        />
    <!-- 8:1 above -36 dB, fast, mixed 50% with the dry signal, +3 dB make-up -->
    <preset name="Parallel compression"
        parametershapemodeEnum="Logarithmic"
        parameterthreshold1="0.125893"
        parameterratio1="8"
        parameterkneesize1="0.2"
        parameterattack="0.001"
        parameterrelease="0.08"
        parameterdepth="0.5"
        parameteroutputgain="3"
        />
  </Directory>
  <Directory name="Drums">
    <!-- 4:1 above -22 dB, 20 ms attack lets the hits through, 80 ms release, +2 dB make-up -->
    <preset name="Drum bus punch"
        parametershapemodeEnum="Logarithmic"
        parameterthreshold1="0.281838"
        parameterratio1="4"
        parameterkneesize1="0.3"
        parameterattack="0.02"
        parameterrelease="0.08"
        parameterrmslength="0.001"
        parameteroutputgain="2"
        />
    <!-- 12:1 above -40 dB, very fast, mixed 35% with the dry signal -->
    <preset name="Drum smash parallel"
        parametershapemodeEnum="Logarithmic"
        parameterthreshold1="0.1"
        parameterratio1="12"
        parameterkneesize1="0"
        parameterattack="0.0005"
        parameterrelease="0.05"
        parameterrmslength="0.001"
        parameterdepth="0.35"
        parameteroutputgain="2"
        />
    <!-- 6:1 above -14 dB on peaks, 0.2 ms attack, 40 ms release -->
    <preset name="Transient tamer"
        parametershapemodeEnum="Logarithmic"
        parameterthreshold1="0.446684"
        parameterratio1="6"
        parameterkneesize1="0.1"
        parameterattack="0.0002"
        parameterrelease="0.04"
        parameterrmslength="0"
        />
    <!-- 4:1 above -24 dB, 15 ms attack, release rising towards 250 ms with the level (Linear 1) -->
    <preset name="Bass levelling"
        parametershapemodeEnum="Logarithmic"
        parameterthreshold1="0.251189"
        parameterratio1="4"
        parameterkneesize1="0.4"
        parameterattack="0.015"
        parameterrelease="0.25"
        parameterrmslength="0.02"
        parameterreleasemodeEnum="Linear 1"
        />
  </Directory>
  <Directory name="Mastering">
    <!-- 1.5:1 above -17 dB, widest knee, 30 ms attack, fast automatic release around 300 ms -->
    <preset name="Mastering gentle"
        parametershapemodeEnum="Logarithmic"
        parameterthreshold1="0.375837"
        parameterratio1="1.5"
        parameterkneesize1="1"
        parameterattack="0.03"
        parameterrelease="0.3"
        parameterrmslength="0.02"
        parameterreleasemodeEnum="Automatic fast"
        />
    <!-- 2.5:1 above -18 dB, then a limiter at -5 dB, +1 dB make-up -->
    <preset name="Mastering loud"
        parametershapemodeEnum="Logarithmic"
        parameterthreshold1="0.354813"
        parameterratio1="2.5"
        parameterkneesize1="0.4"
        parameterattack="0.02"
        parameterrelease="0.2"
        parameterrmslength="0.01"
        parameterProcessor2="1"
        parameterthreshold2="0.749894"
        parameterratio2="20"
        parameterkneesize2="0"
        parameteroutputgain="1"
        />
    <!-- limits the peaks at -6 dB (Infinity:1, peak detection), no attack, 50 ms release -->
    <preset name="Brick-wall limiter"
        parametershapemodeEnum="Logarithmic"
        parameterlinkchannels="0"
        LinkChannels="0"
        parameterthreshold1="0.707946"
        parameterratio1="20"
        parameterkneesize1="0"
        parameterattack="0"
        parameterrelease="0.05"
        parameterrmslength="0"
        AttackMode="Fastest"
        />
    <!-- +6 dB into a limit at -1 dB (Infinity:1, peak detection), no attack, 80 ms release -->
    <preset name="Loud limiter -1 dB"
        parametershapemodeEnum="Logarithmic"
        parameterlinkchannels="0"
        LinkChannels="0"
        parametergain="6"
        parameterthreshold1="0.944061"
        parameterratio1="20"
        parameterkneesize1="0"
        parameterattack="0"
        parameterrelease="0.08"
        parameterrmslength="0"
        AttackMode="Fastest"
        />
  </Directory>
  <Directory name="Gates and expanders">
    <!-- closes below -45 dB over 12 dB, holds 100 ms, releases in 100 ms -->
    <preset name="Noise gate"
        parametershapemodeEnum="Logarithmic"
        parameterProcessor1="0"
        parameterGate="1"
        parametergatethreshold="0.074989"
        parametergatesize="12"
        parametergateknee="0"
        parameterattack="0.0005"
        parameterrelease="0.1"
        parameterpeakhold="0.1"
        parameterrmslength="0.001"
        />
    <!-- closes below -48 dB over 24 dB, holds 100 ms, 250 ms release -->
    <preset name="Gentle gate"
        parametershapemodeEnum="Logarithmic"
        parameterProcessor1="0"
        parameterGate="1"
        parametergatethreshold="0.063096"
        parametergatesize="24"
        parametergateknee="0"
        parameterattack="0.002"
        parameterrelease="0.25"
        parameterpeakhold="0.1"
        parameterrmslength="0.003"
        />
    <!-- 1:2 expansion below -45 dB, 5 ms attack, 200 ms release -->
    <preset name="Downward expander"
        parametershapemodeEnum="Logarithmic"
        Expander1="1"
        parameterthreshold1="0.074989"
        parameterratio1="2"
        parameterkneesize1="0"
        parameterattack="0.005"
        parameterrelease="0.2"
        parameterrmslength="0.005"
        />
    <!-- 1:1.5 expansion below -48 dB, 10 ms attack, 300 ms release -->
    <preset name="Noise reduction"
        parametershapemodeEnum="Logarithmic"
        Expander1="1"
        parameterthreshold1="0.063096"
        parameterratio1="1.5"
        parameterkneesize1="0"
        parameterattack="0.01"
        parameterrelease="0.3"
        parameterrmslength="0.01"
        />
  </Directory>
  <Directory name="Levelling">
    <!-- 2:1 above -30 dB, widest knee, 50 ms attack, automatic release from 1.5 s -->
    <preset name="Slow levelling auto"
        parametershapemodeEnum="Logarithmic"
        parameterthreshold1="0.177828"
        parameterratio1="2"
        parameterkneesize1="1"
        parameterattack="0.05"
        parameterrelease="1.5"
        parameterrmslength="0.05"
        parameterreleasemodeEnum="Automatic"
        parameterspeed="2"
        />
    <!-- 3:1 above -28 dB, 30 ms attack, opto-like release from 1 s -->
    <preset name="Slow levelling opto"
        parametershapemodeEnum="Logarithmic"
        parameterthreshold1="0.199526"
        parameterratio1="3"
        parameterkneesize1="0.8"
        parameterattack="0.03"
        parameterrelease="1"
        parameterrmslength="0.03"
        parameterreleasemodeEnum="Opto"
        />
  </Directory>
</FactoryPresets>
)xml";
}
