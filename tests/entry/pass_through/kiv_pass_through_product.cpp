#include "entry/kiv_product.h"
#include "tests/entry/pass_through/kiv_pass_through_effect.h"

namespace {

KivAudioEffectPlugin* CreatePassThroughEffect() { return new KivPassThroughEffect(); }

}  // namespace

const KivProduct& KivShippedProduct() {
    static const KivProduct product{"KivPassThroughPlugin", "Kestrune", "KivPassThrough", &CreatePassThroughEffect,
                                    nullptr, nullptr, "1.0.0", nullptr};
    return product;
}
