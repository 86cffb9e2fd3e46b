// The editor's program-wide state.
#include "editor/EditorState.h"

namespace editor {

ViewState View;
LoopState Loop;
EditorHandles Handles;
PaintState Painting;
NavigationState Navigation;
PaletteState Palette;

void ResetEditorState() {
    View = ViewState{};
    Loop = LoopState{};
    Handles = EditorHandles{};
    Painting = PaintState{};
    Navigation = NavigationState{};
    Palette = PaletteState{};
}

}  // namespace editor
