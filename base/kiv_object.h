#pragma once

// Root of the framework's class tree: its one virtual operation is the destructor,
// so that any framework object can be owned and destroyed through a KivObject pointer.
class KivObject {
public:
    virtual ~KivObject() = default;
};
