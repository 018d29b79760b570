#include "dynamics/editor/tandrel_dynamics_editor.h"
#include "dynamics/presets/tandrel_factory_presets.h"
#include "dynamics/effect/tandrel_audio_effect_plugin.h"
#include "entry/kiv_product.h"
#include "entry/product/kiv_product_version.h"
#include "plugin/editor/kiv_offscreen_editor_snapshot.h"

namespace {

KivAudioEffectPlugin* CreateTandrelEffect() { return new TandrelAudioEffectPlugin(); }

}  // namespace

const KivProduct& KivShippedProduct() {
    static const KivProduct product{"TandrelMini", "Kestrune", "Tandrel", &CreateTandrelEffect,
                                    &TandrelDynamicsEditor::Create, &KivOffscreenEditorSnapshot::Create,
                                    KIV_PRODUCT_VERSION, &TandrelFactoryPresetDocument};
    return product;
}
