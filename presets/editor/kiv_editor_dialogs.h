#pragma once
#include <functional>

#include "base/kiv_string.h"

class KivWindow;

// How the preset windows open their modal dialogs: placed over the window they belong to,
// questions asked in the toolkit's message window.
namespace KivEditorDialogs {

// Centres `window` over `parent`, or over the screen's work area without one.
void CentreOver(KivWindow& window, const KivWindow* parent);

// The message markup of the system's texts as the message window shows it: "<p>" starts a
// new line, other tags ("<b>", "</b>") are dropped.
KivString PlainText(const KivString& markup);

// Asks `text` (with markup) in a yes/no message window over `parent`; true for yes.
bool AskYesNo(KivWindow* parent, const KivString& title, const KivString& text);

// Shows `dialog` over `parent` and runs its modal loop; the loop's result. Every dialog of
// the preset windows is run through here.
int32_t RunModal(KivWindow& dialog, const KivWindow* parent);

// Lets every later RunModal call `hook` once its dialog is shown and before its loop starts
// (null: none), so that a test can answer dialogs opened deep inside other windows.
void SetShowHook(std::function<void(KivWindow& dialog)> hook);

}  // namespace KivEditorDialogs
