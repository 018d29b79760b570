#pragma once
#include <cstdint>

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
// eight channels. Processing, parameter application, settings loading and the editor's
// refresh run under the effect's mutex, so the audio and GUI threads never meet a
// half-applied shape or a half-filled meter set.
class TandrelAudioEffectPlugin : public KivAudioEffectPlugin {
public:
    TandrelAudioEffectPlugin();
    ~TandrelAudioEffectPlugin() override;

    // --- effect interface -----------------------------------------------------------------------
    void InitProcessing(int32_t channels, int32_t sampleRate) override;
    // Applies the parameters: transfer shape, detector, gains, link, release mode, look-ahead.
    void Reprepare() override;
    void Reset() override;
    void Process(const KivProcessingContext& context, float** inputs, float** outputs, int32_t count) override;
    // The editor's periodic refresh: publishes the meters.
    void ProcessUpdate() override;
    void UpdateEditorChannelControls() override;
    int32_t GetLatency() override;
    bool LoadSettings(KivXMLItem& item) override;
    bool StoreSettings(KivXMLItem& item) override;

    // --- the editor -----------------------------------------------------------------------------
    void AttachEditor(TandrelMeterView* editor);
    void DetachEditor();
    // The user clicked a meter: held reductions and peaks start again.
    void ResetHeldMeters();

    // The host-side display's largest reduction (gain) on `channel` since it last asked.
    double TakeLargestReduction(int32_t channel) noexcept { return meters_.TakeLargestReduction(channel); }

    TandrelParameterTable& Parameters() noexcept { return table_; }
    TandrelProductSettings& ProductSettings() noexcept { return product_; }
    KivEnvelopeGraph& DrawnShape() noexcept { return drawnShape_; }
    KivEnvelope& CustomAttackShape() noexcept { return customAttack_; }
    KivEnvelope& CustomReleaseShape() noexcept { return customRelease_; }
    KivDynamicsProcessorFollower& Follower() noexcept { return pipeline_.Follower(); }
    const TandrelMeterBank& Meters() const noexcept { return meters_; }

private:
    void ApplyParameters();
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
    TandrelMeterView* editor_ = nullptr;
    int32_t sampleRate_ = 0;
    int32_t channels_ = 0;
    int32_t lastReleaseMode_ = -1;
    int32_t reportedLatency_ = 0;
};
