// The GUI thread's work for an open TandrelMini editor, per 50 ms refresh step, through the
// offscreen window system: with nothing changing (the idle cost) and with audio playing
// (meters and held values published and repainted); and the same with audio through the X11
// window system when a display is available (a top-level window; run it under Xvfb for a
// quiet machine). Divide by 50 ms for the share of one core: kiv_bench_editor
// --benchmark_counters_tabular=true prints it as "core%".
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <memory>
#include <thread>

#include "dynamics/editor/tandrel_dynamics_editor.h"
#include "dynamics/editor/tandrel_level_history_view.h"
#include "gui/core/kiv_window_system_native.h"
#include "gui/core/kiv_windows.h"
#include "gui/offscreen/kiv_window_system_offscreen.h"
#include "tests/dynamics/processing/tandrel_rig.h"

namespace {

constexpr int32_t kStepSamples = 44100 * TandrelDynamicsEditor::kRefreshMilliseconds / 1000;

struct OpenEditor {
    OpenEditor() : system(new KivWindowSystemOffscreen()), windows(system) {
        KivAudioPlugin::SetEditorFactory(&TandrelDynamicsEditor::Create);
        editor = static_cast<TandrelDynamicsEditor*>(rig.plugin.CreateEditor(nullptr));
        editor->Open(0);
        for (int i = 0; i < 3; ++i) Step();
    }
    ~OpenEditor() { rig.plugin.DestroyEditor(); }
    // One refresh step as the timer runs it, then what the invalidator hands over.
    void Step() {
        system->AdvanceClock(TandrelDynamicsEditor::kRefreshMilliseconds);
        system->ProcessPendingEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        system->ProcessPendingEvents();
    }

    KivWindowSystemOffscreen* system;
    KivWindows windows;
    TandrelRig rig;
    TandrelDynamicsEditor* editor = nullptr;
};

void Report(benchmark::State& state, double seconds, int64_t steps, int64_t paints) {
    const double perStep = seconds / static_cast<double>(steps);
    state.counters["core%"] = 100.0 * perStep / (TandrelDynamicsEditor::kRefreshMilliseconds / 1000.0);
    state.counters["paints/step"] = static_cast<double>(paints) / static_cast<double>(steps);
}

// The timer's refresh and the event pumping when nothing moves: no meter, control or text
// changes, so nothing is repainted.
void BM_EditorIdleStep(benchmark::State& state) {
    OpenEditor open;
    const int64_t paints = open.system->GetPaintCount();
    double seconds = 0.0;
    for (auto _ : state) {
        open.system->AdvanceClock(TandrelDynamicsEditor::kRefreshMilliseconds);
        const auto start = std::chrono::steady_clock::now();
        open.system->ProcessPendingEvents();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    Report(state, seconds, state.iterations(), open.system->GetPaintCount() - paints);
}
BENCHMARK(BM_EditorIdleStep)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Stereo programme material compressed hard, 50 ms of it per step: the refresh publishes the
// meters and held values and the repaint of what changed follows. Only the GUI thread's part
// is timed; the audio processing and the invalidator's 50 ms merge wait are not.
void BM_EditorMeterStepWithAudio(benchmark::State& state) {
    OpenEditor open;
    open.rig.Compressor(-30.0, 8.0);
    int64_t sample = 0;
    const int64_t paints = open.system->GetPaintCount();
    double seconds = 0.0;
    for (auto _ : state) {
        open.rig.Run(kStepSamples, [&](int32_t i) {
            const double t = static_cast<double>(sample + i) / 44100.0;
            return static_cast<float>(0.6 * std::sin(2.0 * M_PI * 110.0 * t) * (0.5 + 0.5 * std::sin(2.0 * M_PI * 1.3 * t)));
        });
        sample += kStepSamples;
        open.system->AdvanceClock(TandrelDynamicsEditor::kRefreshMilliseconds);
        auto start = std::chrono::steady_clock::now();
        open.system->ProcessPendingEvents();  // the refresh step
        double step = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        start = std::chrono::steady_clock::now();
        open.system->ProcessPendingEvents();  // the repaint
        step += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        seconds += step;
        state.SetIterationTime(step);
    }
    Report(state, seconds, state.iterations(), open.system->GetPaintCount() - paints);
}
BENCHMARK(BM_EditorMeterStepWithAudio)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(60);

// The whole editor with audio playing, as it runs on screen: the level history's frames every
// 25 ms (40 a second) and the meters' refresh every 50 ms, each with its repaint. One
// iteration is 25 ms of audio and of the offscreen clock; only the GUI thread's work is timed
// (the audio processing and the invalidator's merge wait are not), so core% is the share of
// one core the open editor takes while audio plays. "cpu-core%" is the same from the
// process's CPU time over the timed parts, which a busy machine's preemption does not
// inflate. "frames/s" counts the history's frames per second of clock.
void BM_EditorWithLevelHistory(benchmark::State& state) {
    OpenEditor open;
    open.rig.Compressor(-30.0, 8.0);
    constexpr int32_t kFrame = TandrelLevelHistoryView::kFrameMilliseconds;
    constexpr int32_t kFrameSamples = 44100 * kFrame / 1000;
    TandrelLevelHistoryView* history = open.editor->LevelHistory();
    const int64_t framesBefore = history ? history->GetFrameCount() : 0;
    int64_t sample = 0;
    const int64_t paints = open.system->GetPaintCount();
    double seconds = 0.0;
    std::clock_t cpu = 0;
    for (auto _ : state) {
        open.rig.Run(kFrameSamples, [&](int32_t i) {
            const double t = static_cast<double>(sample + i) / 44100.0;
            return static_cast<float>(0.6 * std::sin(2.0 * M_PI * 110.0 * t) * (0.5 + 0.5 * std::sin(2.0 * M_PI * 1.3 * t)));
        });
        sample += kFrameSamples;
        open.system->AdvanceClock(kFrame);
        auto start = std::chrono::steady_clock::now();
        std::clock_t cpuStart = std::clock();
        open.system->ProcessPendingEvents();  // the history's frame (and every other step the refresh)
        cpu += std::clock() - cpuStart;
        double step = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::this_thread::sleep_for(std::chrono::milliseconds(kFrame));
        start = std::chrono::steady_clock::now();
        cpuStart = std::clock();
        open.system->ProcessPendingEvents();  // repaints the invalidator handed over meanwhile
        cpu += std::clock() - cpuStart;
        step += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        seconds += step;
        state.SetIterationTime(step);
    }
    const auto steps = static_cast<double>(state.iterations());
    state.counters["core%"] = 100.0 * seconds / steps / (kFrame / 1000.0);
    state.counters["cpu-core%"] = 100.0 * static_cast<double>(cpu) / CLOCKS_PER_SEC / steps / (kFrame / 1000.0);
    state.counters["paints/step"] = static_cast<double>(open.system->GetPaintCount() - paints) / steps;
    if (history) state.counters["frames/s"] = static_cast<double>(history->GetFrameCount() - framesBefore) / (steps * kFrame / 1000.0);
}
BENCHMARK(BM_EditorWithLevelHistory)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(120);

#if !defined(_WIN32)
// The refresh step and the repaint through a real X11 window: publishing, the invalidator's
// hand-over and the pixels sent to the server. Argument 0: nothing plays (the idle cost);
// 1: audio plays.
void BM_EditorStepX11(benchmark::State& state) {
    const bool playing = state.range(0) != 0;
    std::unique_ptr<KivWindows> windows;
    KivWindowSystemX11* system = new KivWindowSystemX11();
    try {
        windows = std::make_unique<KivWindows>(system);
    } catch (const KivException&) {
        state.SkipWithError("no X display");
        return;
    }
    TandrelRig rig;
    rig.Compressor(-30.0, 8.0);
    KivAudioPlugin::SetEditorFactory(&TandrelDynamicsEditor::Create);
    auto* editor = static_cast<TandrelDynamicsEditor*>(rig.plugin.CreateEditor(nullptr));
    editor->Open(0);
    for (int i = 0; i < 20; ++i) {
        system->ProcessPendingEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    int64_t sample = 0;
    const int64_t paints = system->GetPaintCount();
    double seconds = 0.0;
    for (auto _ : state) {
        if (playing) {
            rig.Run(kStepSamples, [&](int32_t i) {
                const double t = static_cast<double>(sample + i) / 44100.0;
                return static_cast<float>(0.6 * std::sin(2.0 * M_PI * 110.0 * t) *
                                          (0.5 + 0.5 * std::sin(2.0 * M_PI * 1.3 * t)));
            });
            sample += kStepSamples;
        }
        auto start = std::chrono::steady_clock::now();
        editor->Refresh();
        system->ProcessPendingEvents();
        double step = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        start = std::chrono::steady_clock::now();
        system->ProcessPendingEvents();
        step += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        seconds += step;
        state.SetIterationTime(step);
    }
    Report(state, seconds, state.iterations(), system->GetPaintCount() - paints);
    rig.plugin.DestroyEditor();
}
BENCHMARK(BM_EditorStepX11)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(60);
#endif

}  // namespace
