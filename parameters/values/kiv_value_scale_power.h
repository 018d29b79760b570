#pragma once
#include <cmath>

#include "parameters/values/kiv_value.h"

// Wraps another value and bends only its position: the control's travel is the Power-th root
// of the inner position, which gives small values more room (a fourth-power time knob).
// Everything else is the inner value's; the wrapper does not own it.
template <int Power>
class KivValueScalePower : public KivValue {
    static_assert(Power >= 2, "a power below 2 would not bend the scale");

public:
    explicit KivValueScalePower(KivValue& inner) : inner_(inner) {}

    KivString GetText() const override { return inner_.GetText(); }
    void SetText(const KivString& text) override {
        inner_.SetText(text);
        Mirror();
    }
    bool Reset() override { return Mirrored(inner_.Reset()); }
    void Store(KivXMLItem& settings, const KivString& name) const override { inner_.Store(settings, name); }
    void Load(const KivXMLItem& settings, const KivString& name) override {
        inner_.Load(settings, name);
        Mirror();
    }
    void LoadDefinition(const KivXMLItem& definition) override { inner_.LoadDefinition(definition); }
    KivString GetDisplayText() const override { return customText_ ? customText_(*this) : inner_.GetDisplayText(); }
    KivString FormatValue() const override { return inner_.FormatValue(); }
    KivString GetDisplayTextFrom01(double position) const override { return inner_.GetDisplayTextFrom01(position); }
    bool SetDisplayText(const KivString& text) override {
        return customParse_ ? KivValue::SetDisplayText(text) : Mirrored(inner_.SetDisplayText(text));
    }
    bool ParseDisplayText(const KivString& text) override { return Mirrored(inner_.ParseDisplayText(text)); }
    void Validate() override {
        inner_.Validate();
        Mirror();
    }
    void StepAccelerated(int32_t count, int32_t level) override {
        inner_.StepAccelerated(count, level);
        Mirror();
    }
    void Step(int32_t count) override {
        inner_.Step(count);
        Mirror();
    }
    double Get01() const override { return Root(inner_.Get01()); }
    void Set01(double position) override {
        inner_.Set01(Raise(position));
        Mirror();
    }
    int32_t GetStepCount() const override { return inner_.GetStepCount(); }
    KivString GetStepText(int32_t step) const override { return inner_.GetStepText(step); }
    void SetStep(int32_t step) override {
        inner_.SetStep(step);
        Mirror();
    }

    KivValue& GetInner() const noexcept { return inner_; }

private:
    static double Raise(double position) noexcept {
        double result = 1.0;
        for (int i = 0; i < Power; ++i) result *= position;
        return result;
    }
    static double Root(double position) noexcept {
        if constexpr (Power == 2) return std::sqrt(position);
        else return std::pow(position, 1.0 / Power);
    }
    // The wrapper reports the inner value's changes as its own.
    void Mirror() noexcept {
        if (inner_.IsChanged()) MarkChanged();
    }
    bool Mirrored(bool result) noexcept {
        Mirror();
        return result;
    }

    KivValue& inner_;
};

// A square-root travel.
class KivValueScaleSqr : public KivValueScalePower<2> {
public:
    using KivValueScalePower<2>::KivValueScalePower;
};
