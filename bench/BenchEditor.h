// The whole editor started in the benchmark's process on the sample map Wald, without a display,
// with the frame pacing set far above the display's rate so that the flip does not wait.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>

#include "editor/EditorState.h"
#include "editor/EditorWindow.h"
#include "editor/FieldChanges.h"
#include "editor/History.h"
#include "editor/MainLoop.h"
#include "editor/MapCommands.h"
#include "editor/MapDocument.h"
#include "gui/Gui.h"
#include "runtime/Runtime.h"
#include "screen/Screen.h"
#include "screen/ScreenInstall.h"

namespace bench_support {

struct BenchEditor {
    BenchEditor() {
        std::filesystem::current_path(MAPEDITOR_SAMPLES_DIR);
        gui::GuiInstall();
        screen::ScreenInstall();
        runtime::RuntimeStart();
        editor::BuildEditorWindow();
        editor::NewMap();
        editor::Document.FileName = "Wald";
        editor::LoadMap();
        screen::ScreenSetFrameRate(1000000);
    }
};

// The sample map's tiles over (lastField + 1) x (lastField + 1) fields, written past the
// history, the view scrolled to the map's corner.
inline void FillMap(std::int32_t lastField) {
    editor::Document.LastFieldX = lastField;
    editor::Document.LastFieldY = lastField;
    for (int x = 0; x <= lastField; ++x) {
        for (int y = 0; y <= lastField; ++y) editor::Document.Fields(x, y) = (x * 7 + y * 3) % 8;
    }
    editor::NoteAllFieldsChanged();
    editor::View.ScrollX = 0;
    editor::View.ScrollY = 0;
}

// Each iteration paints one field (a step of its own in the history) and runs the pass that
// shows it.
inline void PaintOneFieldEachIteration(benchmark::State& state) {
    std::int32_t tile = 1;
    for (auto _ : state) {
        tile = 3 - tile;
        editor::SetField(2, 3, tile);
        editor::EditorPass(512);
    }
    editor::HistoryClear();
}

}  // namespace bench_support
