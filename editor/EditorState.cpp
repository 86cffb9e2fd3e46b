// The editor's program-wide state.
#include "editor/Selection.h"
#include "editor/EditorState.h"

#include "editor/History.h"
#include "editor/RandomBrush.h"
#include "editor/Recovery.h"
#include "editor/TileSet.h"

namespace editor {

ViewState View;
RightDragState RightDrag;
EditorHandles Handles;
PaintState Painting;
NavigationState Navigation;
PaletteState Palette;
OverviewState Overview;
ViewCacheState ViewCaches;
ShownState Shown;

void ResetEditorState() {
    View = ViewState{};
    RightDrag = RightDragState{};
    Handles = EditorHandles{};
    Painting = PaintState{};
    Navigation = NavigationState{};
    Palette = PaletteState{};
    Overview = OverviewState{};
    ViewCaches = ViewCacheState{};
    Shown = ShownState{};
    ResetHistory();
    ResetTileSetState();
    ResetRecovery();
    ResetSelection();
    ResetRandomBrush();
}

}  // namespace editor
