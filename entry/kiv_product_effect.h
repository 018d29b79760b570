#pragma once

class KivAudioEffectPlugin;

// Creates the product's effect algorithm; `TandrelAudioEffectPluginInterface` calls it for a
// message sent without an object. Defined by whichever effect the library ships.
KivAudioEffectPlugin* KivCreateProductEffect();
