#pragma once
#include <cstdint>

#include "base/kiv_object.h"
#include "base/kiv_string.h"

class KivXMLItem;

// Binds one program variable to a control: range, steps, default, position in 0..1, display
// text and parsing, and its form in GUI descriptions and settings items. A value never owns
// its variable; whoever binds the variable creates the value and outlives it.
//
// The virtual operations keep their order (the GUI toolkit relies on it). Every operation
// that writes the variable sets the changed flag and ends with Validate, which is also the
// change notification that derived classes hook into.
class KivValue : public KivObject {
public:
    // Replace the class's own display text and display parsing when given.
    using TextFunction = KivString (*)(const KivValue& value);
    using ParseFunction = bool (*)(KivValue& value, const KivString& text);

    ~KivValue() override = default;

    virtual KivString GetText() const = 0;
    virtual void SetText(const KivString& text) = 0;
    // Answers whether the variable changed.
    virtual bool Reset() = 0;
    virtual void Store(KivXMLItem& settings, const KivString& name) const = 0;
    virtual void Load(const KivXMLItem& settings, const KivString& name) = 0;
    virtual void LoadDefinition(const KivXMLItem& definition) = 0;
    virtual KivString GetDisplayText() const;
    virtual KivString FormatValue() const = 0;
    // The toolkit shares display texts by reference count; a KivString already is such a
    // shared text, so the item is the display text itself.
    virtual KivString GetDisplayTextItem() const;
    virtual KivString GetDisplayTextFrom01(double position) const = 0;
    virtual bool SetDisplayText(const KivString& text);
    // Answers whether the variable changed.
    virtual bool ParseDisplayText(const KivString& text) = 0;
    virtual void Validate() = 0;
    virtual void StepAccelerated(int32_t count, int32_t level) = 0;
    virtual void Step(int32_t count) = 0;
    virtual double Get01() const = 0;
    virtual void Set01(double position) = 0;
    virtual int32_t GetStepCount() const = 0;
    virtual KivString GetStepText(int32_t step) const;
    // Reserved for the toolkit; no value class answers anything.
    virtual void* GetToolkitData() const { return nullptr; }
    virtual void SetStep(int32_t step);

    const KivString& GetIdentifier() const noexcept { return identifier_; }
    void SetIdentifier(const KivString& identifier) { identifier_ = identifier; }
    void SetCustomText(TextFunction text) noexcept { customText_ = text; }
    void SetCustomParse(ParseFunction parse) noexcept { customParse_ = parse; }

    bool IsChanged() const noexcept { return changed_ != 0; }
    // Reads and clears the changed flag: the reader acknowledges the change.
    bool TakeChanged() noexcept {
        bool changed = changed_ != 0;
        changed_ = 0;
        return changed;
    }

protected:
    void MarkChanged() noexcept { changed_ = 1; }
    // The position of step `step` among GetStepCount() evenly spread steps.
    double StepPosition(int32_t step) const;

    KivString identifier_;
    TextFunction customText_ = nullptr;
    ParseFunction customParse_ = nullptr;

private:
    uint8_t changed_ = 0;
};
