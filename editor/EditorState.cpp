// The editor's program-wide state.
#include "editor/EditorState.h"

#include "editor/History.h"
#include "editor/Recovery.h"
#include "editor/TileSet.h"

namespace editor {

ViewState View;
LoopState Loop;
EditorHandles Handles;
PaintState Painting;
NavigationState Navigation;
PaletteState Palette;
ViewCacheState ViewCaches;
ShownState Shown;

void ResetEditorState() {
    View = ViewState{};
    Loop = LoopState{};
    Handles = EditorHandles{};
    Painting = PaintState{};
    Navigation = NavigationState{};
    Palette = PaletteState{};
    ViewCaches = ViewCacheState{};
    Shown = ShownState{};
    ResetHistory();
    ResetTileSetState();
    ResetRecovery();
}

}  // namespace editor
