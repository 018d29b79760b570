#pragma once
#include <array>
#include <atomic>

#include "plugin/kiv_audio_effect_plugin_to_audio_plugin_adapter.h"
#include "plugin/kiv_edit_history.h"
#include "plugin/state/kiv_preset_slot_items.h"
#include "threads/kiv_semaphore.h"

class KivDataFolderSource;

// The maker's house base for its effects. Its processing and parameter behaviour is the
// adapter's; menus, preset handling and the editor frame come with the window system.
//
// Its settings (defined with the state code in plugin/state) are the adapter's shared ones,
// the "AGC" flag and, in the state document only, the eight preset slots. A load that fails
// anywhere puts back the settings that were live before it.
class KivKestruneAudioEffectPlugin : public KivAudioEffectPluginToAudioPluginAdapter {
public:
    // The automation update thread reaches the slots: it ends before they go.
    ~KivKestruneAudioEffectPlugin() override { StopAutomationUpdates(); }

    void Initialize(const KivString& pluginName, const KivString& vendor,
                    KivAudioEffectPluginInterfaceFunction function) override;

    // The whole state document: the live settings, "PresetIndex" and the other slots.
    void StoreSettings(KivXMLItem& item, bool storing) override;
    // The live settings alone, as slots, copy and paste and the default settings hold them.
    void StoreLiveSettings(KivXMLItem& item, bool storing);

    // "DefaultSettings" of the family's global settings file; false when there are none.
    bool LoadDefaultSettings() override;
    void SetDefaultSettingsToCurrent() override;
    // Where the global settings file is; without a source there are no default settings.
    // Set it before Initialize, which loads the defaults.
    void SetDataFolderSource(KivDataFolderSource* source) noexcept { dataFolder_ = source; }
    KivDataFolderSource* GetDataFolderSource() const noexcept { return dataFolder_; }

    // --- preset slots -----------------------------------------------------------------------------
    KivPresetSlotItems& GetPresetSlots() noexcept { return slots_; }
    // Makes the selected slot live: the live settings go into the slot that was live, the
    // selected slot's settings become the live ones.
    void OnChangePreset();
    // A MIDI program change: selects slot `program` mod 8 and makes it live.
    void SelectPresetByProgram(int32_t program);
    // Program changes arrive on the audio thread, which must neither wait for the state mutex
    // nor build settings items: each is queued, and the automation update thread carries them
    // out in order, every one of them. Online a switch plays from the first block that starts
    // after it is prepared; offline (see BeforeBlock) from the start of the block that carried
    // it, on every render alike.
    void ProcessProgramChange(int32_t sampleOffset, double timePosition, int32_t channel,
                              int32_t program) override;
    void CarryOutAutomationUpdates(int32_t requests) override;
    // Offline, the block waits for the program changes that arrived with it to be carried out
    // by the update thread: the switch point is the block's start, whatever the clock says.
    void BeforeBlock() override;
    // While held (a morph session, which keeps the live settings of the slot it started on
    // for cancelling), program changes wait, also offline; they are carried out in order when
    // the hold ends. Holds nest.
    void HoldSlotSwitches(bool hold);
    // The live settings changed as a whole (slot switch, paste, morph, a library preset): the
    // host hears of it and reads every parameter again.
    virtual void OnSettingsChanged();

    // --- the editor's undo history ---------------------------------------------------------------
    KivEditHistory& GetEditHistory() noexcept { return history_; }
    // The user switched bypass in the editor: one gesture for the host and one undo step.
    void ChangeBypassByUser(bool on);

    bool IsAGCOn() const noexcept { return agc_; }
    void SetAGC(bool on) noexcept { agc_ = on; }

protected:
    void OnGestureBegun(int32_t index) override { history_.GestureBegun(index); }
    void OnGestureEnded(int32_t index) override { history_.GestureEnded(index); }

private:
    using Traversal = void (KivKestruneAudioEffectPlugin::*)(KivXMLItem&, bool);

    void InitializePresetSlots();
    // The traversals proper, without locking or recovery.
    void TraverseState(KivXMLItem& item, bool storing);
    void TraverseLiveSettings(KivXMLItem& item, bool storing);
    void TraverseSettings(KivXMLItem& item, bool storing, bool loadsBypass);
    // Runs `traversal` under the state mutex and the processing mutex, so that no block runs
    // with half-loaded settings. A load that fails loads the settings from before it again,
    // then passes the failure on.
    void RunTraversal(Traversal traversal, KivXMLItem& item, bool storing);
    void SwitchToSelectedPreset();

    KivPresetSlotItems slots_;
    KivDataFolderSource* dataFolder_ = nullptr;
    void CarryOutProgramChanges();

    // Program changes from the audio thread (the one producer) to the update thread (the one
    // consumer). Counters only grow; a full queue (64 changes between two passes of the update
    // thread) replaces its newest entry, so the slot that ends live is still the last one sent.
    static constexpr int32_t kProgramQueueSize = 64;
    std::array<std::atomic<int32_t>, kProgramQueueSize> programQueue_{};
    std::atomic<uint32_t> programsQueued_{0};
    std::atomic<uint32_t> programsCarriedOut_{0};
    // Set by an offline block waiting for the queue; the update thread then signals `carriedOut_`.
    std::atomic<bool> offlineWaiting_{false};
    KivSemaphore carriedOut_;
    std::atomic<int32_t> slotSwitchHolds_{0};
    bool agc_ = false;
    KivEditHistory history_{*this};
};
