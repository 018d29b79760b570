// The house base's settings: the traversal's first level with its locking and recovery, the
// default settings and the preset slots' switching.
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "base/kiv_boundary.h"
#include "base/kiv_exception.h"
#include "base/xml/kiv_xml_item.h"
#include "platform/kiv_library_static.h"
#include "plugin/kiv_kestrune_audio_effect_plugin.h"
#include "plugin/kiv_plugin_host.h"
#include "plugin/state/kiv_data_folder_source.h"
#include "plugin/state/kiv_default_settings_commands.h"
#include "plugin/state/kiv_global_settings_file.h"
#include "plugin/state/kiv_settings_item_copy.h"
#include "plugin/state/kiv_settings_values.h"
#include "threads/kiv_synchronizer_guard.h"
#include "threads/kiv_thread_role.h"

namespace {

const KivString kAGC("AGC");

// `root` without its "DefaultSettings" child, with `defaults` as the new one.
void ReplaceDefaults(KivXMLItem& root, const KivXMLItem& defaults) {
    KivXMLItem kept(KivGlobalSettingsFile::RootName());
    KivCopySettingsItem(root, kept);
    root.Clear();
    root.SetName(KivGlobalSettingsFile::RootName());
    for (int32_t index = 0; index < kept.GetAttributeCount(); ++index) {
        root.SetAttribute(kept.GetAttributeAt(index).name, kept.GetAttributeAt(index).value);
    }
    for (int32_t index = 0; index < kept.GetSubItemCount(); ++index) {
        const KivXMLItem& child = kept.GetSubItemAt(index);
        if (child.GetName().EqualsFolded(KivGlobalSettingsFile::DefaultSettingsName())) continue;
        KivCopySettingsItem(child, root.AddSubItem(child.GetName()));
    }
    KivCopySettingsItem(defaults, root.AddSubItem(KivGlobalSettingsFile::DefaultSettingsName()));
}

// The live settings of a new instance of each plug-in, before default settings, taken from the
// first instance of the process: what "Reset to factory settings" goes back to. One product's
// settings are the same for all its instances, and taking them once keeps instances cheap.
class FactorySettings {
public:
    static FactorySettings& Instance() {
        static KivPlatform::LibraryStatic<FactorySettings> settings;
        return *settings;
    }
    bool Has(const KivString& plugin) {
        std::lock_guard<std::mutex> lock(mutex_);
        return items_.count(plugin.ToU16()) != 0;
    }
    void Keep(const KivString& plugin, std::unique_ptr<KivXMLItem> item) {
        std::lock_guard<std::mutex> lock(mutex_);
        items_.emplace(plugin.ToU16(), std::move(item));
    }
    bool CopyTo(const KivString& plugin, KivXMLItem& target) {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = items_.find(plugin.ToU16());
        if (found == items_.end()) return false;
        KivCopySettingsItem(*found->second, target);
        return true;
    }

private:
    std::mutex mutex_;
    std::map<std::u16string, std::unique_ptr<KivXMLItem>> items_;
};

}  // namespace

// --- traversal ----------------------------------------------------------------------------------

void KivKestruneAudioEffectPlugin::StoreSettings(KivXMLItem& item, bool storing) {
    RunTraversal(&KivKestruneAudioEffectPlugin::TraverseState, item, storing);
}

void KivKestruneAudioEffectPlugin::StoreLiveSettings(KivXMLItem& item, bool storing) {
    RunTraversal(&KivKestruneAudioEffectPlugin::TraverseLiveSettings, item, storing);
}

void KivKestruneAudioEffectPlugin::TraverseState(KivXMLItem& item, bool storing) {
    TraverseSettings(item, storing, true);
    slots_.Store(item, storing);
}

// Slots, presets, programs, morphing, pasting and the default settings change the sound, not
// whether it is heard: a preset chosen while bypassed stays bypassed (to be compared with the
// input), and one stored while bypassed does not silence the effect later. Only the project's
// own state brings its bypass back.
void KivKestruneAudioEffectPlugin::TraverseLiveSettings(KivXMLItem& item, bool storing) {
    TraverseSettings(item, storing, false);
}

void KivKestruneAudioEffectPlugin::TraverseSettings(KivXMLItem& item, bool storing, bool loadsBypass) {
    StoreAdapterSettings(item, storing, loadsBypass);
    KivSettingsValues::StoreFlag(item, kAGC, agc_, storing);
}

// The settings lock keeps every block on whole settings: the audio thread plays only setups
// prepared from complete settings, or (for effects that read settings while processing) is
// held off by the processing lock. Writing the document out happens after this returns.
void KivKestruneAudioEffectPlugin::RunTraversal(Traversal traversal, KivXMLItem& item, bool storing) {
    KivThreadRole::ExpectNotAudio("KivKestruneAudioEffectPlugin::RunTraversal");
    KivSynchronizerGuard state(GetStateMutex());
    KivSynchronizerGuard settings(GetSettingsLock());
    if (storing) {
        (this->*traversal)(item, true);
        return;
    }
    KivXMLItem before;
    (this->*traversal)(before, true);
    try {
        (this->*traversal)(item, false);
    } catch (...) {
        (this->*traversal)(before, false);
        throw;
    }
}

// --- default settings ---------------------------------------------------------------------------

bool KivKestruneAudioEffectPlugin::LoadDefaultSettings() {
    // Initialize calls this on settings nobody has changed yet: the factory settings.
    if (!FactorySettings::Instance().Has(GetPluginName())) {
        auto factory = std::make_unique<KivXMLItem>(KivGlobalSettingsFile::DefaultSettingsName());
        StoreLiveSettings(*factory, true);
        FactorySettings::Instance().Keep(GetPluginName(), std::move(factory));
    }
    if (!dataFolder_) return false;
    try {
        const KivGlobalSettingsFile file(dataFolder_->GetDataFolder(), GetFamilyName());
        KivXMLItem defaults;
        if (!file.ReadDefaults(defaults)) return false;
        StoreLiveSettings(defaults, false);
        return true;
    } catch (const KivException&) {
        // Defaults that cannot be had leave the plug-in as constructed.
        return false;
    }
}

void KivKestruneAudioEffectPlugin::SetDefaultSettingsToCurrent() {
    KivGuard("KivKestruneAudioEffectPlugin::SetDefaultSettingsToCurrent",
             [&] { KivDefaultSettingsCommands::SaveAsDefault(*this); });
}

void KivDefaultSettingsCommands::SaveAsDefault(KivKestruneAudioEffectPlugin& plugin) {
    KivDataFolderSource* folder = plugin.GetDataFolderSource();
    if (!folder) throw KivException("There is no folder for default settings.", KivException::kNotInitialized);
    const KivGlobalSettingsFile file(folder->GetDataFolder(), plugin.GetFamilyName());
    KivXMLItem root(KivGlobalSettingsFile::RootName());
    file.Read(root);
    KivXMLItem defaults(KivGlobalSettingsFile::DefaultSettingsName());
    plugin.StoreLiveSettings(defaults, true);
    ReplaceDefaults(root, defaults);
    file.Write(root);
}

void KivDefaultSettingsCommands::ResetToFactorySettings(KivKestruneAudioEffectPlugin& plugin) {
    KivXMLItem factory(KivGlobalSettingsFile::DefaultSettingsName());
    if (!FactorySettings::Instance().CopyTo(plugin.GetPluginName(), factory)) return;
    plugin.StoreLiveSettings(factory, false);
    plugin.OnSettingsChanged();
}

// --- preset slots -------------------------------------------------------------------------------

void KivKestruneAudioEffectPlugin::InitializePresetSlots() {
    slots_.Reset();
    StoreLiveSettings(slots_.Item(0), true);
}

void KivKestruneAudioEffectPlugin::OnChangePreset() {
    KivGuard("OnChangePreset", [&] { SwitchToSelectedPreset(); });
}

void KivKestruneAudioEffectPlugin::SwitchToSelectedPreset() {
    {
        // One step for anyone who stores the state meanwhile (a host saving its project while
        // a program change is carried out): never the new index with the old live settings.
        KivSynchronizerGuard state(GetStateMutex());
        if (slots_.GetCurrent() == slots_.GetSelected()) return;
        KivXMLItem& leaving = slots_.Item(slots_.GetCurrent());
        leaving.Clear();
        StoreLiveSettings(leaving, true);
        slots_.MakeSelectedCurrent();
        // A slot never stored holds no settings; loading it would put every setting that is
        // not a parameter (the second expander, the release mode, bypass) back to its
        // factory value while the host's parameters carried over: A/B would change the
        // sound. It starts as a copy of the live settings instead, which it already is.
        const KivXMLItem& arriving = slots_.Item(slots_.GetCurrent());
        if (arriving.GetSubItemCount() != 0 || arriving.GetAttributeCount() != 0)
            StoreLiveSettings(slots_.Item(slots_.GetCurrent()), false);
    }
    OnSettingsChanged();
}

void KivKestruneAudioEffectPlugin::SelectPresetByProgram(int32_t program) {
    const int32_t count = KivPresetSlotItems::kSlotCount;
    slots_.Select(((program % count) + count) % count);
    OnChangePreset();
}

void KivKestruneAudioEffectPlugin::ProcessProgramChange(int32_t sampleOffset, double timePosition,
                                                        int32_t channel, int32_t program) {
    KivAudioEffectPluginToAudioPluginAdapter::ProcessProgramChange(sampleOffset, timePosition, channel, program);
    const uint32_t queued = programsQueued_.load(std::memory_order_relaxed);
    if (queued - programsCarriedOut_.load(std::memory_order_acquire) >= kProgramQueueSize) {
        programQueue_[(queued - 1) % kProgramQueueSize].store(program, std::memory_order_relaxed);
    } else {
        programQueue_[queued % kProgramQueueSize].store(program, std::memory_order_relaxed);
        programsQueued_.store(queued + 1, std::memory_order_release);
    }
    RequestAutomationUpdate(true);
}

void KivKestruneAudioEffectPlugin::CarryOutAutomationUpdates(int32_t requests) {
    KivAudioEffectPluginToAudioPluginAdapter::CarryOutAutomationUpdates(requests);
    CarryOutProgramChanges();
}

// One at a time and in order: each switch stores the leaving slot and loads the arriving one,
// as the host's sequence of program changes says.
void KivKestruneAudioEffectPlugin::CarryOutProgramChanges() {
    uint32_t carriedOut = programsCarriedOut_.load(std::memory_order_relaxed);
    while (slotSwitchHolds_.load() == 0 && carriedOut != programsQueued_.load(std::memory_order_acquire)) {
        const int32_t program = programQueue_[carriedOut % kProgramQueueSize].load(std::memory_order_relaxed);
        SelectPresetByProgram(program);
        programsCarriedOut_.store(++carriedOut, std::memory_order_release);
    }
    if (offlineWaiting_.exchange(false)) carriedOut_.Release();
}

// Offline nothing waits for the block in real time, so it may wait for the update thread:
// the switch is still prepared off the audio thread, and the block plays the new slot from
// its first sample on every render. The wait ends early only if the update thread does not
// answer for a long time (it has stopped), so that a render never hangs.
void KivKestruneAudioEffectPlugin::BeforeBlock() {
    if (!IsOfflineProcessing() || slotSwitchHolds_.load() > 0) return;
    const uint32_t wanted = programsQueued_.load(std::memory_order_acquire);
    if (programsCarriedOut_.load(std::memory_order_acquire) == wanted) return;
    KivThreadRole::OfflineWork offline;
    for (int32_t attempt = 0; attempt < 100; ++attempt) {
        offlineWaiting_.store(true);
        if (programsCarriedOut_.load(std::memory_order_acquire) - wanted < 0x80000000u || slotSwitchHolds_.load() > 0) break;
        RequestAutomationUpdate(true);
        carriedOut_.Acquire(100);
    }
    offlineWaiting_.store(false);
}

void KivKestruneAudioEffectPlugin::HoldSlotSwitches(bool hold) {
    if (hold) {
        slotSwitchHolds_.fetch_add(1);
        return;
    }
    // Program changes that waited are carried out now, by the update thread as always.
    if (slotSwitchHolds_.fetch_sub(1) == 1 &&
        programsCarriedOut_.load(std::memory_order_acquire) != programsQueued_.load(std::memory_order_acquire))
        RequestAutomationUpdate(true);
}

void KivKestruneAudioEffectPlugin::ChangeBypassByUser(bool on) {
    history_.GestureBegun(KivEditHistory::kBypass);
    ChangeBypass(on);
    history_.GestureEnded(KivEditHistory::kBypass);
}

void KivKestruneAudioEffectPlugin::OnSettingsChanged() {
    if (KivPluginHost* host = GetPluginHost()) host->SettingsChanged();
}
