#pragma once

// Names of the product's own settings in its settings element, next to the host parameters.
// Loading and saving go through them in this order.
inline constexpr const char* kTandrelKeyGraph = "graph";
inline constexpr const char* kTandrelKeyDoNotLimitAbove0dB = "DoNotLimitAbove0dB";
inline constexpr const char* kTandrelKeyEnabledCustomShape = "EnabledCustomShape";
inline constexpr const char* kTandrelKeyExpander1 = "Expander1";
inline constexpr const char* kTandrelKeyExpander2 = "Expander2";
inline constexpr const char* kTandrelKeyAttackMode = "AttackMode";
inline constexpr const char* kTandrelKeyReleaseMode = "ReleaseMode";
inline constexpr const char* kTandrelKeyCustomShapes = "CustomShapes";
inline constexpr const char* kTandrelKeyCustomAttackShape = "CustomAttackShape";
inline constexpr const char* kTandrelKeyCustomReleaseShape = "CustomReleaseShape";

// The detector keeps its own settings in the same element.
inline constexpr const char* kTandrelKeyLinkChannels = "LinkChannels";
inline constexpr const char* kTandrelKeySideChainPlay = "SideChainPlay";
inline constexpr const char* kTandrelKeySideChainSecondaryChannel = "SideChainSecondaryChannel";
inline constexpr const char* kTandrelKeyLookAheadDelay = "LookAheadDelay";
inline constexpr const char* kTandrelKeyTrueRMS = "TrueRMS";
inline constexpr const char* kTandrelKeyEnabledSideChain = "EnabledSideChain";
inline constexpr const char* kTandrelKeySideChainHighPass = "SideChainHighPass";
inline constexpr const char* kTandrelKeySideChainLowPass = "SideChainLowPass";
inline constexpr const char* kTandrelKeySideChainMinF = "SideChainMinF";
inline constexpr const char* kTandrelKeySideChainMaxF = "SideChainMaxF";
inline constexpr const char* kTandrelKeySideChainResonance = "SideChainResonance";
inline constexpr const char* kTandrelKeySideChainMaxQ = "SideChainMaxQ";
inline constexpr const char* kTandrelKeyPsychoAcousticPrefiltering = "DynamicsPsychoAcousticPrefiltering";
inline constexpr const char* kTandrelKeyThreePhaseFiltering = "ThreePhaseFiltering";
inline constexpr const char* kTandrelKeySideChainEqEnabled = "SideChainEqEnabled";
inline constexpr const char* kTandrelKeySideChainEq = "SideChainEq";

// A new instance starts with both shapes "Fast"; a stored state without "AttackMode" reads
// "Fast" too, one without "ReleaseMode" reads "Slow".
inline constexpr const char* kTandrelAttackShapeWhenAbsent = "Fast";
inline constexpr const char* kTandrelReleaseShapeWhenAbsent = "Slow";
