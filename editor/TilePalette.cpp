// The tile palette window: layout, drawing on its canvas, clicks, scrolling.
#include "editor/TilePalette.h"

#include <algorithm>

#include "editor/EditorState.h"
#include "editor/EditorWindow.h"
#include "editor/MapDocument.h"
#include "editor/MapPicture.h"
#include "editor/Navigation.h"
#include "editor/Painting.h"
#include "editor/RandomBrush.h"
#include "editor/SelectionView.h"
#include "editor/TileSet.h"
#include "gui/Gadget.h"
#include "gui/Window.h"
#include "runtime/RtString.h"
#include "screen/Canvas.h"
#include "screen/Drawing.h"
#include "screen/Screen.h"
#include "screen/Sprite.h"

namespace editor {
namespace {

constexpr std::int32_t kClientWidth = 240;  // three cells of 64-pixel tiles and the bar
constexpr std::int32_t kClientHeight = 560;
constexpr std::int32_t kScrollBarWidth = 24;
constexpr std::int32_t kCanvasWidth = kClientWidth - kScrollBarWidth;
constexpr std::int32_t kWindowFlags =
    gui::WINDOW_CAPTION | gui::WINDOW_SYSTEM_MENU | gui::WINDOW_MINIMIZE_BOX;
constexpr std::int32_t kGap = 4;              // between the main window and the palette
constexpr std::int32_t kFrameAllowance = 12;  // the window frame around the client area
constexpr std::int32_t kPadding = 4;          // around a tile in its cell
constexpr std::int32_t kNumberHeight = 16;    // below a tile
constexpr std::int32_t kBlack = 0;
constexpr std::int32_t kRed = 0xFF;

struct Layout {
    std::int32_t tiles = 0;
    std::int32_t cellWidth = 0;
    std::int32_t cellHeight = 0;
    std::int32_t columns = 1;
    std::int32_t rows = 0;
    std::int32_t lastFirstRow = 0;  // the scroll bar's end
};

Layout PaletteLayout() {
    Layout layout;
    layout.tiles = TileCountRoundedUp(Document.TileSetWidth, Document.FieldWidth);
    layout.cellWidth = static_cast<std::int32_t>(
        std::min<std::int64_t>(std::int64_t{Document.FieldWidth} + 2 * kPadding, kCanvasWidth));
    layout.cellHeight = static_cast<std::int32_t>(std::min<std::int64_t>(
        std::int64_t{Document.FieldHeight} + 2 * kPadding + kNumberHeight, kClientHeight));
    layout.columns = std::max(1, kCanvasWidth / layout.cellWidth);
    layout.rows = (layout.tiles + layout.columns - 1) / layout.columns;
    layout.lastFirstRow = std::max(0, layout.rows - kClientHeight / layout.cellHeight);
    return layout;
}

void ScrollTo(std::int32_t row) {
    const Layout layout = PaletteLayout();
    Palette.FirstRow = std::clamp(row, 0, layout.lastFirstRow);
    // The bar is vertical, so its state is highest at the top.
    gui::GadgetSetRange(kPaletteScrollBar, 0, layout.lastFirstRow);
    gui::GadgetSetState(kPaletteScrollBar, layout.lastFirstRow - Palette.FirstRow);
}

// A click makes the tile the brush and ends the random brush's set; Strg + click adds the tile
// to the set or takes it out.
void ChooseTileAtMouse() {
    const std::int32_t tile =
        PaletteTileAt(gui::WindowMouseX(kPaletteWindow), gui::WindowMouseY(kPaletteWindow));
    if (tile < 0) return;
    if ((gui::WindowEventModifiers() & gui::KEY_CONTROL) != 0) {
        ToggleRandomTile(tile);
    } else {
        EndRandomBrush();
        gui::GadgetSetState(kBrushBar, tile);
        RefreshControls();
    }
}

void DrawTiles(const Layout& layout, std::int32_t brush) {
    screen::ScreenClear(kViewBackground);
    const screen::PixelView canvas = screen::ScreenPixels();
    const screen::PixelView tileSet = screen::SpritePixels(kTileSet);
    const std::int32_t first = Palette.FirstRow * layout.columns;
    std::int32_t brushX = -1;
    std::int32_t brushY = -1;
    for (std::int32_t tile = first; tile < layout.tiles; ++tile) {
        const std::int32_t x = (tile - first) % layout.columns * layout.cellWidth;
        const std::int32_t y = (tile - first) / layout.columns * layout.cellHeight;
        if (y >= kClientHeight) break;
        DrawTile(canvas, tileSet, tile, 0, Document.FieldWidth, Document.FieldHeight, x + kPadding,
                 y + kPadding);
        if (tile == brush) {
            brushX = x;
            brushY = y;
        }
        // The random brush's tiles: a dark and light frame inside the brush's, which shows on
        // any tile that reaches into it.
        if (InRandomBrush(tile)) {
            for (std::int32_t inset : {2, 3}) {
                DrawDashedFrame(canvas, x + inset, y + inset, x + layout.cellWidth - 1 - inset,
                                y + layout.cellHeight - 1 - inset);
            }
        }
    }
    screen::DrawingStart(screen::ScreenOutput());
    screen::DrawingMode(screen::kDrawTransparent);
    for (std::int32_t tile = first; tile < layout.tiles; ++tile) {
        const std::int32_t x = (tile - first) % layout.columns * layout.cellWidth;
        const std::int32_t y = (tile - first) / layout.columns * layout.cellHeight;
        if (y >= kClientHeight) break;
        screen::DrawText(x + kPadding, Wrap(std::int64_t{y} + kPadding + Document.FieldHeight + 1),
                         runtime::StringFromLong(tile));
    }
    if (layout.tiles == 0) screen::DrawText(kPadding, kPadding, "Keine Kacheln");
    if (brushX >= 0) {
        screen::DrawingMode(screen::kDrawOutlined);
        screen::DrawFrontColor(kRed);
        for (std::int32_t inset : {0, 1}) {
            screen::DrawBox(brushX + inset, brushY + inset, layout.cellWidth - 2 * inset,
                            layout.cellHeight - 2 * inset);
        }
    }
    screen::DrawFrontColor(kBlack);
    screen::DrawingStop();
}

}  // namespace

void OpenPalette() {
    if (Palette.Open != 0) return;
    // Beside the main window, or as far right as the screen allows.
    const std::int32_t x = std::min(gui::WindowRight(kMainWindow) + kGap,
                                    gui::DesktopWidth() - kClientWidth - kFrameAllowance);
    const gui::WindowHandle window =
        gui::WindowOpen(kPaletteWindow, std::max(0, x), gui::WindowTop(kMainWindow), kClientWidth,
                        kClientHeight, "Kachelpalette", kWindowFlags);
    if (window == 0) return;
    gui::GadgetListCreate(window);
    gui::GadgetTrackBar(kPaletteScrollBar, kCanvasWidth, 0, kScrollBarWidth, kClientHeight, 0, 0,
                        gui::TRACKBAR_VERTICAL);
    gui::GadgetListCreate(Handles.MainWindow);
    AddViewShortcuts(kPaletteWindow);
    if (screen::CanvasOpen(kPaletteCanvas, window, 0, 0, kCanvasWidth, kClientHeight) == 0) {
        gui::WindowClose(kPaletteWindow);
        return;
    }
    Palette.Open = 1;
    Palette.FirstRow = 0;
    Palette.Drawn.reset();
    ShowPalette();
}

void ClosePalette() {
    if (Palette.Open == 0) return;
    screen::CanvasClose(kPaletteCanvas);
    gui::WindowClose(kPaletteWindow);
    Palette.Open = 0;
}

std::int32_t PaletteInput(std::int32_t event) {
    if (Palette.Open == 0) return event;
    switch (event) {
        case gui::EVENT_MENU:
            return event;  // its keys are the main window's "Ansicht" items
        case gui::EVENT_CLOSE:
            ClosePalette();
            break;
        case gui::EVENT_LEFT_DOWN:
            ChooseTileAtMouse();
            break;
        case gui::EVENT_MOUSE_WHEEL: {
            const std::int32_t delta = gui::WindowEventWheelDelta();
            ScrollTo(Palette.FirstRow - delta / gui::WHEEL_NOTCH);
            break;
        }
        case gui::EVENT_GADGET:
            if (gui::WindowEventGadget() == kPaletteScrollBar) {
                ScrollTo(PaletteLayout().lastFirstRow - gui::GadgetGetState(kPaletteScrollBar));
            }
            break;
        default:
            break;
    }
    return 0;
}

std::int32_t PaletteTileAt(std::int32_t x, std::int32_t y) {
    if (Palette.Open == 0 || x < 0 || y < 0 || x >= kCanvasWidth || y >= kClientHeight) return -1;
    const Layout layout = PaletteLayout();
    const std::int32_t column = x / layout.cellWidth;
    if (column >= layout.columns) return -1;
    const std::int64_t tile =
        (std::int64_t{Palette.FirstRow} + y / layout.cellHeight) * layout.columns + column;
    return tile < layout.tiles ? static_cast<std::int32_t>(tile) : -1;
}

void ShowPalette() {
    if (Palette.Open == 0) return;
    PaletteShown now{TileSets.Version,    Document.TileSetWidth,          Document.FieldWidth,
                     Document.FieldHeight, gui::GadgetGetState(kBrushBar), Palette.FirstRow,
                     RandomBrush.Version};
    if (Palette.Drawn == now) return;
    // A new tile set or field size changes the rows to scroll through.
    ScrollTo(Palette.FirstRow);
    now.firstRow = Palette.FirstRow;
    Palette.Drawn = now;
    if (screen::CanvasDrawOn(kPaletteCanvas) == 0) return;
    DrawTiles(PaletteLayout(), now.brush);
    screen::CanvasShow(kPaletteCanvas);
}

}  // namespace editor
