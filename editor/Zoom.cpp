// The map view's fields enlarged and reduced, drawn by the map picture's code.
#include "editor/Zoom.h"

#include "editor/EditorState.h"
#include "editor/MapDocument.h"
#include "editor/TileSet.h"
#include "editor/ViewScale.h"
#include "gui/Gadget.h"
#include "screen/Screen.h"
#include "screen/Sprite.h"

namespace editor {

void DrawZoomedFields() {
    const screen::PixelView view = screen::ScreenPixels();
    const PictureSource source{&Document, screen::SpritePixels(kTileSet), TileSets.Version,
                               gui::GadgetGetState(kZMaskBox)};
    if (View.ZoomLevel > 0) {
        DrawEnlarged(source, View.ZoomLevel, View.ScrollX, View.ScrollY, view);
        return;
    }
    const std::int64_t k = Reduction();
    ViewCaches.Reductions.Draw(source, -View.ZoomLevel, FloorDiv(View.ScrollX, k),
                               FloorDiv(View.ScrollY, k), view);
}

std::size_t ZoomTableBytes() { return ViewCaches.Reductions.TableBytes(); }

std::size_t ZoomPyramidBytes() { return ViewCaches.Reductions.PyramidBytes(); }

}  // namespace editor
