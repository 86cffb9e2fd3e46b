// The editor's program-wide state.
#include "editor/EditorState.h"

#include "editor/History.h"
#include "editor/Recovery.h"
#include "editor/TileSet.h"

namespace editor {

ViewState View;
LoopState Loop;
EditorHandles Handles;
ShownState Shown;

void ResetEditorState() {
    View = ViewState{};
    Loop = LoopState{};
    Handles = EditorHandles{};
    Shown = ShownState{};
    ResetHistory();
    ResetTileSetState();
    ResetRecovery();
}

}  // namespace editor
