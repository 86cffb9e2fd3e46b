// Drawing the map view. Only the fields that intersect the view are drawn: the picture is the
// same as drawing every field and letting the screen cut them, at a cost that does not grow
// with the map. At other scales than 1:1 Zoom.cpp draws the fields; markers, the hover frame
// and the texts are the same at every scale, placed through the view's one mapping.
#include "editor/MapView.h"

#include <algorithm>
#include <string>

#include "editor/EditorState.h"
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
constexpr std::int32_t kModePlain = 0;
constexpr std::int32_t kModeTransparentText = 1;
constexpr std::int32_t kModeOutlined = 4;

void DrawFields() {
    const std::int64_t fw = Document.FieldWidth;
    const std::int64_t fh = Document.FieldHeight;
    if (fw < 1 || fh < 1) return;
    // A field covers fw x fh pixels from (x * fw - ScrollX, y * fh - ScrollY) at most.
    const std::int64_t firstX = std::max<std::int64_t>(0, FloorDiv(View.ScrollX, fw));
    const std::int64_t lastX =
        std::min<std::int64_t>({Document.LastFieldX, kFieldsSize - 1,
                                FloorDiv(std::int64_t{View.ScrollX} + kViewSize - 1, fw)});
    const std::int64_t firstY = std::max<std::int64_t>(0, FloorDiv(View.ScrollY, fh));
    const std::int64_t lastY =
        std::min<std::int64_t>({Document.LastFieldY, kFieldsSize - 1,
                                FloorDiv(std::int64_t{View.ScrollY} + kViewSize - 1, fh)});
    const std::int32_t row = gui::GadgetGetState(kZMaskBox);
    for (std::int64_t y = firstY; y <= lastY; ++y) {
        for (std::int64_t x = firstX; x <= lastX; ++x) {
            const TileOrigin tile = TileClipOrigin(Document.Fields(x, y), row,
                                                   Document.FieldWidth, Document.FieldHeight);
            screen::SpriteClip(kTileSet, tile.x, tile.y, Document.FieldWidth,
                               Document.FieldHeight);
            screen::SpriteDisplay(kTileSet, Wrap(x * fw - View.ScrollX),
                                  Wrap(y * fh - View.ScrollY));
        }
    }
}

void DrawPlayers() {
    const std::int32_t current = gui::GadgetGetState(kPlayerBar);
    const std::int32_t count = std::min(Document.PlayerCount, kPlayersUpperBound);
    for (std::int32_t p = 1; p <= count; ++p) {
        screen::DrawFrontColor(kMarkerColour);
        if (p == current) screen::DrawFrontColor(kCurrentMarkerColour);
        screen::DrawingMode(kModeOutlined);
        const std::int32_t markerX = ViewX(Document.Players(p).X);
        const std::int32_t markerY = ViewY(Document.Players(p).Y);
        screen::DrawCircle(markerX, markerY, kMarkerRadius);
        screen::DrawLine(Wrap(std::int64_t{markerX} - kMarkerRadius), markerY,
                         Wrap(std::int64_t{markerX} + kMarkerRadius), markerY);
        screen::DrawLine(markerX, Wrap(std::int64_t{markerY} - kMarkerRadius), markerX,
                         Wrap(std::int64_t{markerY} + kMarkerRadius));
        screen::DrawingMode(kModePlain);
        const DotOffset dot = DirectionDot(markerX, markerY, Document.Players(p).Direction);
        screen::DrawCircle(Wrap(std::int64_t{markerX} + dot.dx),
                           Wrap(std::int64_t{markerY} + dot.dy), kDotRadius);
        screen::DrawingMode(kModeTransparentText);
        screen::DrawText(Wrap(std::int64_t{markerX} + kNumberOffsetX),
                         Wrap(std::int64_t{markerY} + kNumberOffsetY),
                         runtime::StringFromLong(p));
    }
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
    if (View.ZoomLevel == 0) {
        screen::ScreenClear(kViewBackground);
        DrawFields();
    } else {
        DrawZoomedFields();  // sets every pixel, grey where no tile lies
    }
    DrawFloatingFields();

    screen::DrawingStart(screen::ScreenOutput());
    screen::DrawFrontColor(kBlack);
    DrawPlayers();

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
