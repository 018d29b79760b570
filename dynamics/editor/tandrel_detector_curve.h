#pragma once
#include <cstdint>

#include "dynamics/detector/kiv_detector_filter.h"
#include "gui/core/kiv_control.h"
#include "gui/core/kiv_event.h"

// The detector's filters as a curve editor: the magnitude response of the high-pass, the
// low-pass, the six-band equaliser and the psycho-acoustic weighting together, over 20 Hz to
// 20 kHz (logarithmic) and +-24 dB, computed from the very sections the detector runs. Each
// equaliser band is a handle (numbered 1 to 6) dragged in frequency and gain; the wheel over
// a handle changes its Q; a double click puts a band back to 0 dB. The high- and low-pass
// are handles on the bottom edge ("HP", "LP"), dragged in frequency, with the wheel for Q.
// Everything is placed from the control's own rectangle, so the curve scales with it.
class TandrelDetectorCurve : public KivControl {
public:
    static constexpr double kLowestFrequency = 20.0;
    static constexpr double kHighestFrequency = 20000.0;
    static constexpr double kTopDecibels = 24.0;
    // Band gains and Qs stay within these.
    static constexpr double kLargestGain = 18.0;
    static constexpr double kSmallestQuality = 0.1;
    static constexpr double kLargestQuality = 10.0;
    // Handles: the six bands, then the high- and the low-pass.
    static constexpr int32_t kHighPassHandle = KivSideChainEqualizer::kBandCount;
    static constexpr int32_t kLowPassHandle = kHighPassHandle + 1;
    static constexpr int32_t kNoHandle = -1;

    TandrelDetectorCurve() : OnChange(this), OnBeginEdit(this), OnEndEdit(this) {}

    // Shows `settings`, designed as the detector designs them at `sampleRate`.
    void Show(const KivDetectorFilterSettings& settings, double sampleRate);
    const KivDetectorFilterSettings& Settings() const { return filter_.settings; }
    // The response drawn, in dB, at `frequency`.
    double ResponseDecibels(double frequency) const;
    // The plot's rectangle in the control's own coordinates (the axes span it exactly).
    KivRect GetPlotRect() const;
    // Where a handle sits, in the control's own coordinates.
    KivPoint HandlePosition(int32_t handle) const;
    int32_t GetSelected() const { return selected_; }
    void Select(int32_t handle);

    void Paint(KivDrawer& drawer, const KivRect& dirty) override;
    void OnMouseDown(KivPoint point, KivMouseButton button, uint8_t state) override;
    void OnMouseUp(KivPoint point, KivMouseButton button, uint8_t state) override;
    void OnMouseMove(KivPoint point, uint8_t state) override;
    void OnMouseDoubleClick(KivPoint point, KivMouseButton button, uint8_t state) override;
    bool OnMouseWheel(KivPoint point, int32_t delta, uint8_t state) override;

    // Raised after every change the user made (each step of a drag).
    KivEvent<KivOnNotifyParams> OnChange;
    // A handle's drag begins (the button went down on it) and ends (the button came up):
    // the changes between them are one edit.
    KivEvent<KivOnNotifyParams> OnBeginEdit;
    KivEvent<KivOnNotifyParams> OnEndEdit;

private:
    int32_t HandleAt(KivPoint point) const;
    int32_t HandleRadius() const;
    double XOf(double frequency, const KivRect& plot) const;
    double FrequencyOf(double x, const KivRect& plot) const;
    double YOf(double decibels, const KivRect& plot) const;
    double DecibelsOf(double y, const KivRect& plot) const;
    void MoveHandle(int32_t handle, KivPoint point);
    void Changed();
    void PaintGrid(KivDrawer& drawer, const KivRect& plot) const;
    void PaintResponse(KivDrawer& drawer, const KivRect& plot) const;
    void PaintHandles(KivDrawer& drawer, const KivRect& plot) const;
    void PaintReadout(KivDrawer& drawer, const KivRect& plot) const;

    KivDetectorFilter filter_;
    int32_t selected_ = kNoHandle;
    bool dragging_ = false;
};
