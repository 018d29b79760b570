#pragma once
#include <atomic>
#include <cstdint>
#include <vector>

#include "dynamics/processing/tandrel_level_history.h"
#include "dynamics/parameters/tandrel_parameter_table.h"
#include "dynamics/processing/tandrel_dynamics_pipeline.h"
#include "dynamics/processing/tandrel_meter_bank.h"
#include "dynamics/processing/tandrel_product_settings.h"
#include "envelope/kiv_envelope.h"
#include "envelope/kiv_envelope_graph.h"
#include "plugin/kiv_audio_effect_plugin.h"

class KivParameterView;
class KivXMLItem;
class TandrelMeterView;

// TandrelMini's effect: two compressor/expanders and a gate combined into one transfer shape
// (or a drawn one), driven by a level detector with look-ahead and channel linking, for up to
// eight channels.
//
// The audio thread only consumes. Applying the parameters (Reprepare) builds a complete
// pipeline setup on the thread that changed them, under the effect's mutex, and hands it over
// through one atomic pointer; the audio thread installs it at the start of its next block and
// leaves the setup it replaced on a lock-free list that the preparing side frees. Settings,
// the stored follower, the shapes and the editor pointer belong to the effect's mutex, which
// the audio thread never takes; meters cross through atomics.
class TandrelAudioEffectPlugin : public KivAudioEffectPlugin {
public:
    TandrelAudioEffectPlugin();
    ~TandrelAudioEffectPlugin() override;

    // --- effect interface -----------------------------------------------------------------------
    void InitProcessing(int32_t channels, int32_t sampleRate) override;
    void SetMaxBlockSize(int32_t samples) override;
    // Applies the parameters: transfer shape, detector, gains, link, release mode, look-ahead.
    // Not on the audio thread; the setup it builds plays from the next block on.
    void Reprepare() override;
    void ReprepareAfterLoading() override;
    bool HandsOverPreparedSetups() const noexcept override { return true; }
    // Made for the most channels any channel mode asks for, it processes as many as the
    // mode playing asks for.
    bool ProcessesFewerChannels() const noexcept override { return true; }
    bool DelaysUnprocessedChannels() const noexcept override { return true; }
    void SetProcessedChannels(int32_t channels) noexcept override;
    // The channels are cleared at the start of the next block.
    void Reset() override;
    void Process(const KivProcessingContext& context, float** inputs, float** outputs, int32_t count) override;
    // The editor's periodic refresh: publishes the meters.
    void ProcessUpdate() override;
    void UpdateEditorChannelControls() override;
    // The look-ahead of the setup prepared last, which the host is told about.
    int32_t GetLatency() override;
    // Audio thread: installs a waiting setup at the start of a host block.
    void TakePreparedSetup() noexcept override { InstallPendingSetup(); }
    // Audio thread: the look-ahead of the setup installed.
    int32_t GetPlayingLatency() override { return playingLatency_; }
    // The longest look-ahead, at the top of its parameter's range.
    int32_t GetLatencyLimit(int32_t sampleRate) override;
    bool LoadSettings(KivXMLItem& item) override;
    bool StoreSettings(KivXMLItem& item) override;

    // --- the editor -----------------------------------------------------------------------------
    void AttachEditor(TandrelMeterView* editor);
    void DetachEditor();
    // The user clicked a meter: held reductions and peaks start again.
    void ResetHeldMeters();
    // How the user left the instance's editor, which hosts destroy with its window: the next
    // editor of this instance opens the same way. GUI thread only.
    struct EditorView {
        bool detectorOpen = false;
    };
    EditorView& GetEditorView() noexcept { return editorView_; }

    // The host-side display's largest reduction (gain) on `channel` since it last asked.
    double TakeLargestReduction(int32_t channel) noexcept { return meters_.TakeLargestReduction(channel); }

    TandrelParameterTable& Parameters() noexcept { return table_; }
    TandrelProductSettings& ProductSettings() noexcept { return product_; }
    KivEnvelopeGraph& DrawnShape() noexcept { return drawnShape_; }
    KivEnvelope& CustomAttackShape() noexcept { return customAttack_; }
    KivEnvelope& CustomReleaseShape() noexcept { return customRelease_; }
    KivDynamicsProcessorFollower& Follower() noexcept { return pipeline_.Follower(); }
    const TandrelMeterBank& Meters() const noexcept { return meters_; }
    // The level history's columns, written while an editor is open.
    TandrelLevelHistory& LevelHistory() noexcept { return levelHistory_; }
    // Setups the audio thread has installed so far.
    int64_t GetInstalledSetups() const noexcept { return installedSetups_.load(std::memory_order_relaxed); }

private:
    double DeepestReduction(int32_t channels) const noexcept;
    // Builds the setup for the current settings and hands it over, under the effect's mutex;
    // false before the first InitProcessing.
    bool PrepareAndPublish(bool resetChannels);
    // The drawn shape's points, four figures each, read under the effect's mutex.
    void ReadDrawnShape(std::vector<double>& values);
    void PrepareSetup(bool resetChannels);
    // Audio thread: takes over a setup waiting at the block boundary.
    void InstallPendingSetup() noexcept;
    // Audio thread: hands a setup it left to the preparing side (null: nothing).
    void Retire(TandrelPipelineSetup* left) noexcept;
    void FreeRetiredSetups() noexcept;
    void ApplyReleaseMode(int32_t mode);
    void ReportLatency();
    void StoreProductSettings(KivXMLItem& item, bool storing);
    void StoreShapes(KivXMLItem& item, bool storing);
    void KeepDrawnShapeUsable();

    // Declared before the table, which refers to them.
    KivEnvelopeGraph drawnShape_;
    KivParameterView* shapeEditor_ = nullptr;
    TandrelParameterTable table_;
    KivEnvelope customAttack_;
    KivEnvelope customRelease_;
    KivEnvelope shape_;
    TandrelProductSettings product_;
    TandrelDynamicsPipeline pipeline_;
    TandrelMeterBank meters_;
    TandrelLevelHistory levelHistory_;
    EditorView editorView_;
    std::atomic<TandrelMeterView*> editor_{nullptr};
    int32_t sampleRate_ = 0;
    // The channels the blocks process now (the editor shows their meters).
    std::atomic<int32_t> processedChannels_{0};
    int32_t maxBlock_ = 0;
    int32_t lastReleaseMode_ = -1;
    // Preparing threads report the latency after the effect's mutex is released.
    std::atomic<int32_t> reportedLatency_{0};

    // The hand-over. `pending_` holds at most one setup the audio thread has not taken;
    // `retired_` is a list the audio thread pushes the setups it left onto.
    std::atomic<TandrelPipelineSetup*> pending_{nullptr};
    std::atomic<TandrelPipelineSetup*> retired_{nullptr};
    // The gain path of the setup published last (its path switches, or kResetsChannels), so the
    // audio thread can tell whether it may join a switch still fading without taking it.
    static constexpr uint32_t kResetsChannels = 0x80000000u;
    std::atomic<uint32_t> pendingPath_{0};
    // Whether a setup on `path` may be installed while a switch fades: same path, no reset.
    bool JoinsSwitch(uint32_t path) const noexcept;
    // Settings side: sizes of the setup published last, and of the one the audio thread
    // leaves for the pending setup.
    TandrelSetupSizes publishedSizes_;
    TandrelSetupSizes pendingBase_;
    std::atomic<int32_t> preparedLatency_{0};
    // Audio side: the look-ahead of the setup installed last.
    int32_t playingLatency_ = 0;
    std::atomic<bool> resetRequested_{false};
    std::atomic<int64_t> installedSetups_{0};
};
