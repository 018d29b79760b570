#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

class KivKestruneAudioEffectPlugin;
class KivXMLItem;

// Undo and redo of what the user does in the editor: parameter gestures (a drag is one step,
// however many values it passed through), bypass, and whole-settings changes such as a loaded
// preset, a pasted state or a switch that is no host parameter. The last kSteps steps are
// kept; a new step clears the steps that were undone.
//
// Undoing a parameter step sets the values back as the editor would, so that the host hears
// of each as one gesture and records it in its automation; the channels play on. A settings
// step loads the settings from before it, as a preset load does.
//
// The editor's thread owns it: gestures, settings changes, undo and redo all come from there.
class KivEditHistory {
public:
    static constexpr int32_t kSteps = 100;
    // The bypass switch in a parameter step: it is no host parameter of every format.
    static constexpr int32_t kBypass = -2;

    explicit KivEditHistory(KivKestruneAudioEffectPlugin& plugin);
    ~KivEditHistory();
    KivEditHistory(const KivEditHistory&) = delete;
    KivEditHistory& operator=(const KivEditHistory&) = delete;

    // A gesture on host parameter `index` (or kBypass) begins or ends. Gestures that overlap
    // (a drawn shape moves several points at once) make one step, closed when the last ends.
    void GestureBegun(int32_t index);
    void GestureEnded(int32_t index);

    // Everything between its construction and its destruction is one whole-settings step,
    // if the settings changed; parameter gestures inside it belong to it.
    class SettingsChange {
    public:
        explicit SettingsChange(KivEditHistory& history);
        ~SettingsChange();
        SettingsChange(const SettingsChange&) = delete;
        SettingsChange& operator=(const SettingsChange&) = delete;

    private:
        KivEditHistory& history_;
        std::unique_ptr<KivXMLItem> before_;
    };

    bool CanUndo() const noexcept { return !undo_.empty(); }
    bool CanRedo() const noexcept { return !redo_.empty(); }
    int32_t UndoCount() const noexcept { return static_cast<int32_t>(undo_.size()); }
    int32_t RedoCount() const noexcept { return static_cast<int32_t>(redo_.size()); }
    // False when there was nothing to undo or redo.
    bool Undo();
    bool Redo();
    void Clear();
    // Counts every change of the history, for editors that show whether undo is possible.
    uint64_t GetRevision() const noexcept { return revision_; }

private:
    struct Change {
        int32_t index;
        double before;
        double after;
    };
    struct Step {
        std::vector<Change> changes;
        std::unique_ptr<KivXMLItem> settingsBefore;
        std::unique_ptr<KivXMLItem> settingsAfter;
    };

    double Read(int32_t index) const;
    void Write(int32_t index, double value);
    void LoadSettings(const KivXMLItem& settings);
    std::unique_ptr<KivXMLItem> TakeSettings() const;
    void Push(Step step);
    void Apply(const Step& step, bool undo);
    // Applies the newest step of `from` (undoing it when `undo`) and moves it onto `to`.
    bool Move(std::deque<Step>& from, std::deque<Step>& to, bool undo);

    KivKestruneAudioEffectPlugin& plugin_;
    std::deque<Step> undo_;
    std::deque<Step> redo_;
    // The gesture step being made: its changes with their values from before.
    std::vector<Change> open_;
    std::vector<int32_t> openIndices_;
    int32_t settingsDepth_ = 0;
    bool applying_ = false;
    uint64_t revision_ = 0;
};
