#pragma once
#include <cstdint>

#include "parameters/values/kiv_value.h"

// A choice of one item among n, shown by the item's text. The positions are index / (n - 1);
// a position picks the nearest item, halves up, so that in a three-item list 0.24 is item 0
// and 0.26 item 1. Typed text selects the first item equal to it ignoring case and accents,
// item 0 when none is.
class KivValueItems : public KivValue {
public:
    KivString GetText() const override;
    void SetText(const KivString& text) override;
    bool Reset() override;
    void Store(KivXMLItem& settings, const KivString& name) const override;
    void Load(const KivXMLItem& settings, const KivString& name) override;
    void LoadDefinition(const KivXMLItem& definition) override;
    KivString FormatValue() const override;
    KivString GetDisplayTextFrom01(double position) const override;
    bool ParseDisplayText(const KivString& text) override;
    void Validate() override;
    void StepAccelerated(int32_t count, int32_t level) override;
    void Step(int32_t count) override;
    double Get01() const override;
    void Set01(double position) override;
    int32_t GetStepCount() const override;

    virtual int32_t GetItemCount() const = 0;
    virtual KivString GetItemText(int32_t index) const = 0;
    virtual int32_t GetIndex() const = 0;
    // Writes, marks changed and validates.
    void SetIndex(int32_t index);
    int32_t GetDefaultIndex() const noexcept { return defaultIndex_; }
    void SetDefaultIndex(int32_t index) noexcept { defaultIndex_ = index; }

protected:
    virtual void StoreIndex(int32_t index) = 0;
    int32_t IndexAt(double position) const;
    // The index of the item named by `text`, or -1.
    int32_t FindItem(const KivString& text) const;

private:
    int32_t defaultIndex_ = 0;
};
