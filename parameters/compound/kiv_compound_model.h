#pragma once
#include "base/kiv_object.h"

class KivCompoundChangeHandler;

// What the host face of a compound parameter needs of every compound object: the objects
// themselves (curves, generators) are built elsewhere and implement the kind's interface.
class KivCompoundModel : public KivObject {
public:
    virtual void AddChangeHandler(KivCompoundChangeHandler& handler) = 0;
    virtual void RemoveChangeHandler(KivCompoundChangeHandler& handler) = 0;
};
