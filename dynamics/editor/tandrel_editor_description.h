#pragma once

// The GUI descriptions of the product's windows, kept in the library as resources of their
// own next to the built-in resource block (whose layout stays as it is): the main editor
// and the advanced detector settings.
class KivXMLItem;

namespace TandrelEditorDescription {
const char* MainWindow();
const char* AdvancedSettingsWindow();
// Reads one of the descriptions above into `root`.
void Read(const char* description, KivXMLItem& root);
}  // namespace TandrelEditorDescription
