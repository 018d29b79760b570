#pragma once
#include <memory>

#include "gui/core/kiv_control_content.h"
#include "gui/loader/kiv_value_holder.h"

// What the GUI loader builds for a value control element whose own control class the toolkit
// does not offer yet: a captioned control that keeps the value bound to it.
class KivLoadedValueControl : public KivControlContent, public KivValueHolder {
public:
    void BindValue(std::unique_ptr<KivValue> value) override { value_ = std::move(value); }
    KivValue* GetValue() const { return value_.get(); }

private:
    std::unique_ptr<KivValue> value_;
};
