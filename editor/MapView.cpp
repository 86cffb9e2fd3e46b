// Drawing the map view: the fields and the markers by the map picture's code (MapPicture.h; at
// other scales than 1:1 through Zoom.cpp), then the hover frame, the texts and the brush
// preview. Markers, the hover frame and the texts are the same at every scale, placed through
// the view's one mapping.
#include "editor/MapView.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "editor/EditorState.h"
#include "editor/GridView.h"
#include "editor/MapDocument.h"
#include "editor/MapPicture.h"
#include "editor/SelectionView.h"
#include "editor/ViewScale.h"
#include "editor/Zoom.h"
#include "gui/Gadget.h"
#include "gui/Window.h"
#include "runtime/RtString.h"
#include "screen/Drawing.h"
#include "screen/Screen.h"
#include "screen/Sprite.h"

namespace editor {
namespace {

constexpr std::int32_t kBlack = 0;
constexpr std::int32_t kRed = 0xFF;
constexpr std::int32_t kModeTransparentText = 1;
constexpr std::int32_t kModeOutlined = 4;

// The markers at the view's positions of their map pixels, the numbers through the drawing
// context; `view` is the back buffer, taken before the context was.
void DrawPlayers(const screen::PixelView& view) {
    const MarkerPlacement placement{[](std::int64_t m) { return ViewX(m); },
                                    [](std::int64_t m) { return ViewY(m); },
                                    gui::GadgetGetState(kPlayerBar)};
    DrawPlayerMarkers(
        view, 0, Document, placement,
        [](std::int32_t x, std::int32_t y, std::string_view text, std::int32_t colour) {
            screen::DrawFrontColor(colour);
            screen::DrawingMode(kModeTransparentText);
            screen::DrawText(x, y, text);
        });
}

void DrawStatusTexts() {
    using runtime::StringFromLong;
    const std::string position =
        "Posi (" + StringFromLong(View.MouseMapX) + ";" + StringFromLong(View.MouseMapY) + ")";
    const std::string field =
        "Feld (" + StringFromLong(View.HoverFieldX) + ";" + StringFromLong(View.HoverFieldY) + ")";
    // Black first, then red one pixel up and left: a shadow.
    for (const auto& [colour, offset] : {std::pair{kBlack, 0}, std::pair{kRed, -1}}) {
        screen::DrawFrontColor(colour);
        screen::DrawText(280 + offset, 5 + offset, position);
        screen::DrawText(5 + offset, 5 + offset, field);
    }
}

void DrawBrushPreview() {
    const std::int32_t brush = gui::GadgetGetState(kBrushBar);
    const std::int32_t fw = Document.FieldWidth;
    const std::int32_t fh = Document.FieldHeight;
    screen::DrawingStart(screen::ScreenOutput());
    screen::DrawBox(Wrap(470 - std::int64_t{fw}), Wrap(470 - std::int64_t{fh}),
                    Wrap(std::int64_t{fw} + 20), Wrap(std::int64_t{fh} + 20));
    if (std::int64_t{brush} * fw >= Document.TileSetWidth) {
        screen::DrawFrontColor(kRed);
        screen::DrawingMode(kModeTransparentText);
        screen::DrawText(Wrap(480 - std::int64_t{fw}), Wrap(480 - std::int64_t{fh}), "LEER");
    }
    screen::DrawingStop();
    screen::SpriteClip(kTileSet, Wrap(std::int64_t{brush} * fw), 0, fw, fh);
    screen::SpriteDisplay(kTileSet, Wrap(480 - std::int64_t{fw}), Wrap(480 - std::int64_t{fh}));
}

// The red outline over the field under the mouse: every view pixel that shows a pixel of it.
void DrawHoverFrame() {
    const std::int64_t left = std::int64_t{View.HoverFieldX} * Document.FieldWidth;
    const std::int64_t top = std::int64_t{View.HoverFieldY} * Document.FieldHeight;
    const std::int64_t x = ViewFirst(left, View.ScrollX);
    const std::int64_t y = ViewFirst(top, View.ScrollY);
    screen::DrawBox(Wrap(x), Wrap(y),
                    Wrap(ViewLast(left + Document.FieldWidth - 1, View.ScrollX) - x + 1),
                    Wrap(ViewLast(top + Document.FieldHeight - 1, View.ScrollY) - y + 1));
}

}  // namespace

void DrawMapView() {
    const screen::PixelView view = screen::ScreenPixels();
    if (View.ZoomLevel == 0) {
        screen::ScreenClear(kViewBackground);
        DrawFieldsOneToOne(view, Document, screen::SpritePixels(kTileSet),
                           gui::GadgetGetState(kZMaskBox), View.ScrollX, View.ScrollY);
    } else {
        DrawZoomedFields();  // sets every pixel, grey where no tile lies
    }
    DrawFloatingFields();
    DrawGrid();

    screen::DrawingStart(screen::ScreenOutput());
    screen::DrawFrontColor(kBlack);
    DrawPlayers(view);

    screen::DrawingMode(kModeOutlined);
    screen::DrawFrontColor(kRed);
    DrawHoverFrame();

    screen::DrawingMode(kModeTransparentText);
    screen::DrawingFont(Handles.ViewFont);
    DrawStatusTexts();
    screen::DrawingStop();
    DrawSelectionFrame();

    if (gui::WindowMouseX(kMainWindow) > gui::GadgetX(kBrushBar) &&
        gui::WindowMouseY(kMainWindow) > gui::GadgetY(kBrushBar)) {
        DrawBrushPreview();
    }
    screen::ScreenFlip();
}

}  // namespace editor
