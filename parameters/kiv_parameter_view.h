#pragma once

class KivAutomationAdapter;

// An editor view that shows parameters. Parameter objects hold a link to the place where the
// current view is kept (null while the editor is closed), never the view itself, because
// views come and go with the editor.
class KivParameterView {
public:
    virtual ~KivParameterView() = default;
    virtual void RefreshParameterView(KivAutomationAdapter& parameter) = 0;
};

using KivParameterEditorLink = KivParameterView* const*;

inline KivParameterView* KivCurrentView(KivParameterEditorLink link) noexcept { return link ? *link : nullptr; }
