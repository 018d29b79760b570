#include "parameters/kiv_parameter_list.h"

#include "base/kiv_boundary.h"
#include "parameters/kiv_text_join.h"

KivParameterList::~KivParameterList() { Clear(); }

void KivParameterList::Add(std::unique_ptr<KivAutomationAdapter> object) {
    entries_.Reserve(entries_.Count() + 1);
    entries_.Add(Entry{object.release(), true, false});
}

void KivParameterList::AddBorrowed(KivAutomationAdapter& object) { entries_.Add(Entry{&object, false, false}); }

void KivParameterList::AddTemporary(std::unique_ptr<KivAutomationAdapter> object) {
    entries_.Reserve(entries_.Count() + 1);
    entries_.Add(Entry{object.release(), true, true});
}

void KivParameterList::RemoveTemporary() noexcept {
    for (int32_t position = entries_.Count() - 1; position >= 0; --position) {
        if (!entries_[position].temporary) continue;
        delete entries_[position].object;
        entries_.RemoveAt(position);
    }
}

void KivParameterList::Clear() noexcept {
    for (Entry& entry : entries_)
        if (entry.owned) delete entry.object;
    entries_.Clear();
    total_ = visible_ = 0;
    hasInterpolated_ = false;
}

void KivParameterList::AssignIndices() {
    total_ = visible_ = 0;
    hasInterpolated_ = false;
    for (Entry& entry : entries_) {
        KivAutomationAdapter& object = *entry.object;
        object.SetFirstIndex(total_);
        total_ += object.GetCount();
        if (!object.IsHidden()) visible_ += object.GetCount();
        for (int32_t local = 0; local < static_cast<int32_t>(object.GetCount()); ++local)
            if (object.IsInterpolated(local)) hasInterpolated_ = true;
    }
}

KivAutomationAdapter* KivParameterList::Find(int32_t index, int32_t& local) const noexcept {
    if (entries_.IsEmpty()) return nullptr;
    // Greatest first index not above `index`: the first object whose first index lies above it,
    // minus one.
    int32_t low = 0;
    int32_t high = entries_.Count();
    while (low < high) {
        int32_t middle = low + (high - low) / 2;
        if (static_cast<int64_t>(entries_[middle].object->GetFirstIndex()) <= index) low = middle + 1;
        else high = middle;
    }
    KivAutomationAdapter* object = entries_[low > 0 ? low - 1 : 0].object;
    local = index - static_cast<int32_t>(object->GetFirstIndex());
    return object;
}

template <typename Result, typename Call>
Result KivParameterList::Dispatch(const char* qualifiedName, int32_t index, Result neutral, Call call) const noexcept {
    return KivGuard(qualifiedName, neutral, [&]() -> Result {
        int32_t local = 0;
        KivAutomationAdapter* object = Find(index, local);
        return object ? call(*object, local) : neutral;
    });
}

void KivParameterList::SetParameter(int32_t index, double value, bool silent) {
    Dispatch("KivAudioPlugin::SetParameter", index, 0, [&](KivAutomationAdapter& object, int32_t local) {
        object.SetParameter(local, value, silent);
        return 0;
    });
}

void KivParameterList::SetParameterIfChanged(int32_t index, double value, bool silent) {
    Dispatch("KivAudioPlugin::SetParameterIfChanged", index, 0, [&](KivAutomationAdapter& object, int32_t local) {
        object.SetParameterIfChanged(local, value, silent);
        return 0;
    });
}

double KivParameterList::GetParameter(int32_t index) const {
    return Dispatch("KivAudioPlugin::GetParameter", index, 0.0,
                    [](KivAutomationAdapter& object, int32_t local) { return object.GetParameter(local); });
}

KivString KivParameterList::GetParameterName(int32_t index) const {
    return Dispatch("KivAudioPlugin::GetParameterName", index, KivString(),
                    [](KivAutomationAdapter& object, int32_t local) {
                        KivString place = KivJoinNonEmpty(object.GetPrefix(), object.GetParameterSection(local), " - ");
                        KivString name = object.GetParameterName(local);
                        return place.IsEmpty() ? name : place + " " + name;
                    });
}

KivString KivParameterList::GetParameterNameWithoutSection(int32_t index) const {
    return Dispatch("KivAudioPlugin::GetParameterNameWithoutSection", index, KivString(),
                    [](KivAutomationAdapter& object, int32_t local) {
                        return object.GetParameterNameWithoutSection(local);
                    });
}

KivString KivParameterList::GetParameterSection(int32_t index) const {
    return Dispatch("KivAudioPlugin::GetParameterSection", index, KivString(),
                    [](KivAutomationAdapter& object, int32_t local) { return object.GetParameterSection(local); });
}

KivString KivParameterList::GetParameterID(int32_t index) const {
    return Dispatch("KivAudioPlugin::GetParameterID", index, KivString(),
                    [](KivAutomationAdapter& object, int32_t local) { return object.GetParameterID(local); });
}

KivString KivParameterList::GetParameterValueName(int32_t index) const {
    return Dispatch("KivAudioPlugin::GetParameterValueName", index, KivString(),
                    [](KivAutomationAdapter& object, int32_t local) { return object.GetParameterValueName(local); });
}

KivString KivParameterList::GetParameterValueNameFrom01(int32_t index, double value) const {
    return Dispatch("KivAudioPlugin::GetParameterValueNameFrom01", index, KivString(),
                    [&](KivAutomationAdapter& object, int32_t local) {
                        return object.GetParameterValueNameFrom01(local, value);
                    });
}

double KivParameterList::ParseParameterValueName(int32_t index, const KivString& text) const {
    return Dispatch("KivAudioPlugin::ParseParameterValueName", index, 0.0,
                    [&](KivAutomationAdapter& object, int32_t local) {
                        return object.ParseParameterValueName(local, text);
                    });
}

KivString KivParameterList::GetParameterUnitsName(int32_t index) const {
    return Dispatch("KivAudioPlugin::GetParameterUnitsName", index, KivString(),
                    [](KivAutomationAdapter& object, int32_t local) { return object.GetParameterUnitsName(local); });
}

bool KivParameterList::IsInterpolated(int32_t index) const {
    return Dispatch("KivAudioPlugin::IsInterpolated", index, false,
                    [](KivAutomationAdapter& object, int32_t local) { return object.IsInterpolated(local); });
}

void KivParameterList::SetInterpolating(int32_t index, bool on) {
    Dispatch("KivAudioPlugin::SetInterpolating", index, 0, [&](KivAutomationAdapter& object, int32_t local) {
        object.SetInterpolating(local, on);
        return 0;
    });
}

int32_t KivParameterList::GetParameterType(int32_t index) const {
    return Dispatch("KivAudioPlugin::GetParameterType", index, 0,
                    [](KivAutomationAdapter& object, int32_t local) { return object.GetParameterType(local); });
}

double KivParameterList::GetParameterDefaultValue(int32_t index) const {
    return Dispatch("KivAudioPlugin::GetParameterDefaultValue", index, 0.0,
                    [](KivAutomationAdapter& object, int32_t local) {
                        return object.GetParameterDefaultValue(local);
                    });
}

KivString KivParameterList::GetParameterHostName(int32_t index) const {
    return Dispatch("KivAudioPlugin::GetParameterHostName", index, KivString(),
                    [](KivAutomationAdapter& object, int32_t local) { return object.GetParameterHostName(local); });
}

KivString KivParameterList::GetParameterShortLabel(int32_t index) const {
    return Dispatch("KivAudioPlugin::GetParameterShortLabel", index, KivString(),
                    [](KivAutomationAdapter& object, int32_t local) { return object.GetParameterShortLabel(local); });
}

KivString KivParameterList::GetParameterCategory(int32_t index) const {
    return Dispatch("KivAudioPlugin::GetParameterCategory", index, KivString(),
                    [](KivAutomationAdapter& object, int32_t local) { return object.GetParameterCategory(local); });
}

int32_t KivParameterList::GetParameterStepCount(int32_t index) const {
    return Dispatch("KivAudioPlugin::GetParameterStepCount", index, 0,
                    [](KivAutomationAdapter& object, int32_t local) { return object.GetParameterStepCount(local); });
}

KivString KivParameterList::GetParameterUnit(int32_t index) const {
    return Dispatch("KivAudioPlugin::GetParameterUnit", index, KivString(),
                    [](KivAutomationAdapter& object, int32_t local) { return object.GetParameterUnit(local); });
}

void KivParameterList::Randomize(double amount) {
    for (Entry& entry : entries_) {
        KivAutomationAdapter& object = *entry.object;
        if (object.IsActive())
            KivGuard("KivAudioPlugin::AutomationAdapter::Randomize", [&] { object.Randomize(amount); });
    }
}
