#pragma once

// Receives the change events of a compound object (an ADSR, an envelope, a signal generator)
// when it is edited in its own editor.
class KivCompoundChangeHandler {
public:
    virtual ~KivCompoundChangeHandler() = default;
    virtual void OnCompoundChanged() = 0;
};
