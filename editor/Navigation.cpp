// Zooming, scrolling with the wheel, the "Ansicht" menu and the scale in the status bar.
#include "editor/Navigation.h"

#include <algorithm>
#include <string>

#include "editor/EditorState.h"
#include "editor/MainLoop.h"
#include "editor/MapDocument.h"
#include "editor/RandomBrush.h"
#include "editor/ViewScale.h"
#include "gui/Menu.h"
#include "gui/StatusBar.h"
#include "gui/Window.h"
#include "runtime/RtString.h"

namespace editor {
namespace {

constexpr std::int64_t kCentre = kViewSize / 2;
constexpr std::int64_t kLeastWheelStep = 8;  // screen pixels

// Map pixels from 0 to `last` fields of `size` pixels.
std::int64_t MapLength(std::int32_t lastField, std::int32_t size) {
    return lastField < 0 ? 0 : (std::int64_t{lastField} + 1) * size;
}

// View pixels that a map of `length` pixels takes at a level, starting on a view pixel.
std::int64_t ViewLength(std::int64_t length, std::int32_t level) {
    if (level >= 0) return length << level;
    const std::int64_t k = std::int64_t{1} << -level;
    return (length + k - 1) / k;
}

std::int32_t SmallestZoomLevel() { return std::min(0, FittingZoomLevel()); }

// One step in or out about a view pixel; nothing beyond the ends.
void ZoomStep(std::int32_t step, std::int64_t vx, std::int64_t vy) {
    const std::int32_t level = View.ZoomLevel + step;
    if (level > kMostEnlarged || level < SmallestZoomLevel()) return;
    ZoomAbout(level, vx, vy);
}

void ShowWholeMap() {
    const std::int32_t level = FittingZoomLevel();
    View.ZoomLevel = level;
    const auto centre = [level](std::int64_t length) {
        const std::int64_t margin = (kViewSize - ViewLength(length, level)) / 2;
        return Wrap(-MapSpan(margin));
    };
    View.ScrollX = centre(MapLength(Document.LastFieldX, Document.FieldWidth));
    View.ScrollY = centre(MapLength(Document.LastFieldY, Document.FieldHeight));
    ShowScaleField();
    LocateMouse();
}

// A wheel turn as scroll: `delta` / 120 steps of one field of `fieldSize`, at least 8 screen
// pixels each, against the turn.
std::int32_t Scrolled(std::int32_t scroll, std::int32_t delta, std::int32_t fieldSize) {
    const std::int64_t step = std::max<std::int64_t>(fieldSize, MapSpan(kLeastWheelStep));
    return Wrap(scroll - std::int64_t{delta} * step / gui::WHEEL_NOTCH);
}

}  // namespace

void ShowScaleField() {
    std::string text;
    if (View.ZoomLevel < 0) text = "1:" + runtime::StringFromLong(1 << -View.ZoomLevel);
    if (View.ZoomLevel > 0) text = runtime::StringFromLong(1 << View.ZoomLevel) + ":1";
    if (!text.empty()) text = runtime::Cp1252("Maßstab ") + text;
    const std::string random = RandomBrushText();
    if (!random.empty()) text = text.empty() ? random : text + ", " + random;
    // 1:1 without the random brush leaves the field empty, as it is when the editor starts.
    if (text == Navigation.ShownScaleField) return;
    Navigation.ShownScaleField = text;
    gui::StatusBarText(kStatusBar, kScaleField, text);
}

void BuildViewMenu() {
    using runtime::Cp1252;
    gui::MenuTitle("Ansicht");
    gui::MenuItem(kItemZoomIn, Cp1252("Vergrößern\tStrg++"));
    gui::MenuItem(kItemZoomOut, "Verkleinern\tStrg+-");
    gui::MenuItem(kItemOriginalSize, Cp1252("Originalgröße\tStrg+0"));
    gui::MenuItem(kItemWholeMap, "Ganze Karte");
    gui::MenuSeparator();
    gui::MenuItem(kItemGrid, "Gitter\tStrg+G");
    gui::MenuSeparator();
    gui::MenuItem(kItemTilePalette, "Kachelpalette");
    gui::MenuItem(kItemOverview, Cp1252("Übersicht"));
}

void AddViewShortcuts(std::int32_t window) {
    for (const auto& [key, item] : {std::pair{gui::KEYCODE_PLUS, kItemZoomIn},
                                    {gui::KEYCODE_NUMPAD_PLUS, kItemZoomIn},
                                    {gui::KEYCODE_MINUS, kItemZoomOut},
                                    {gui::KEYCODE_NUMPAD_MINUS, kItemZoomOut},
                                    {std::int32_t{'0'}, kItemOriginalSize},
                                    {gui::KEYCODE_NUMPAD_0, kItemOriginalSize},
                                    {std::int32_t{'G'}, kItemGrid}}) {
        gui::WindowAddShortcut(window, gui::KEY_CONTROL | key, item);
    }
    // Where "+" is a shifted key (US layouts: Umschalt + "="), Strg++ comes with Umschalt.
    gui::WindowAddShortcut(window, gui::KEY_CONTROL | gui::KEY_SHIFT | gui::KEYCODE_PLUS,
                           kItemZoomIn);
}

void ViewMenuCommand(std::int32_t item) {
    switch (item) {
        case kItemZoomIn:
            ZoomStep(1, kCentre, kCentre);
            break;
        case kItemZoomOut:
            ZoomStep(-1, kCentre, kCentre);
            break;
        case kItemOriginalSize:
            ZoomAbout(0, kCentre, kCentre);
            break;
        case kItemWholeMap:
            ShowWholeMap();
            break;
        case kItemGrid:
            View.Grid = !View.Grid;
            gui::MenuCheckItem(kMainMenu, kItemGrid, View.Grid);
            break;
        default:
            break;
    }
}

void WheelInput(std::int32_t event) {
    if (event != gui::EVENT_MOUSE_WHEEL && event != gui::EVENT_MOUSE_HWHEEL) return;
    if (MouseInView() == 0) return;
    const std::int32_t delta = gui::WindowEventWheelDelta();
    const std::int32_t keys = gui::WindowEventModifiers();
    if (event == gui::EVENT_MOUSE_HWHEEL) {
        View.ScrollX = Scrolled(View.ScrollX, -delta, Document.FieldWidth);
    } else if ((keys & gui::KEY_CONTROL) != 0) {
        Navigation.ZoomWheelRest += delta;
        const std::int64_t vx = gui::WindowMouseX(kMainWindow) - kViewLeft;
        const std::int64_t vy = gui::WindowMouseY(kMainWindow) - kViewTop;
        for (; Navigation.ZoomWheelRest >= gui::WHEEL_NOTCH;
             Navigation.ZoomWheelRest -= gui::WHEEL_NOTCH) {
            ZoomStep(1, vx, vy);
        }
        for (; Navigation.ZoomWheelRest <= -gui::WHEEL_NOTCH;
             Navigation.ZoomWheelRest += gui::WHEEL_NOTCH) {
            ZoomStep(-1, vx, vy);
        }
    } else if ((keys & gui::KEY_SHIFT) != 0) {
        View.ScrollX = Scrolled(View.ScrollX, delta, Document.FieldWidth);
    } else {
        View.ScrollY = Scrolled(View.ScrollY, delta, Document.FieldHeight);
    }
    LocateMouse();  // the pass draws what is under the mouse now
}

void ZoomAbout(std::int32_t level, std::int64_t vx, std::int64_t vy) {
    // The map pixel at (vx, vy) before the view's grid is laid over it: it lies in the block
    // shown there, and zooming out and back in about the same point gives the same scroll.
    const std::int64_t mx = View.ScrollX + MapSpan(vx);
    const std::int64_t my = View.ScrollY + MapSpan(vy);
    View.ZoomLevel = level;
    View.ScrollX = Wrap(mx - MapSpan(vx));
    View.ScrollY = Wrap(my - MapSpan(vy));
    ShowScaleField();
    LocateMouse();
}

std::int32_t FittingZoomLevel() {
    const std::int64_t width = MapLength(Document.LastFieldX, Document.FieldWidth);
    const std::int64_t height = MapLength(Document.LastFieldY, Document.FieldHeight);
    std::int32_t level = kMostEnlarged;
    while (level > kMostReduced &&
           (ViewLength(width, level) > kViewSize || ViewLength(height, level) > kViewSize)) {
        --level;
    }
    return level;
}

void ResetZoom() {
    View.ZoomLevel = 0;
    Navigation.ZoomWheelRest = 0;
    ShowScaleField();
}

}  // namespace editor
