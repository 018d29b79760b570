#pragma once

class KivAutomationAdapter;

// What a parameter object needs of the plug-in core that owns it. The core implements it.
class KivParameterCoreLink {
public:
    virtual ~KivParameterCoreLink() = default;
    // Marks the editor view of `parameter` for refresh.
    virtual void NeedUpdateEditor(KivAutomationAdapter& parameter) = 0;
    // Reports every host parameter that `parameter` covers to the host as automation; used
    // when a compound object was edited in its own editor.
    virtual void SendAllAutomation(KivAutomationAdapter& parameter) = 0;
};
