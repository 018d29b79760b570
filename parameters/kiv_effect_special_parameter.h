#pragma once
#include <cstdint>

#include "base/kiv_string.h"
#include "parameters/kiv_parameter_view.h"

class KivObject;

// The kinds of compound parameter an effect may declare.
enum KivSpecialParameterKind : uint32_t {
    kKivSpecialSignalGenerator = 0,
    kKivSpecialADSR = 1,
    kKivSpecialEnvelope = 2,
    kKivSpecialEnvelopeGraph = 3,
    kKivSpecialSuppliedParameter = 4  // `object` is a ready KivAutomationAdapter the effect owns
};

// The declaration of one compound parameter, after the simple records in host numbering.
struct KivEffectSpecialParameter {
    uint32_t kind = kKivSpecialSignalGenerator;
    KivString name;
    KivString qualifier2;
    KivString qualifier1;
    // The compound object (implementing the kind's model interface) or, for kind 4, the
    // parameter object.
    KivObject* object = nullptr;
    KivParameterEditorLink editor = nullptr;
    double startValue = 0.0;  // the envelope's spare value
    uint32_t tag = 0;
};
