#pragma once
#include <cstdint>
#include <vector>

#include "parameters/values/kiv_value.h"

class KivAudioPlugin;

// A control's value bound to one host parameter of the plug-in: position, texts and parsing
// are the parameter's own. Changes go to the host as automation. Between BeginGesture and
// EndGesture (a drag, a wheel notch) the host sees one begin-edit before the first change and
// one end-edit after the gesture; a change outside a gesture is a gesture of its own.
class KivParameterValue : public KivValue {
public:
    KivParameterValue(KivAudioPlugin& plugin, int32_t index);

    KivString GetText() const override;
    void SetText(const KivString& text) override;
    bool Reset() override;
    void Store(KivXMLItem&, const KivString&) const override {}
    void Load(const KivXMLItem&, const KivString&) override {}
    void LoadDefinition(const KivXMLItem&) override {}
    KivString FormatValue() const override { return GetText(); }
    KivString GetDisplayTextFrom01(double position) const override;
    bool ParseDisplayText(const KivString& text) override;
    void Validate() override {}
    void StepAccelerated(int32_t count, int32_t level) override;
    void Step(int32_t count) override;
    double Get01() const override;
    void Set01(double position) override;
    int32_t GetStepCount() const override { return static_cast<int32_t>(items_.size()); }
    KivString GetStepText(int32_t step) const override;

    void BeginGesture();
    void EndGesture();
    int32_t GetIndex() const { return index_; }
    // The items of an enumeration or a switch, in order; empty for continuous parameters.
    const std::vector<KivString>& GetItems() const { return items_; }

    // The parameter's items as the host sees them: the runs of equal display text over its
    // range (the host interface knows texts, not item counts).
    static std::vector<KivString> ReadItems(KivAudioPlugin& plugin, int32_t index);

private:
    KivAudioPlugin& plugin_;
    int32_t index_;
    std::vector<KivString> items_;
    bool inGesture_ = false;
    bool editBegun_ = false;
};
