// What the map view draws of the selection: the floating fields as they will lie (and the brush
// where a move lifted them), and a frame around the selected or floating rectangle that shows
// on any tile picture.
#pragma once

namespace editor {

// Over the fields, under the players.
void DrawFloatingFields();
// Over everything but the view's texts.
void DrawSelectionFrame();

}  // namespace editor
