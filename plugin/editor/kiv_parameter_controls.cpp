#include "plugin/editor/kiv_parameter_controls.h"

#include <memory>

#include "base/kiv_exception.h"
#include "base/xml/kiv_xml_item.h"
#include "gui/controls/kiv_check_box.h"
#include "gui/controls/kiv_combo_edit.h"
#include "gui/controls/kiv_knob.h"
#include "gui/loader/kiv_xml_loader.h"
#include "gui/loader/kiv_xml_loader_creator.h"
#include "plugin/editor/kiv_parameter_gesture.h"
#include "parameters/kiv_parameter_record_base.h"
#include "plugin/kiv_audio_plugin.h"

namespace {

using KivParameterKnob = KivParameterGesture<KivKnob>;

// A switch: each click is one gesture that flips the parameter.
class KivParameterCheckBox : public KivCheckBox {
public:
    explicit KivParameterCheckBox(std::unique_ptr<KivParameterValue> value) : value_(std::move(value)) {
        SetChecked(value_->Get01() >= 0.5);
        OnClick.AddHandler(this, &KivParameterCheckBox::Clicked);
    }
    void Show(double position) { SetChecked(position >= 0.5); }

private:
    void Clicked(KivOnClickParams&) { value_->Set01(IsChecked() ? 1.0 : 0.0); }

    std::unique_ptr<KivParameterValue> value_;
};

constexpr int32_t kSwitchType = 4;

class ParameterCreator : public KivControl::KivXmlLoader::Creator {
public:
    explicit ParameterCreator(KivParameterControls& controls) : controls_(controls) {}
    KivObject* Create(const KivXMLItem& item, KivControl& parent) const override {
        const KivString name = item.GetAttribute(KivString("name"));
        const int32_t index = controls_.FindIndex(name);
        if (index < 0) throw KivException(KivString("No parameter is called \"") + name + KivString("\"."), 2);
        KivControl& control = controls_.Create(index, parent);
        control.LoadAttributes(item);
        return &control;
    }

private:
    KivParameterControls& controls_;
};

}  // namespace

void KivParameterControls::Register(KivControl::KivXmlLoader& loader) {
    loader.Register(KivString("parameter"), std::make_unique<ParameterCreator>(*this));
}

KivControl& KivParameterControls::Create(int32_t index, KivControl& parent) {
    auto value = std::make_unique<KivParameterValue>(plugin_, index);
    std::unique_ptr<KivControl> control;
    if (plugin_.GetParameterType(index) == kSwitchType) {
        control = std::make_unique<KivParameterCheckBox>(std::move(value));
    } else if (value->GetStepCount() > 1) {
        // A choice in the list is one change and reaches the host as a gesture of its own.
        auto combo = std::make_unique<KivComboEdit>();
        combo->BindValue(std::move(value));
        control = std::move(combo);
    } else {
        auto knob = std::make_unique<KivParameterKnob>();
        knob->BindValue(std::move(value));
        control = std::move(knob);
    }
    control->SetText(plugin_.GetParameterNameWithoutSection(index));
    parent.AddChild(control.get());
    entries_.push_back(Entry{index, control.get(), plugin_.GetParameter(index)});
    return *control.release();
}

// Parameters over declaration records go by the record's identifier ("threshold1"); others
// by the identifier the host sees.
int32_t KivParameterControls::FindIndex(const KivString& identifier) const {
    const int32_t count = plugin_.GetParameterCount();
    for (int32_t index = 0; index < count; ++index) {
        const KivEffectParameter* record = RecordOf(index);
        const KivString name = record ? record->identifier : plugin_.GetParameterID(index);
        if (name.EqualsFolded(identifier)) return index;
    }
    return -1;
}

const KivEffectParameter* KivParameterControls::RecordOf(int32_t index) const {
    int32_t local = 0;
    KivAutomationAdapter* object = plugin_.GetParameters().Find(index, local);
    const auto* recordObject = dynamic_cast<const ParameterRecordBase*>(object);
    return recordObject ? &recordObject->GetRecord() : nullptr;
}

int32_t KivParameterControls::Refresh() {
    int32_t changed = 0;
    for (Entry& entry : entries_) {
        const double position = plugin_.GetParameter(entry.index);
        if (position == entry.shown) continue;
        entry.shown = position;
        ++changed;
        if (auto* box = dynamic_cast<KivParameterCheckBox*>(entry.control)) {
            box->Show(position);
        } else {
            entry.control->Invalidate();
        }
    }
    return changed;
}

KivString KivParameterControls::HelpOf(const KivControl& control) const {
    for (const Entry& entry : entries_) {
        if (entry.control != &control) continue;
        const KivEffectParameter* record = RecordOf(entry.index);
        return record ? record->help : KivString();
    }
    return KivString();
}

KivControl* KivParameterControls::Find(int32_t index) const {
    for (const Entry& entry : entries_) {
        if (entry.index == index) return entry.control;
    }
    return nullptr;
}
