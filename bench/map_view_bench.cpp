// Drawing the map view of a 1000 x 1000 map against an 8 x 8 map, both filling the whole
// view from the same scroll position, the cost of one main-loop pass against the frame period
// (also with a large undo history and the map changed, at 1:16, and at the scale that shows the
// whole map), a pass after one painted field at the whole-map scale against one at 1:1, the
// 1:1 pass against its drawing steps alone (what the input steps cost), recording a fill of the
// whole grid in the history and a flood fill of it against a memset, and the memory kept for
// zooming against the tile set's own and against the grid's; the passes with the grid on
// against off, and a rectangle of the whole map, with the brush and with a random brush,
// against a flood fill of it. The frame pacing is set far above the display's rate so that the
// flip does not wait.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "BenchEditor.h"
#include "BenchRatio.h"
#include "editor/EditorState.h"
#include "editor/EditorWindow.h"
#include "editor/FieldChanges.h"
#include "editor/History.h"
#include "editor/MainLoop.h"
#include "editor/MapCommands.h"
#include "editor/MapDocument.h"
#include "editor/MapView.h"
#include "editor/Navigation.h"
#include "editor/Painting.h"
#include "editor/RandomBrush.h"
#include "editor/ViewScale.h"
#include "editor/Zoom.h"
#include "gui/Gui.h"
#include "gui/Window.h"
#include "runtime/Runtime.h"
#include "screen/Screen.h"
#include "screen/ScreenInstall.h"
#include "screen/Sprite.h"

namespace {

void UseMap(std::int32_t lastField) {
    static bench_support::BenchEditor editor;
    bench_support::FillMap(lastField);
    editor::ResetZoom();
}

void DrawLargeMap(benchmark::State& state) {
    UseMap(999);
    for (auto _ : state) editor::DrawMapView();
}

void DrawSmallMap(benchmark::State& state) {
    UseMap(7);
    for (auto _ : state) editor::DrawMapView();
}

// A whole pass for a mouse movement over the view of the large map, without the frame wait.
void PassOnLargeMap(benchmark::State& state) {
    UseMap(999);
    for (auto _ : state) editor::EditorPass(512);
}

// The same pass while the map is changed and its history holds a fill of the whole grid and
// 100,000 single-field steps: the history and the changed state must not cost a pass anything
// that grows with them.
void PassWithHistory(benchmark::State& state) {
    UseMap(999);
    editor::HistoryClear();
    editor::HistoryBeginGroup();
    for (int x = 0; x <= 999; ++x) {
        for (int y = 0; y <= 999; ++y) editor::SetField(x, y, 9);
    }
    editor::HistoryEndGroup();
    for (int i = 0; i < 100000; ++i) editor::SetField(i % 1000, i / 1000, 3);
    editor::EditorPass(512);  // the title shows the change once
    for (auto _ : state) editor::EditorPass(512);
    state.counters["history_MB"] = static_cast<double>(editor::HistoryBytes()) / (1 << 20);
    editor::HistoryClear();
}

// Writing every field of the grid through the history in one step, against writing the grid
// once with memset: the cost of recording a fill.
void FillThroughHistory(benchmark::State& state) {
    UseMap(999);
    editor::HistoryClear();
    std::int32_t tile = 1;
    for (auto _ : state) {
        tile = 3 - tile;  // every field changes each time
        editor::HistoryBeginGroup();
        for (int x = 0; x <= 999; ++x) {
            for (int y = 0; y <= 999; ++y) editor::SetField(x, y, tile);
        }
        editor::HistoryEndGroup();
    }
    editor::HistoryClear();
}

// The same pass at the scale "Ganze Karte" chooses: 1:128 for 1000 fields of 64 pixels.
void PassAtWholeMapScale(benchmark::State& state) {
    UseMap(999);
    editor::ViewMenuCommand(editor::kItemWholeMap);
    for (auto _ : state) editor::EditorPass(512);
}

// The same pass at 1:16.
void PassAtOneToSixteen(benchmark::State& state) {
    UseMap(999);
    editor::View.ZoomLevel = -4;
    for (auto _ : state) editor::EditorPass(512);
    editor::ResetZoom();
}

// The passes at the whole-map scale and at 1:16 with "Gitter" on: at 1:128 a field is half a
// pixel and no line is drawn; at 1:16 it is 4 pixels, the finest grid drawn.
void PassWithGrid(benchmark::State& state, bool wholeMap) {
    UseMap(999);
    if (wholeMap) {
        editor::ViewMenuCommand(editor::kItemWholeMap);
    } else {
        editor::View.ZoomLevel = -4;
    }
    editor::View.Grid = true;
    for (auto _ : state) editor::EditorPass(512);
    editor::View.Grid = false;
    editor::ResetZoom();
}
void PassAtWholeMapScaleWithGrid(benchmark::State& state) { PassWithGrid(state, true); }
void PassAtOneToSixteenWithGrid(benchmark::State& state) { PassWithGrid(state, false); }

// One field painted (a step of its own in the history), then the pass that shows it: at 1:1
// and at the whole-map scale, where the reduced pictures it lies in are made again.
void PaintOneField(benchmark::State& state, bool wholeMap) {
    UseMap(999);
    if (wholeMap) editor::ViewMenuCommand(editor::kItemWholeMap);
    editor::HistoryClear();
    editor::EditorPass(512);
    bench_support::PaintOneFieldEachIteration(state);
    editor::ResetZoom();
}
void PaintAtOneToOne(benchmark::State& state) { PaintOneField(state, false); }
void PaintAtWholeMapScale(benchmark::State& state) { PaintOneField(state, true); }

// The steps of a 1:1 pass for a mouse movement that do anything: where the mouse is, the
// corrections, the window's paint and the drawing.
void PassDrawingOnly(benchmark::State& state) {
    UseMap(999);
    for (auto _ : state) {
        editor::LocateMouse();
        editor::ValidateDocument();
        gui::UpdateWindow(editor::Handles.MainWindow);
        editor::DrawMapView();
    }
}

// A flood fill of the whole grid (through the history), one tile after the other.
void FillWholeGrid(benchmark::State& state) {
    UseMap(999);
    std::memset(editor::Document.Fields.Data(), 0, sizeof(std::int32_t) * 1000 * 1000);
    editor::HistoryClear();
    std::int32_t tile = 1;
    for (auto _ : state) {
        editor::FloodFill(0, 0, tile);
        tile ^= 1;
    }
    editor::HistoryClear();
}

// "Rechteck" over the whole grid, as its release fills it, with the brush and with a random
// brush of four tiles, one tile after the other as the flood fill above.
void RectangleWholeGrid(benchmark::State& state, bool random) {
    UseMap(999);
    std::memset(editor::Document.Fields.Data(), 0, sizeof(std::int32_t) * 1000 * 1000);
    editor::HistoryClear();
    editor::EndRandomBrush();
    if (random) {
        for (const std::int32_t tile : {2, 3, 4, 5}) editor::ToggleRandomTile(tile);
    }
    std::int32_t tile = 1;
    for (auto _ : state) {
        editor::FillWithBrush({0, 0, 999, 999}, tile);
        tile ^= 1;
    }
    editor::EndRandomBrush();
    editor::HistoryClear();
}
void RectangleWholeMap(benchmark::State& state) { RectangleWholeGrid(state, false); }
void RandomRectangleWholeMap(benchmark::State& state) { RectangleWholeGrid(state, true); }

// The largest memory kept for drawing reduced, over every scale of the 1000 x 1000 map, against
// the tile set's pixels.
void PrintZoomMemory() {
    UseMap(999);
    std::size_t most = 0;
    int at = 0;
    for (int level = -1; level >= editor::FittingZoomLevel(); --level) {
        editor::View.ZoomLevel = level;
        editor::DrawMapView();
        if (editor::ZoomTableBytes() > most) {
            most = editor::ZoomTableBytes();
            at = 1 << -level;
        }
    }
    const screen::PixelView set = screen::SpritePixels(editor::kTileSet);
    const double tileSet = 4.0 * set.width * set.height;
    std::printf(
        "memory kept for zooming: %zu bytes at most (at 1:%d), tile set %.0f bytes: %.2fx "
        "(goal at most 1.50x)\n",
        most, at, tileSet, static_cast<double>(most) / tileSet);
    const double grid = 4.0 * editor::kFieldsSize * editor::kFieldsSize;
    std::printf("reduced pictures of the whole map kept: %zu bytes, the grid %.0f bytes: %.2fx\n\n",
                editor::ZoomPyramidBytes(), grid,
                static_cast<double>(editor::ZoomPyramidBytes()) / grid);
    editor::ResetZoom();
}

void MemsetGrid(benchmark::State& state) {
    UseMap(999);
    int tile = 1;
    for (auto _ : state) {
        tile = 3 - tile;
        std::memset(editor::Document.Fields.Data(), tile, sizeof(std::int32_t) * 1000 * 1000);
        benchmark::ClobberMemory();
    }
}

// The frame period of the pacing at its usual rate: 1/61 s.
void FramePeriod(benchmark::State& state) {
    for (auto _ : state) {
        state.SetIterationTime(1.0 / 61.0);
    }
}

BENCHMARK(DrawLargeMap)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(DrawSmallMap)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(PassOnLargeMap)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(PassWithHistory)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(PassAtWholeMapScale)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(PassAtOneToSixteen)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(PassAtWholeMapScaleWithGrid)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(PassAtOneToSixteenWithGrid)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(PaintAtOneToOne)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(PaintAtWholeMapScale)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(PassDrawingOnly)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(FillWholeGrid)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(RectangleWholeMap)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(RandomRectangleWholeMap)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(FillThroughHistory)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(MemsetGrid)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(FramePeriod)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    PrintZoomMemory();
    return bench_support::RunWithRatios(
        argc, argv,
        {{"DrawLargeMap", "DrawSmallMap"},
         {"PassOnLargeMap", "FramePeriod"},
         {"PassWithHistory", "FramePeriod"},
         {"PassWithHistory", "PassOnLargeMap"},
         {"PassAtWholeMapScale", "FramePeriod"},
         {"PassAtOneToSixteen", "FramePeriod"},
         {"PassAtOneToSixteen", "PassOnLargeMap"},
         {"PaintAtWholeMapScale", "PaintAtOneToOne"},
         {"PassOnLargeMap", "PassDrawingOnly"},
         {"FillThroughHistory", "MemsetGrid"},
         {"FillWholeGrid", "MemsetGrid"},
         {"PassAtWholeMapScaleWithGrid", "PassAtWholeMapScale"},
         {"PassAtOneToSixteenWithGrid", "PassAtOneToSixteen"},
         {"RectangleWholeMap", "FillWholeGrid"},
         {"RandomRectangleWholeMap", "FillWholeGrid"}},
        {1.2, 0.1, 0.05, 1.05, 0.02, 0.1, 2, 2, 1.05, 30, 30, 1.05, 1.2, 1.1, 3});
}
