#include "parameters/values/kiv_value_items.h"

#include <algorithm>

#include "base/kiv_number.h"
#include "base/xml/kiv_xml_item.h"

KivString KivValueItems::GetText() const { return KivNumber::IntegerToText(GetIndex()); }

void KivValueItems::SetText(const KivString& text) {
    SetIndex(static_cast<int32_t>(KivNumber::TextToInteger(text.Trimmed())));
}

void KivValueItems::SetIndex(int32_t index) {
    StoreIndex(index);
    MarkChanged();
    Validate();
}

bool KivValueItems::Reset() {
    int32_t old = GetIndex();
    SetIndex(defaultIndex_);
    return GetIndex() != old;
}

void KivValueItems::Store(KivXMLItem& settings, const KivString& name) const {
    settings.SetAttribute(name, KivNumber::IntegerToText(GetIndex()));
}

void KivValueItems::Load(const KivXMLItem& settings, const KivString& name) {
    if (settings.HasAttribute(name)) SetText(settings.GetAttribute());
    else Reset();
}

void KivValueItems::LoadDefinition(const KivXMLItem& definition) {
    if (definition.HasAttribute("id")) identifier_ = definition.GetAttribute();
    if (definition.HasAttribute("default")) {
        // Descriptions name the default item either by its text or by its number.
        const KivString& text = definition.GetAttribute();
        int32_t named = FindItem(text);
        defaultIndex_ = named >= 0 ? named : static_cast<int32_t>(KivNumber::TextToInteger(text.Trimmed()));
    }
}

KivString KivValueItems::FormatValue() const {
    int32_t index = GetIndex();
    return index >= 0 && index < GetItemCount() ? GetItemText(index) : KivString();
}

int32_t KivValueItems::IndexAt(double position) const {
    int32_t last = GetItemCount() - 1;
    if (last <= 0) return 0;
    return std::clamp(static_cast<int32_t>(last * position + 0.5), 0, last);
}

KivString KivValueItems::GetDisplayTextFrom01(double position) const {
    return GetItemCount() > 0 ? GetItemText(IndexAt(position)) : KivString();
}

int32_t KivValueItems::FindItem(const KivString& text) const {
    for (int32_t index = 0; index < GetItemCount(); ++index)
        if (GetItemText(index).EqualsFolded(text)) return index;
    return -1;
}

bool KivValueItems::ParseDisplayText(const KivString& text) {
    int32_t old = GetIndex();
    SetIndex(std::max(FindItem(text), 0));
    return GetIndex() != old;
}

void KivValueItems::Validate() {
    int32_t index = GetIndex();
    int32_t limited = std::clamp(index, 0, std::max(GetItemCount() - 1, 0));
    if (limited != index) {
        StoreIndex(limited);
        MarkChanged();
    }
}

// Acceleration means nothing among a handful of items: every step moves one item.
void KivValueItems::StepAccelerated(int32_t count, int32_t) { Step(count); }

void KivValueItems::Step(int32_t count) { SetIndex(GetIndex() + count); }

double KivValueItems::Get01() const {
    int32_t last = GetItemCount() - 1;
    return last > 0 ? static_cast<double>(GetIndex()) / last : 0.0;
}

void KivValueItems::Set01(double position) { SetIndex(IndexAt(position)); }

int32_t KivValueItems::GetStepCount() const { return GetItemCount(); }
