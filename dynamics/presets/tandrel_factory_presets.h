#pragma once

// TandrelMini's factory presets: an XML document in the form KivFactoryPresets reads (folders
// of presets in the open settings form, completed from a "Common" item). Built into the
// plug-in; the preset library shows them in its read-only "Factory" folder.
const char* TandrelFactoryPresetDocument();
