#include "dynamics/editor/tandrel_detector_curve.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "base/kiv_number.h"
#include "gui/controls/kiv_control_painting.h"
#include "gui/core/kiv_window.h"
#include "gui/drawing/kiv_drawer.h"
#include "gui/text/kiv_text_alignment.h"
#include "parameters/values/kiv_display_text.h"

namespace {

// The size the curve was laid out for; margins, handles and lines grow with the control.
constexpr double kDesignHeight = 240.0;
constexpr double kFrequencyMarks[] = {50, 100, 200, 500, 1000, 2000, 5000, 10000};
constexpr double kLabelledMarks[] = {100, 1000, 10000};
constexpr int32_t kGainMarks[] = {-18, -12, -6, 6, 12, 18};
constexpr double kQualityStep = 1.12246204830937;  // a twelfth of an octave of Q per notch: 2^(1/6)

constexpr KivColor kWell = KivColor::Rgb(30, 34, 41);
constexpr KivColor kGrid = KivColor::Rgb(52, 58, 68);
constexpr KivColor kZeroLine = KivColor::Rgb(96, 104, 118);
constexpr KivColor kLabel = KivColor::Rgb(150, 158, 170);
constexpr KivColor kCurve = KivColor::Rgb(255, 176, 64);
constexpr KivColor kFill = KivColor::Rgb(255, 176, 64, 44);
constexpr KivColor kBand = KivColor::Rgb(86, 156, 240);
constexpr KivColor kFilter = KivColor::Rgb(120, 196, 120);
constexpr KivColor kIdle = KivColor::Rgb(92, 98, 110);
constexpr KivColor kRing = KivColor::Rgb(240, 242, 246);
constexpr KivColor kHandleText = KivColor::Rgb(16, 18, 22);

const char* const kKindNames[] = {"Low shelf", "Peak", "High shelf"};

}  // namespace

// Unchanged settings repaint nothing: the editor shows them again after every preparation.
void TandrelDetectorCurve::Show(const KivDetectorFilterSettings& settings, double sampleRate) {
    const double rate = sampleRate > 0.0 ? sampleRate : 48000.0;
    if (settings == filter_.settings && rate == filter_.DesignRate()) return;
    filter_.settings = settings;
    filter_.Design(rate);
    Invalidate();
}

double TandrelDetectorCurve::ResponseDecibels(double frequency) const {
    return 20.0 * std::log10(std::max(filter_.MagnitudeAt(frequency), 1e-9));
}

// Margins for the gain labels on the left and the frequency labels below.
KivRect TandrelDetectorCurve::GetPlotRect() const {
    const KivPoint size = GetSize();
    const double unit = std::max(1.0, size.y / kDesignHeight);
    const auto scaled = [unit](double pixels) { return static_cast<int32_t>(std::lround(pixels * unit)); };
    return KivRect{scaled(28), scaled(6), size.x - 1 - scaled(8), size.y - 1 - scaled(16)};
}

int32_t TandrelDetectorCurve::HandleRadius() const {
    return static_cast<int32_t>(std::lround(6.0 * std::max(1.0, GetSize().y / kDesignHeight)));
}

double TandrelDetectorCurve::XOf(double frequency, const KivRect& plot) const {
    const double share = std::log(std::max(frequency, 1e-3) / kLowestFrequency) / std::log(kHighestFrequency / kLowestFrequency);
    return plot.left + share * (plot.Width() - 1);
}

double TandrelDetectorCurve::FrequencyOf(double x, const KivRect& plot) const {
    const double share = std::clamp((x - plot.left) / std::max(plot.Width() - 1, 1), 0.0, 1.0);
    return kLowestFrequency * std::pow(kHighestFrequency / kLowestFrequency, share);
}

double TandrelDetectorCurve::YOf(double decibels, const KivRect& plot) const {
    return plot.top + (kTopDecibels - decibels) / (2.0 * kTopDecibels) * (plot.Height() - 1);
}

double TandrelDetectorCurve::DecibelsOf(double y, const KivRect& plot) const {
    return kTopDecibels - (y - plot.top) / std::max(plot.Height() - 1, 1) * (2.0 * kTopDecibels);
}

KivPoint TandrelDetectorCurve::HandlePosition(int32_t handle) const {
    const KivRect plot = GetPlotRect();
    const KivDetectorFilterSettings& s = filter_.settings;
    double x = 0.0, y = 0.0;
    if (handle >= 0 && handle < KivSideChainEqualizer::kBandCount) {
        const KivSideChainEqualizer::Band& band = s.equalizer.bands[handle];
        x = XOf(band.frequency, plot);
        y = YOf(std::clamp(band.gainDecibels, -kTopDecibels, kTopDecibels), plot);
    } else {
        // The filters ride on the bottom edge: they have a frequency, no gain. Their tabs stay
        // whole inside the plot at the open ends.
        const int32_t half = HandleRadius() + 4;
        x = std::clamp(XOf(handle == kHighPassHandle ? s.minFrequency : s.maxFrequency, plot),
                       static_cast<double>(plot.left + half), static_cast<double>(plot.right - half));
        y = plot.bottom - HandleRadius() - 2;
    }
    return KivPoint{static_cast<int32_t>(std::lround(x)), static_cast<int32_t>(std::lround(y))};
}

// The nearest handle within reach; bands before filters where they overlap.
int32_t TandrelDetectorCurve::HandleAt(KivPoint point) const {
    const int32_t reach = HandleRadius() + 3;
    int32_t best = kNoHandle;
    int64_t bestDistance = static_cast<int64_t>(reach) * reach + 1;
    for (int32_t handle = 0; handle <= kLowPassHandle; ++handle) {
        const KivPoint at = HandlePosition(handle);
        const int64_t dx = at.x - point.x, dy = at.y - point.y;
        const int64_t distance = dx * dx + dy * dy;
        if (distance < bestDistance) {
            best = handle;
            bestDistance = distance;
        }
    }
    return best;
}

void TandrelDetectorCurve::Select(int32_t handle) {
    selected_ = handle >= 0 && handle <= kLowPassHandle ? handle : kNoHandle;
    Invalidate();
}

void TandrelDetectorCurve::Changed() {
    filter_.Design(filter_.DesignRate());
    Invalidate();
    KivOnNotifyParams params{this};
    OnChange.Raise(params);
}

void TandrelDetectorCurve::MoveHandle(int32_t handle, KivPoint point) {
    const KivRect plot = GetPlotRect();
    const double frequency = FrequencyOf(point.x, plot);
    KivDetectorFilterSettings& s = filter_.settings;
    if (handle == kHighPassHandle) {
        s.minFrequency = frequency;
    } else if (handle == kLowPassHandle) {
        s.maxFrequency = frequency;
    } else {
        KivSideChainEqualizer::Band& band = s.equalizer.bands[handle];
        band.frequency = frequency;
        band.gainDecibels = std::clamp(DecibelsOf(point.y, plot), -kLargestGain, kLargestGain);
    }
    Changed();
}

void TandrelDetectorCurve::OnMouseDown(KivPoint point, KivMouseButton button, uint8_t) {
    if (button != KivMouseButton::kLeft || !IsEnabled()) return;
    const int32_t handle = HandleAt(point);
    if (handle != selected_) {
        selected_ = handle;
        Invalidate();
    }
    if (handle == kNoHandle) return;
    dragging_ = true;
    if (KivWindow* window = GetWindow()) window->SetCapture(this);
    OnBeginEdit.Raise(KivOnNotifyParams{this});
}

void TandrelDetectorCurve::OnMouseUp(KivPoint, KivMouseButton button, uint8_t) {
    if (button != KivMouseButton::kLeft || !dragging_) return;
    dragging_ = false;
    if (KivWindow* window = GetWindow()) window->SetCapture(nullptr);
    OnEndEdit.Raise(KivOnNotifyParams{this});
}

void TandrelDetectorCurve::OnMouseMove(KivPoint point, uint8_t) {
    if (dragging_ && selected_ != kNoHandle) MoveHandle(selected_, point);
}

void TandrelDetectorCurve::OnMouseDoubleClick(KivPoint point, KivMouseButton button, uint8_t) {
    const int32_t handle = HandleAt(point);
    if (button != KivMouseButton::kLeft || handle < 0 || handle >= KivSideChainEqualizer::kBandCount) return;
    filter_.settings.equalizer.bands[handle].gainDecibels = 0.0;
    Changed();
}

// The wheel works on the handle under the mouse, else on the one selected.
bool TandrelDetectorCurve::OnMouseWheel(KivPoint point, int32_t delta, uint8_t) {
    int32_t handle = HandleAt(point);
    if (handle == kNoHandle) handle = selected_;
    if (handle == kNoHandle || !IsEnabled()) return false;
    const int32_t notches = delta / 120 != 0 ? delta / 120 : (delta > 0 ? 1 : -1);
    KivDetectorFilterSettings& s = filter_.settings;
    double& quality = handle == kHighPassHandle  ? s.highPassQuality
                      : handle == kLowPassHandle ? s.lowPassQuality
                                                 : s.equalizer.bands[handle].quality;
    quality = std::clamp(quality * std::pow(kQualityStep, notches), kSmallestQuality, kLargestQuality);
    selected_ = handle;
    Changed();
    return true;
}

void TandrelDetectorCurve::Paint(KivDrawer& drawer, const KivRect&) {
    const KivRect box = GetWindowRect();
    drawer.FillRectangle(box, kWell, KivDrawingMode::kCopy);
    const KivRect local = GetPlotRect();
    const KivRect plot = local.Offset(box.left, box.top);
    PaintGrid(drawer, plot);
    PaintResponse(drawer, plot);
    PaintHandles(drawer, plot);
    PaintReadout(drawer, plot);
}

void TandrelDetectorCurve::PaintGrid(KivDrawer& drawer, const KivRect& plot) const {
    const KivRect box = GetWindowRect();
    for (double frequency : kFrequencyMarks) {
        const int32_t x = static_cast<int32_t>(std::lround(XOf(frequency, plot)));
        drawer.FillRectangle(KivRect{x, plot.top, x, plot.bottom}, kGrid, KivDrawingMode::kCopy);
    }
    for (double frequency : kLabelledMarks) {
        const int32_t x = static_cast<int32_t>(std::lround(XOf(frequency, plot)));
        const KivString text = frequency >= 1000 ? KivNumber::IntegerToText(static_cast<int64_t>(frequency / 1000)) + KivString("k")
                                                 : KivNumber::IntegerToText(static_cast<int64_t>(frequency));
        KivControlPainting::Text(drawer, KivStyleFont::kSmall, text, KivRect{x - 30, plot.bottom + 1, x + 30, box.bottom},
                                 KivTextAlignment::kCentred, kLabel);
    }
    for (int32_t decibels : kGainMarks) {
        const int32_t y = static_cast<int32_t>(std::lround(YOf(decibels, plot)));
        drawer.FillRectangle(KivRect{plot.left, y, plot.right, y}, kGrid, KivDrawingMode::kCopy);
    }
    for (int32_t decibels : {-12, 0, 12}) {
        const int32_t y = static_cast<int32_t>(std::lround(YOf(decibels, plot)));
        KivString text = KivNumber::IntegerToText(decibels);
        if (decibels > 0) text = KivString("+") + text;
        KivControlPainting::Text(drawer, KivStyleFont::kSmall, text, KivRect{box.left, y - 8, plot.left - 4, y + 8},
                                 KivTextAlignment::kRight | KivTextAlignment::kVerticalCentre, kLabel);
    }
    const int32_t zero = static_cast<int32_t>(std::lround(YOf(0.0, plot)));
    drawer.FillRectangle(KivRect{plot.left, zero, plot.right, zero}, kZeroLine, KivDrawingMode::kCopy);
    drawer.Rectangle(plot, kGrid, KivDrawingMode::kCopy);
}

// One point per pixel column, clipped to the plot; the area between the curve and 0 dB is
// tinted so that a small cut reads at a glance. Lines grow thicker with the control.
void TandrelDetectorCurve::PaintResponse(KivDrawer& drawer, const KivRect& plot) const {
    std::vector<KivPointF> curve;
    curve.reserve(static_cast<size_t>(plot.Width()) + 2);
    for (int32_t x = plot.left; x <= plot.right; ++x) {
        const double decibels = ResponseDecibels(FrequencyOf(x, plot));
        curve.push_back(KivPointF{static_cast<double>(x), std::clamp(YOf(decibels, plot), double(plot.top), double(plot.bottom))});
    }
    const double zero = YOf(0.0, plot);
    std::vector<KivPointF> area = curve;
    area.push_back(KivPointF{plot.right + 1.0, zero + 0.5});
    area.push_back(KivPointF{static_cast<double>(plot.left), zero + 0.5});
    for (KivPointF& point : area) point.y += 0.5;  // polygon corners are pixel corners
    for (size_t i = 0; i < curve.size(); ++i) area[i].x += 0.5;
    drawer.FillPolygonF(area.data(), static_cast<int32_t>(area.size()), kFill, KivDrawingMode::kAlphablend);
    const int32_t thickness = std::max(1, static_cast<int32_t>(std::lround(1.5 * GetSize().y / kDesignHeight)));
    for (int32_t line = 0; line < thickness; ++line) {
        std::vector<KivPointF> shifted = curve;
        const double offset = line - (thickness - 1) / 2.0;
        for (KivPointF& point : shifted) point.y += offset;
        drawer.PolyLineF(shifted.data(), static_cast<int32_t>(shifted.size()), kCurve, KivDrawingMode::kAlphablend);
    }
}

void TandrelDetectorCurve::PaintHandles(KivDrawer& drawer, const KivRect& plot) const {
    const KivRect box = GetWindowRect();
    const KivDetectorFilterSettings& s = filter_.settings;
    const int32_t radius = HandleRadius();
    for (int32_t handle = kLowPassHandle; handle >= 0; --handle) {
        const bool band = handle < KivSideChainEqualizer::kBandCount;
        const bool active = band ? s.equalizerEnabled
                                 : s.enabledSideChain && (handle == kHighPassHandle ? s.highPass : s.lowPass);
        const KivPoint local = HandlePosition(handle);
        const KivPoint at{box.left + local.x, box.top + local.y};
        if (!plot.Contains(at.x, at.y)) continue;
        const KivColor colour = !active ? kIdle : band ? kBand : kFilter;
        if (handle == selected_) drawer.FillCircle(at, radius + 2, kRing, KivDrawingMode::kAlphablend);
        if (band) {
            drawer.FillCircle(at, radius, colour, KivDrawingMode::kAlphablend);
        } else {
            const KivRect tab{at.x - radius - 4, at.y - radius, at.x + radius + 4, at.y + radius};
            drawer.FillRoundRectangle(tab, radius / 2, colour, KivDrawingMode::kAlphablend);
        }
        const KivString label = band ? KivNumber::IntegerToText(handle + 1) : KivString(handle == kHighPassHandle ? "HP" : "LP");
        KivControlPainting::Text(drawer, KivStyleFont::kSmall, label,
                                 KivRect{at.x - radius - 4, at.y - radius, at.x + radius + 4, at.y + radius},
                                 KivTextAlignment::kCentred, kHandleText);
    }
}

// What the selected handle stands at, in the plot's top right corner.
void TandrelDetectorCurve::PaintReadout(KivDrawer& drawer, const KivRect& plot) const {
    if (selected_ == kNoHandle) return;
    const KivDetectorFilterSettings& s = filter_.settings;
    char text[96];
    if (selected_ < KivSideChainEqualizer::kBandCount) {
        const KivSideChainEqualizer::Band& band = s.equalizer.bands[selected_];
        std::snprintf(text, sizeof text, "%d %s  %s  %+.1f dB  Q %.2f", selected_ + 1,
                      kKindNames[KivSideChainEqualizer::KindOf(selected_)], KivFormatFrequency(band.frequency).ToUTF8().c_str(),
                      band.gainDecibels, band.quality);
    } else {
        const bool high = selected_ == kHighPassHandle;
        std::snprintf(text, sizeof text, "%s  %s  Q %.2f", high ? "High-pass" : "Low-pass",
                      KivFormatFrequency(high ? s.minFrequency : s.maxFrequency).ToUTF8().c_str(),
                      high ? s.highPassQuality : s.lowPassQuality);
    }
    const int32_t height = static_cast<int32_t>(std::lround(16.0 * std::max(1.0, GetSize().y / kDesignHeight)));
    KivControlPainting::Text(drawer, KivStyleFont::kSmall, KivString::FromUTF8(text),
                             KivRect{plot.left + 4, plot.top + 2, plot.right - 4, plot.top + 2 + height},
                             KivTextAlignment::kRight | KivTextAlignment::kVerticalCentre, kRing);
}
