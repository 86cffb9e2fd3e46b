// The editor's program-wide state.
#include "editor/EditorState.h"

namespace editor {

ViewState View;
LoopState Loop;
EditorHandles Handles;

void ResetEditorState() {
    View = ViewState{};
    Loop = LoopState{};
    Handles = EditorHandles{};
}

}  // namespace editor
