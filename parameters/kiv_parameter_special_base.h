#pragma once
#include "parameters/kiv_parameter_special_main_base.h"

// A compound face that knows its object's model interface.
template <typename Model>
class ParameterSpecialBase : public ParameterSpecialMainBase {
public:
    using ModelType = Model;

    ParameterSpecialBase(uint32_t count, KivParameterCoreLink* core, KivParameterEffectLink* effect, Model& object,
                         KivParameterEditorLink editorLink, const KivString& prefix, const KivString& name,
                         const KivString& qualifier)
        : ParameterSpecialMainBase(count, core, effect, object, editorLink, prefix, name, qualifier) {}

protected:
    Model& Object() const noexcept { return static_cast<Model&>(*object_); }
};
