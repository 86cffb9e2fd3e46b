// The overview window: its picture, kept and made again where fields change, the view's frame
// over it, and the clicks that move the view.
#include "editor/Overview.h"

#include <algorithm>
#include <utility>

#include "editor/EditorState.h"
#include "editor/FieldChanges.h"
#include "editor/MapDocument.h"
#include "editor/MapPicture.h"
#include "editor/Navigation.h"
#include "editor/TileSet.h"
#include "editor/ViewScale.h"
#include "gui/Gadget.h"
#include "gui/Window.h"
#include "runtime/RtString.h"
#include "runtime/Timer.h"
#include "screen/Canvas.h"
#include "screen/Screen.h"
#include "screen/Sprite.h"

namespace editor {
namespace {

constexpr std::int32_t kWindowFlags =
    gui::WINDOW_CAPTION | gui::WINDOW_SYSTEM_MENU | gui::WINDOW_MINIMIZE_BOX;
constexpr std::int32_t kGap = 4;              // between the windows
constexpr std::int32_t kFrameAllowance = 12;  // the window frame around the client area
constexpr std::int32_t kPaletteAllowance = 240 + kFrameAllowance + kGap;  // the palette's place
constexpr std::uint32_t kFrameOutside = 0x000000;
constexpr std::uint32_t kFrameInside = 0xFFFFFF;
// Edits of fields are shown at most this often: showing costs more than making the pixels.
constexpr std::int64_t kShowPeriodMs = 50;

FieldExtent Extent() {
    return Document.Fields.IsNull() ? FieldExtent{0, 0} : FieldsInArray(Document);
}

PictureSource Source() {
    return {&Document, screen::SpritePixels(kTileSet), TileSets.Version,
            gui::GadgetGetState(kZMaskBox)};
}

OverviewSource SourceNow() {
    const screen::PixelView set = screen::SpritePixels(kTileSet);
    const FieldExtent extent = Extent();
    return {TileSets.Version,
            set.pixels,
            Document.FieldWidth,
            Document.FieldHeight,
            gui::GadgetGetState(kZMaskBox),
            extent.columns,
            extent.rows,
            std::as_const(Document.Fields).Data()};
}

// Draws the picture's pixels (x .. x + width - 1, y) from the map.
void DrawRun(std::int32_t x, std::int32_t y, std::int32_t width) {
    const screen::PixelView target{
        &Overview
             .Picture[static_cast<std::size_t>(y) * Overview.Width + static_cast<std::size_t>(x)],
        width, 1, Overview.Width};
    if (Overview.Shift == 0) {
        DrawEnlarged(Source(), 0, x, y, target);
    } else {
        Overview.Reducer.DrawFromTables(Source(), Overview.Shift, x, y, target);
    }
}

void MakeWholePicture() {
    const OverviewLayout layout = OverviewLayoutNow();
    Overview.Shift = layout.shift;
    Overview.Width = layout.width;
    Overview.Height = layout.height;
    const std::size_t pixels = static_cast<std::size_t>(layout.width) * layout.height;
    Overview.Picture.assign(pixels, kBackgroundPixel);
    Overview.Dirty.assign(pixels, 0);
    if (Document.FieldWidth < 1 || Document.FieldHeight < 1) return;
    for (std::int32_t y = 0; y < Overview.Height; ++y) DrawRun(0, y, Overview.Width);
}

// Marks the pixels each changed field lies in, then draws the marked runs of each row.
void MakeChangedPixels(const std::vector<std::int32_t>& positions) {
    const FieldExtent extent = Extent();
    const std::int64_t fw = Document.FieldWidth, fh = Document.FieldHeight;
    const std::int32_t s = Overview.Shift;
    std::int32_t firstRow = Overview.Height, lastRow = -1;
    for (const std::int32_t position : positions) {
        const std::int64_t x = position / kFieldsSize, y = position % kFieldsSize;
        if (x >= extent.columns || y >= extent.rows) continue;
        const std::int64_t top = (y * fh) >> s, bottom = ((y + 1) * fh - 1) >> s;
        const std::int64_t left = (x * fw) >> s, right = ((x + 1) * fw - 1) >> s;
        for (std::int64_t py = top; py <= bottom && py < Overview.Height; ++py) {
            for (std::int64_t px = left; px <= right && px < Overview.Width; ++px) {
                Overview.Dirty[static_cast<std::size_t>(py * Overview.Width + px)] = 1;
            }
        }
        firstRow = static_cast<std::int32_t>(std::min<std::int64_t>(firstRow, top));
        lastRow = static_cast<std::int32_t>(
            std::min<std::int64_t>(std::max<std::int64_t>(lastRow, bottom), Overview.Height - 1));
    }
    for (std::int32_t y = firstRow; y <= lastRow; ++y) {
        std::uint8_t* row = &Overview.Dirty[static_cast<std::size_t>(y) * Overview.Width];
        for (std::int32_t x = 0; x < Overview.Width;) {
            if (row[x] == 0) {
                ++x;
                continue;
            }
            std::int32_t end = x;
            while (end < Overview.Width && row[end] != 0) row[end++] = 0;
            DrawRun(x, y, end - x);
            x = end;
        }
    }
}

// Sets the canvas pixel (x, y) when it lies on the canvas.
void Put(const screen::PixelView& canvas, std::int64_t x, std::int64_t y, std::uint32_t pixel) {
    if (x >= 0 && y >= 0 && x < canvas.width && y < canvas.height) {
        canvas.Row(static_cast<std::int32_t>(y))[x] = pixel;
    }
}

void Outline(const screen::PixelView& canvas, std::int64_t left, std::int64_t top,
             std::int64_t right, std::int64_t bottom, std::uint32_t pixel) {
    // Only the part near the canvas: the view may lie far off the map.
    const std::int64_t lo = -1, hi = kOverviewSize;
    for (std::int64_t x = std::max(left, lo); x <= std::min(right, hi); ++x) {
        Put(canvas, x, top, pixel);
        Put(canvas, x, bottom, pixel);
    }
    for (std::int64_t y = std::max(top, lo); y <= std::min(bottom, hi); ++y) {
        Put(canvas, left, y, pixel);
        Put(canvas, right, y, pixel);
    }
}

// The map pixels the view shows, in the picture's pixels: white on them, black around them.
void DrawViewFrame(const screen::PixelView& canvas, const OverviewLayout& layout) {
    const auto at = [&layout](std::int64_t mapPixel, std::int32_t origin) {
        return origin + FloorDiv(mapPixel, std::int64_t{1} << layout.shift);
    };
    const std::int64_t left = at(MapFromView(0, View.ScrollX), layout.left);
    const std::int64_t top = at(MapFromView(0, View.ScrollY), layout.top);
    const std::int64_t right = at(MapFromView(kViewSize, View.ScrollX) - 1, layout.left);
    const std::int64_t bottom = at(MapFromView(kViewSize, View.ScrollY) - 1, layout.top);
    Outline(canvas, left - 1, top - 1, right + 1, bottom + 1, kFrameOutside);
    Outline(canvas, left, top, right, bottom, kFrameInside);
}

void ShowCanvas() {
    if (screen::CanvasDrawOn(kOverviewCanvas) == 0) return;
    const OverviewLayout layout = OverviewLayoutNow();
    screen::ScreenClear(kViewBackground);
    const screen::PixelView canvas = screen::ScreenPixels();
    for (std::int32_t y = 0; y < Overview.Height; ++y) {
        std::copy_n(&Overview.Picture[static_cast<std::size_t>(y) * Overview.Width], Overview.Width,
                    canvas.Row(layout.top + y) + layout.left);
    }
    DrawViewFrame(canvas, layout);
    screen::CanvasShow(kOverviewCanvas);
}

// Centres the map view on the map pixel under the mouse, held to the map.
void MoveViewToMouse() {
    const OverviewLayout layout = OverviewLayoutNow();
    const FieldExtent extent = Extent();
    const std::int64_t width = std::int64_t{extent.columns} * Document.FieldWidth;
    const std::int64_t height = std::int64_t{extent.rows} * Document.FieldHeight;
    if (width <= 0 || height <= 0) return;
    const std::int64_t k = std::int64_t{1} << layout.shift;
    const auto mapPixel = [k](std::int32_t mouse, std::int32_t origin, std::int64_t length) {
        return std::clamp<std::int64_t>((std::int64_t{mouse} - origin) * k + k / 2, 0, length - 1);
    };
    const std::int64_t mx = mapPixel(gui::WindowMouseX(kOverviewWindow), layout.left, width);
    const std::int64_t my = mapPixel(gui::WindowMouseY(kOverviewWindow), layout.top, height);
    View.ScrollX = Wrap(mx - MapSpan(kViewSize / 2));
    View.ScrollY = Wrap(my - MapSpan(kViewSize / 2));
    LocateMouse();
}

}  // namespace

OverviewLayout OverviewLayoutNow() {
    const FieldExtent extent = Extent();
    const std::int64_t width = std::int64_t{extent.columns} * std::max(0, Document.FieldWidth);
    const std::int64_t height = std::int64_t{extent.rows} * std::max(0, Document.FieldHeight);
    OverviewLayout layout;
    const auto reduced = [&layout](std::int64_t length) {
        return (length + (std::int64_t{1} << layout.shift) - 1) >> layout.shift;
    };
    while (layout.shift < kMostReducedShift &&
           (reduced(width) > kOverviewSize || reduced(height) > kOverviewSize)) {
        ++layout.shift;
    }
    layout.width = static_cast<std::int32_t>(std::min<std::int64_t>(reduced(width), kOverviewSize));
    layout.height =
        static_cast<std::int32_t>(std::min<std::int64_t>(reduced(height), kOverviewSize));
    layout.left = (kOverviewSize - layout.width) / 2;
    layout.top = (kOverviewSize - layout.height) / 2;
    return layout;
}

void OpenOverview() {
    if (Overview.Open != 0) return;
    // Beside the main window and the palette's place, or as far right as the screen allows.
    const std::int32_t x = std::min(gui::WindowRight(kMainWindow) + kGap + kPaletteAllowance,
                                    gui::DesktopWidth() - kOverviewSize - kFrameAllowance);
    const gui::WindowHandle window =
        gui::WindowOpen(kOverviewWindow, std::max(0, x), gui::WindowTop(kMainWindow), kOverviewSize,
                        kOverviewSize, runtime::Cp1252("Übersicht"), kWindowFlags);
    if (window == 0) return;
    AddViewShortcuts(kOverviewWindow);
    if (screen::CanvasOpen(kOverviewCanvas, window, 0, 0, kOverviewSize, kOverviewSize) == 0) {
        gui::WindowClose(kOverviewWindow);
        return;
    }
    Overview = OverviewState{};  // nothing made or shown yet
    Overview.Open = 1;
    ShowOverview();
}

void CloseOverview() {
    if (Overview.Open == 0) return;
    screen::CanvasClose(kOverviewCanvas);
    gui::WindowClose(kOverviewWindow);
    Overview = OverviewState{};  // the picture's memory goes with it
}

std::int32_t OverviewInput(std::int32_t event) {
    if (Overview.Open == 0) return event;
    switch (event) {
        case gui::EVENT_MENU:
            return event;  // its keys are the main window's "Ansicht" items
        case gui::EVENT_CLOSE:
            CloseOverview();
            break;
        case gui::EVENT_LEFT_DOWN:
        case gui::EVENT_LEFT_DOUBLE:
            Overview.Dragging = 1;
            MoveViewToMouse();
            break;
        case gui::EVENT_MOUSE_MOVE:
            // Only a drag that began here: a button held since a menu or another window is not.
            if ((gui::WindowEventParam1() & gui::MOUSE_LEFT_HELD) == 0) Overview.Dragging = 0;
            if (Overview.Dragging != 0) MoveViewToMouse();
            break;
        case gui::EVENT_LEFT_UP:
            Overview.Dragging = 0;
            break;
        default:
            break;
    }
    return 0;
}

void ShowOverview() {
    if (Overview.Open == 0) return;
    const FieldChanges changes = TakeFieldChanges(FieldReader::OverviewPicture);
    const OverviewSource source = SourceNow();
    const OverviewLayout layout = OverviewLayoutNow();
    bool changed = false;
    const bool whole = !(Overview.Drawn == source) || changes.all ||
                       layout.shift != Overview.Shift || layout.width != Overview.Width ||
                       layout.height != Overview.Height;
    if (whole) {
        MakeWholePicture();
        Overview.Drawn = source;
        changed = true;
    } else if (!changes.positions.empty()) {
        MakeChangedPixels(changes.positions);
        changed = true;
    }
    const OverviewFrame frame{View.ScrollX, View.ScrollY, View.ZoomLevel};
    const std::int64_t now = runtime::ElapsedMilliseconds();
    const bool due = Overview.ShowAt >= 0 && now >= Overview.ShowAt;
    if (changed && !whole && Overview.Framed == frame && !due && Overview.ShownAt >= 0 &&
        now - Overview.ShownAt < kShowPeriodMs) {
        if (Overview.ShowAt < 0) Overview.ShowAt = Overview.ShownAt + kShowPeriodMs;
        return;
    }
    if (!changed && !due && Overview.Framed == frame) return;
    Overview.Framed = frame;
    Overview.ShownAt = now;
    Overview.ShowAt = -1;
    ShowCanvas();
}

std::int64_t OverviewWaitMs(std::int64_t now) {
    if (Overview.Open == 0 || Overview.ShowAt < 0) return -1;
    return std::max<std::int64_t>(0, Overview.ShowAt - now);
}

}  // namespace editor
