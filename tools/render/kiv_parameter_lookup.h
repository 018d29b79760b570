#pragma once
#include <cstdint>
#include <string>

class KivVst2Plugin;

// Finds a plug-in's parameters by the names the host shows and turns display texts into
// host values. Failures raise std::runtime_error naming what was not found.
namespace KivParameterLookup {

// The index whose name ("P1 Threshold") or full name ("Threshold (Processor 1)") equals
// `name`, or the only one that begins with it ("P1 Thr"); case and blanks are ignored.
int32_t FindIndex(KivVst2Plugin& plugin, const std::string& name);
// The full name of the parameter's properties, or its name when the plug-in gives none.
std::string FullName(KivVst2Plugin& plugin, int32_t index);
// The host value (0..1) whose display shows `text` ("-20 dB", "4.00 : 1", "Off"). The plug-in
// is asked effString2Parameter first; otherwise its displays are searched: by the leading
// number for numeric displays (bisection, displays rise or fall monotonically with the
// value), by exact text for the others. Leaves the parameter at the value found.
float ValueForDisplay(KivVst2Plugin& plugin, int32_t index, const std::string& text);

}  // namespace KivParameterLookup
