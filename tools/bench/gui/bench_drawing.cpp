// Cost of painting an editor-sized bitmap (800 x 500) in software.
#include <benchmark/benchmark.h>

#include <vector>

#include "gui/drawing/kiv_alpha_blend_row.h"
#include "gui/drawing/kiv_drawer_to_kiv_bitmap.h"
#include "gui/text/kiv_font.h"
#include "gui/text/kiv_text_alignment.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 500;

void SetPixelsProcessed(benchmark::State& state, int64_t pixelsPerIteration) {
    state.SetItemsProcessed(state.iterations() * pixelsPerIteration);
    state.SetBytesProcessed(state.iterations() * pixelsPerIteration * 4);
}

// The common case: an opaque fill of the whole editor is a plain 32-bit memory fill.
void BM_OpaqueFillFullEditor(benchmark::State& state) {
    KivBitmap bitmap(kWidth, kHeight);
    KivDrawerToKivBitmap drawer(bitmap);
    for (auto _ : state) {
        drawer.FillRectangle(bitmap.Bounds(), KivColor{30, 35, 40, 255}, KivDrawingMode::kAlphablend);
        benchmark::ClobberMemory();
    }
    SetPixelsProcessed(state, kWidth * kHeight);
}
BENCHMARK(BM_OpaqueFillFullEditor);

void BM_AlphaBlendFillFullEditor(benchmark::State& state) {
    KivBitmap bitmap(kWidth, kHeight);
    KivDrawerToKivBitmap drawer(bitmap);
    for (auto _ : state) {
        drawer.FillRectangle(bitmap.Bounds(), KivColor{90, 200, 255, 96}, KivDrawingMode::kAlphablend);
        benchmark::ClobberMemory();
    }
    SetPixelsProcessed(state, kWidth * kHeight);
}
BENCHMARK(BM_AlphaBlendFillFullEditor);

// The blend row loops alone: argument 0 scalar, 1 SSE2.
void BM_AlphaBlendRow(benchmark::State& state) {
    std::vector<uint32_t> row(kWidth, 0xFF202020u);
    const KivColor colour{90, 200, 255, 96};
    for (auto _ : state) {
        if (state.range(0) == 0) {
            KivAlphaBlendRow::Scalar(colour, row.data(), kWidth);
        } else {
            KivAlphaBlendRow::Vector(colour, row.data(), kWidth);
        }
        benchmark::ClobberMemory();
    }
    SetPixelsProcessed(state, kWidth);
}
BENCHMARK(BM_AlphaBlendRow)->Arg(0)->Arg(1);

// A per-pixel mode without a vector loop, for comparison.
void BM_ColorModeFillFullEditor(benchmark::State& state) {
    KivBitmap bitmap(kWidth, kHeight);
    bitmap.Clear(KivColor{40, 120, 200, 255});
    KivDrawerToKivBitmap drawer(bitmap);
    for (auto _ : state) {
        drawer.FillRectangle(bitmap.Bounds(), KivColor{200, 60, 10, 128}, KivDrawingMode::kColor);
        benchmark::ClobberMemory();
    }
    SetPixelsProcessed(state, kWidth * kHeight);
}
BENCHMARK(BM_ColorModeFillFullEditor);

// A control label: measuring, placing and blending about twenty glyphs (cache warm).
void BM_CentredLabel(benchmark::State& state) {
    KivBitmap bitmap(kWidth, kHeight);
    KivDrawerToKivBitmap drawer(bitmap);
    const KivFont& font = KivFont::OfSize(static_cast<double>(state.range(0)));
    const KivString text = "Threshold -24.0 dB";
    for (auto _ : state) {
        drawer.AlignedTextOut(font, text, KivRect{100, 100, 299, 129}, KivTextAlignment::kCentred,
                              KivColor{230, 235, 240, 255}, KivDrawingMode::kAlphablend);
    }
    state.SetItemsProcessed(state.iterations() * text.Length());
}
BENCHMARK(BM_CentredLabel)->Arg(11)->Arg(24);

// First use of a size: every glyph rendered by the font engine.
void BM_GlyphRendering(benchmark::State& state) {
    const KivFont& font = KivFont::OfSize(13);
    int phase = 0;
    KivBitmap bitmap(kWidth, 40);
    KivDrawerToKivBitmap drawer(bitmap);
    for (auto _ : state) {
        // A size not used before gets fresh glyphs; the registry keeps each size.
        const KivFont& fresh = KivFont::OfSize(200.0 + (phase++ % 1000) / 4.0);
        (void)font;
        drawer.AlignedTextOut(fresh, "abcdefghij", KivRect{0, 0, 799, 39}, 0, KivColor{}, KivDrawingMode::kAlphablend);
    }
    state.SetItemsProcessed(state.iterations() * 10);
}
BENCHMARK(BM_GlyphRendering)->Iterations(200);

void BM_AntiAliasedShapes(benchmark::State& state) {
    KivBitmap bitmap(kWidth, kHeight);
    KivDrawerToKivBitmap drawer(bitmap);
    std::vector<KivPointF> curve;
    for (int i = 0; i <= 400; ++i) curve.push_back(KivPointF{20.0 + i, 460.0 - i * 0.8 - (i % 50) * 0.3});
    for (auto _ : state) {
        drawer.FillRoundRectangle(KivRect{20, 20, 420, 470}, 8, KivColor{20, 21, 26, 255}, KivDrawingMode::kAlphablend);
        drawer.FillCircle(KivPoint{600, 200}, 32, KivColor{55, 47, 42, 255}, KivDrawingMode::kAlphablend);
        drawer.Circle(KivPoint{600, 200}, 32, KivColor{87, 76, 69, 255}, KivDrawingMode::kAlphablend);
        drawer.PolyLineF(curve.data(), static_cast<int32_t>(curve.size()), KivColor{255, 208, 90, 255},
                         KivDrawingMode::kAlphablend);
    }
}
BENCHMARK(BM_AntiAliasedShapes);

}  // namespace
