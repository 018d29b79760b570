#include "plugin/kiv_edit_history.h"

#include <algorithm>
#include <cstring>

#include "base/stream/kiv_memory_stream.h"
#include "base/xml/kiv_xml_item.h"
#include "plugin/kiv_kestrune_audio_effect_plugin.h"
#include "plugin/state/kiv_settings_item_copy.h"

namespace {

bool SameDocument(const KivXMLItem& a, const KivXMLItem& b) {
    KivMemoryStream first;
    KivMemoryStream second;
    a.Save(first, KivString("utf-8"));
    b.Save(second, KivString("utf-8"));
    return first.GetLength() == second.GetLength() &&
           std::memcmp(first.GetData(), second.GetData(), static_cast<size_t>(first.GetLength())) == 0;
}

}  // namespace

KivEditHistory::KivEditHistory(KivKestruneAudioEffectPlugin& plugin) : plugin_(plugin) {}
KivEditHistory::~KivEditHistory() = default;

double KivEditHistory::Read(int32_t index) const {
    if (index == kBypass) return plugin_.IsBypassed() ? 1.0 : 0.0;
    return plugin_.GetParameter(index);
}

// Set as the editor sets it: the host hears of one gesture per value.
void KivEditHistory::Write(int32_t index, double value) {
    if (index == kBypass) {
        plugin_.ChangeBypass(value > 0.5);
        return;
    }
    plugin_.BeginEdit(index);
    plugin_.SetParameterAutomated(index, value);
    plugin_.EndEdit(index);
}

void KivEditHistory::GestureBegun(int32_t index) {
    if (applying_ || settingsDepth_ > 0) return;
    openIndices_.push_back(index);
    const bool known = std::any_of(open_.begin(), open_.end(), [&](const Change& c) { return c.index == index; });
    if (!known) open_.push_back(Change{index, Read(index), 0.0});
}

void KivEditHistory::GestureEnded(int32_t index) {
    if (applying_ || settingsDepth_ > 0) return;
    const auto found = std::find(openIndices_.begin(), openIndices_.end(), index);
    if (found == openIndices_.end()) return;
    openIndices_.erase(found);
    if (!openIndices_.empty()) return;
    Step step;
    for (Change& change : open_) {
        change.after = Read(change.index);
        if (change.after != change.before) step.changes.push_back(change);
    }
    open_.clear();
    if (!step.changes.empty()) Push(std::move(step));
}

std::unique_ptr<KivXMLItem> KivEditHistory::TakeSettings() const {
    auto settings = std::make_unique<KivXMLItem>(KivString("settings"));
    plugin_.StoreLiveSettings(*settings, true);
    return settings;
}

// The traversal reads from a copy: reading may move an item's cursors.
void KivEditHistory::LoadSettings(const KivXMLItem& settings) {
    KivXMLItem copy(KivString("settings"));
    KivCopySettingsItem(settings, copy);
    plugin_.StoreLiveSettings(copy, false);
    plugin_.OnSettingsChanged();
}

KivEditHistory::SettingsChange::SettingsChange(KivEditHistory& history) : history_(history) {
    if (history_.applying_) return;
    if (history_.settingsDepth_++ == 0) before_ = history_.TakeSettings();
}

KivEditHistory::SettingsChange::~SettingsChange() {
    if (history_.applying_) return;
    if (--history_.settingsDepth_ > 0 || !before_) return;
    try {
        std::unique_ptr<KivXMLItem> after = history_.TakeSettings();
        if (SameDocument(*before_, *after)) return;
        Step step;
        step.settingsBefore = std::move(before_);
        step.settingsAfter = std::move(after);
        history_.Push(std::move(step));
    } catch (...) {
        // A step that cannot be recorded is lost; the change itself stands.
    }
}

void KivEditHistory::Push(Step step) {
    undo_.push_back(std::move(step));
    while (static_cast<int32_t>(undo_.size()) > kSteps) undo_.pop_front();
    redo_.clear();
    ++revision_;
}

void KivEditHistory::Apply(const Step& step, bool undo) {
    applying_ = true;
    try {
        if (step.settingsBefore) {
            LoadSettings(undo ? *step.settingsBefore : *step.settingsAfter);
        } else if (undo) {
            for (auto change = step.changes.rbegin(); change != step.changes.rend(); ++change) Write(change->index, change->before);
        } else {
            for (const Change& change : step.changes) Write(change.index, change.after);
        }
    } catch (...) {
        applying_ = false;
        throw;
    }
    applying_ = false;
    ++revision_;
}

bool KivEditHistory::Undo() { return Move(undo_, redo_, true); }

bool KivEditHistory::Redo() { return Move(redo_, undo_, false); }

// Nothing moves while a gesture or a settings change is still open: its step is not made yet.
bool KivEditHistory::Move(std::deque<Step>& from, std::deque<Step>& to, bool undo) {
    if (from.empty() || !openIndices_.empty() || settingsDepth_ > 0) return false;
    Step step = std::move(from.back());
    from.pop_back();
    Apply(step, undo);
    to.push_back(std::move(step));
    return true;
}

void KivEditHistory::Clear() {
    undo_.clear();
    redo_.clear();
    open_.clear();
    openIndices_.clear();
    ++revision_;
}
