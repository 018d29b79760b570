#pragma once

#include "plugin/kiv_audio_plugin.h"
#include "plugin/kiv_editor_snapshot.h"

class KivAudioEffectPlugin;

// What one plug-in library ships: its effect and the names hosts see. The entry code is the
// same for every library built from it; each library links exactly one definition of
// KivShippedProduct (TandrelMini's is in entry/product, test and benchmark libraries bring
// their own), so a stand-in effect never ends up inside the product.
struct KivProduct {
    const char* pluginName;
    const char* vendor;
    // Default settings are kept per family.
    const char* familyName;
    // `TandrelAudioEffectPluginInterface` calls it for a message sent without an object.
    KivAudioEffectPlugin* (*createEffect)();
    // Builds the product's editor for an instance; null: the plug-in has no editor.
    KivAudioPlugin::EditorFactory createEditor;
    // Paints that editor without a screen, for offline tools; null: no pictures.
    KivEditorSnapshot::Factory snapshotEditor;
    // The product's version ("7.0.0"), the same in its packages and its bundle description.
    const char* version;
    // The product's factory presets (see KivFactoryPresets); null: none. The VST 2.4 host's
    // program list offers them after program 0.
    const char* (*factoryPresets)();
};

const KivProduct& KivShippedProduct();
