// Paint passes of a window tree through the back buffer (offscreen window system): the
// whole window, and one small dirty rectangle, as a meter update causes.
#include <benchmark/benchmark.h>

#include <memory>

#include "gui/core/kiv_window.h"
#include "gui/core/kiv_windows.h"
#include "gui/drawing/kiv_drawer.h"
#include "gui/offscreen/kiv_window_system_offscreen.h"

namespace {

struct Tile : KivControl {
    explicit Tile(KivColor colour) : colour(colour) {}
    void Paint(KivDrawer& drawer, const KivRect&) override {
        drawer.FillRectangle(GetWindowRect(), colour, KivDrawingMode::kAlphablend);
    }
    KivColor colour;
};

// An editor-sized window: 800 x 500, tiled 16 x 13.
constexpr int kWidth = 800;
constexpr int kHeight = 500;

struct Fixture {
    Fixture() : system(new KivWindowSystemOffscreen()), windows(system) {
        window.SetBounds(KivRect{0, 0, kWidth - 1, kHeight - 1});
        for (int row = 0; row < kHeight / 37; ++row) {
            for (int column = 0; column < kWidth / 50; ++column) {
                auto* tile = new Tile(KivColor::Rgb(static_cast<uint8_t>(row * 18), 90, static_cast<uint8_t>(column * 15), 200));
                tile->SetBounds(KivRect{column * 50 + 2, row * 37 + 2, column * 50 + 47, row * 37 + 34});
                window.AddChild(tile);
            }
        }
        window.Show();
        system->ProcessPendingEvents();
    }
    KivWindowSystemOffscreen* system;
    KivWindows windows;
    KivWindow window;
};

void BM_PaintWholeWindow(benchmark::State& state) {
    Fixture fixture;
    const KivRect all = fixture.window.GetClientRect();
    for (auto _ : state) {
        fixture.system->PaintWindow(fixture.window, all, nullptr);
        fixture.system->TakePaintedRects();
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_PaintWholeWindow);

void BM_PaintMeterRectangle(benchmark::State& state) {
    Fixture fixture;
    const KivRect meter{52, 39, 97, 71};
    for (auto _ : state) {
        fixture.system->PaintWindow(fixture.window, meter, nullptr);
        fixture.system->TakePaintedRects();
    }
}
BENCHMARK(BM_PaintMeterRectangle);

}  // namespace
