// The overview on a 1000 x 1000 map: one painted field and the pass that shows it with the
// overview open against the same without it (the overview makes again only the pixels the field
// lies in), and a mouse movement's pass with it open against one without it (nothing changed:
// it draws nothing). The frame pacing is set far above the display's rate so that the flip does
// not wait.
#include <cstdlib>

#include "BenchEditor.h"
#include "BenchRatio.h"
#include "editor/EditorState.h"
#include "editor/FieldChanges.h"
#include "editor/History.h"
#include "editor/MainLoop.h"
#include "editor/MapDocument.h"
#include "editor/Overview.h"

namespace {

// The sample map's tiles over 1000 x 1000 fields, scrolled to its corner.
struct LargeMap : bench_support::BenchEditor {
    LargeMap() { bench_support::FillMap(999); }
};

void UseOverview(bool open) {
    static LargeMap map;
    if (open) {
        editor::OpenOverview();
    } else {
        editor::CloseOverview();
    }
    editor::HistoryClear();
    editor::EditorPass(512);
}

// One field painted (a step of its own in the history), then the pass that shows it.
void PaintOneField(benchmark::State& state, bool overview) {
    UseOverview(overview);
    bench_support::PaintOneFieldEachIteration(state);
}
void PaintWithOverview(benchmark::State& state) { PaintOneField(state, true); }
void PaintWithoutOverview(benchmark::State& state) { PaintOneField(state, false); }

void MoveMouse(benchmark::State& state, bool overview) {
    UseOverview(overview);
    for (auto _ : state) editor::EditorPass(512);
}
void PassWithOverview(benchmark::State& state) { MoveMouse(state, true); }
void PassWithoutOverview(benchmark::State& state) { MoveMouse(state, false); }

BENCHMARK(PaintWithOverview)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(PaintWithoutOverview)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(PassWithOverview)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(PassWithoutOverview)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return bench_support::RunWithRatios(argc, argv,
                                        {{"PaintWithOverview", "PaintWithoutOverview"},
                                         {"PassWithOverview", "PassWithoutOverview"}},
                                        {1.1, 1.05});
}
