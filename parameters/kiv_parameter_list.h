#pragma once
#include <cstdint>
#include <memory>

#include "base/kiv_list.h"
#include "parameters/kiv_automation_adapter.h"

// The plug-in core's ordered list of parameter objects and the dispatch of host indices to
// them. Host numbering follows the list: each object's first host index is the total of the
// counts before it. Every per-index call finds its object by binary search and runs guarded:
// no exception reaches the host, which gets a neutral result instead.
class KivParameterList {
public:
    KivParameterList() = default;
    KivParameterList(const KivParameterList&) = delete;
    KivParameterList& operator=(const KivParameterList&) = delete;
    ~KivParameterList();

    // The list owns what it is given; objects an effect supplies ready-made stay the effect's.
    void Add(std::unique_ptr<KivAutomationAdapter> object);
    void AddBorrowed(KivAutomationAdapter& object);
    // An object that lives only as long as an editor that registered it; owned.
    void AddTemporary(std::unique_ptr<KivAutomationAdapter> object);
    // Deletes the temporary objects; the others keep their order. Run AssignIndices after it.
    void RemoveTemporary() noexcept;
    void Clear() noexcept;

    // Sets first host indices and the counts; run after registration.
    void AssignIndices();
    uint32_t GetParameterCount() const noexcept { return total_; }
    uint32_t GetVisibleParameterCount() const noexcept { return visible_; }
    bool HasInterpolatedParameters() const noexcept { return hasInterpolated_; }

    int32_t GetObjectCount() const noexcept { return entries_.Count(); }
    KivAutomationAdapter& GetObject(int32_t position) const noexcept { return *entries_[position].object; }
    // The object covering host index `index` (the one with the greatest first index not above
    // it; the first for indices below all); null only when the list is empty.
    KivAutomationAdapter* Find(int32_t index, int32_t& local) const noexcept;

    void SetParameter(int32_t index, double value, bool silent);
    void SetParameterIfChanged(int32_t index, double value, bool silent);
    double GetParameter(int32_t index) const;
    // The core's own name: prefix and section joined with " - ", a blank, then the name.
    KivString GetParameterName(int32_t index) const;
    KivString GetParameterNameWithoutSection(int32_t index) const;
    KivString GetParameterSection(int32_t index) const;
    KivString GetParameterID(int32_t index) const;
    KivString GetParameterValueName(int32_t index) const;
    KivString GetParameterValueNameFrom01(int32_t index, double value) const;
    double ParseParameterValueName(int32_t index, const KivString& text) const;
    KivString GetParameterUnitsName(int32_t index) const;
    bool IsInterpolated(int32_t index) const;
    void SetInterpolating(int32_t index, bool on);
    int32_t GetParameterType(int32_t index) const;
    double GetParameterDefaultValue(int32_t index) const;
    KivString GetParameterHostName(int32_t index) const;
    KivString GetParameterShortLabel(int32_t index) const;
    KivString GetParameterCategory(int32_t index) const;
    int32_t GetParameterStepCount(int32_t index) const;
    KivString GetParameterUnit(int32_t index) const;
    // Randomises every active object.
    void Randomize(double amount);

private:
    struct Entry {
        KivAutomationAdapter* object;
        bool owned;
        bool temporary;
    };

    template <typename Result, typename Call>
    Result Dispatch(const char* qualifiedName, int32_t index, Result neutral, Call call) const noexcept;

    KivList<Entry, 16> entries_;
    uint32_t total_ = 0;
    uint32_t visible_ = 0;
    bool hasInterpolated_ = false;
};
