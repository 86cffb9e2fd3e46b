// The whole editor started in the benchmark's process on the sample map Wald, without a display,
// with the frame pacing set far above the display's rate so that the flip does not wait.
#pragma once

#include <filesystem>

#include "editor/EditorWindow.h"
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

}  // namespace bench_support
