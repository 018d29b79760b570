#include "presets/editor/kiv_editor_dialogs.h"

#include <utility>

#include "gui/controls/kiv_message_window.h"
#include "gui/core/kiv_window.h"
#include "gui/core/kiv_window_placement.h"
#include "gui/core/kiv_windows.h"
#include "platform/kiv_library_static.h"

namespace {

std::function<void(KivWindow&)>& ShowHook() {
    static KivPlatform::LibraryStatic<std::function<void(KivWindow&)>> hook;
    return *hook;
}

}  // namespace

namespace KivEditorDialogs {

void CentreOver(KivWindow& window, const KivWindow* parent) { KivCentreWindowOver(window, parent); }

KivString PlainText(const KivString& markup) {
    KivString text;
    for (int32_t at = 0; at < markup.Length();) {
        const int32_t end = markup[at] == u'<' ? markup.Find(u'>', at) : -1;
        if (end < 0) {
            text += markup[at++];
            continue;
        }
        if (markup.Substring(at, end - at + 1).EqualsFolded(KivString("<p>"))) text += u'\n';
        at = end + 1;
    }
    return text;
}

int32_t RunModal(KivWindow& dialog, const KivWindow* parent) {
    CentreOver(dialog, parent);
    dialog.Show();
    if (ShowHook()) ShowHook()(dialog);
    return dialog.RunModal();
}

bool AskYesNo(KivWindow* parent, const KivString& title, const KivString& text) {
    KivMessageWindow window(title, PlainText(text), KivMessageButtons::kYesNo);
    CentreOver(window, parent);
    window.Show();
    if (ShowHook()) ShowHook()(window);
    return window.Run(parent) == KivModalValue::kYes;
}

void SetShowHook(std::function<void(KivWindow&)> hook) { ShowHook() = std::move(hook); }

}  // namespace KivEditorDialogs
