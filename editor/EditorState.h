// The editor's program-wide state besides the document: the view, the main loop and the
// objects the editor keeps handles of. One instance of each, resettable by tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/MapReduction.h"

namespace editor {

// Object numbers and gadget numbers of the editor window.
inline constexpr std::int32_t kMainWindow = 0;
inline constexpr std::int32_t kMainMenu = 0;
inline constexpr std::int32_t kStatusBar = 0;
inline constexpr std::int32_t kViewFont = 0;
inline constexpr std::int32_t kTileSet = 0;  // sprite

enum Gadget : std::int32_t {
    kViewBorder = 0,
    kPlayerFrame = 1,
    kMapFrame = 2,
    kBrushText = 9,
    kDirectionText = 13,
    kFieldWidthField = 14,
    kFieldHeightField = 15,
    kLastFieldXField = 16,
    kLastFieldYField = 17,
    kMapNameField = 18,
    kPlayerCountField = 19,
    kPlayerXField = 20,
    kPlayerYField = 21,
    kSlotCountField = 22,
    kBallCountField = 23,
    kBrushBar = 24,
    kPlayerBar = 25,
    kDirectionBar = 26,
    kZMaskBox = 27,
};

// Menu items; item 4 has no menu entry, only the ENTER shortcut raises it. 20 to 29 belong to
// "Ansicht".
enum MenuItemId : std::int32_t {
    kItemNew = 0,
    kItemOpen = 1,
    kItemSave = 2,
    kItemQuit = 3,
    kItemSetPlayerPosition = 4,
    kItemSaveAs = 5,
    kItemLoadTileSet = 6,
    kItemUndo = 7,
    kItemRedo = 8,
    kItemCut = 10,
    kItemCopy = 11,
    kItemPaste = 12,
    kItemDelete = 13,
    kItemSelectAll = 14,
    kItemMirrorHorizontal = 15,
    kItemMirrorVertical = 16,
    kItemZoomIn = 20,
    kItemZoomOut = 21,
    kItemOriginalSize = 22,
    kItemWholeMap = 23,
    kItemTilePalette = 24,
    // The pass reads the last gadget number after any event: an item must not share the number
    // of a track bar (25, 26) that acts on it.
    kItemGrid = 28,
    kItemOverview = 29,
    // "Werkzeuge": one item per tool, in the order of the tools.
    kItemToolBrush = 30,
    kItemToolSelect = 31,
    kItemToolRectangle = 32,
    // Keys without a menu entry: the arrows and Escape.
    kItemLeft = 40,
    kItemRight = 41,
    kItemUp = 42,
    kItemDown = 43,
    kItemEscape = 44,
};

// The tile palette: a second window with a canvas and a scroll bar of its own.
inline constexpr std::int32_t kPaletteWindow = 1;
inline constexpr std::int32_t kPaletteCanvas = 0;
inline constexpr std::int32_t kPaletteScrollBar = 28;  // gadget

// The overview: a third window with a canvas that shows the whole map reduced.
inline constexpr std::int32_t kOverviewWindow = 2;
inline constexpr std::int32_t kOverviewCanvas = 1;

// Status bar fields: the current tool, the editor's messages and the scale.
inline constexpr std::int32_t kToolField = 0;
inline constexpr std::int32_t kMessageField = 2;
inline constexpr std::int32_t kScaleField = 3;

// The map view: a 500 x 500 screen at client position (4, 4) of the main window.
inline constexpr std::int32_t kViewLeft = 4;
inline constexpr std::int32_t kViewTop = 4;
inline constexpr std::int32_t kViewSize = 500;

struct ViewState {
    std::int32_t ScrollX = 0;  // map pixel shown at the view's top-left pixel
    std::int32_t ScrollY = 0;
    std::int32_t MouseMapX = 0;  // map pixel under the mouse
    std::int32_t MouseMapY = 0;
    std::int32_t HoverFieldX = 0;  // field under the mouse, clamped to the map
    std::int32_t HoverFieldY = 0;
    // 0 shows the map 1:1; n > 0 enlarged 2^n:1, n < 0 reduced 1:2^-n (see ViewScale.h).
    std::int32_t ZoomLevel = 0;
    bool Grid = false;  // "Gitter": the field borders over the map
};

// Moving the map with the right button held: whether a drag is under way, the anchor the press
// set (the mouse plus the scroll divided by the factor), the factor the mouse's distance is
// taken by, and the scroll the drag started from.
struct RightDragState {
    std::int32_t Dragging = 0;  // 1 from the press in the view until the release or leaving it
    std::int32_t AnchorX = 0;
    std::int32_t AnchorY = 0;
    std::int32_t Factor = 0;
    std::int32_t OriginX = 0;
    std::int32_t OriginY = 0;
};

// What the window shows beyond the controls.
struct ShownState {
    bool TitleChanged = false;  // the title ends in " *"
    bool UndoGreyed = false;    // Rückgängig is greyed out: nothing to undo
    bool RedoGreyed = false;    // Wiederholen is greyed out: nothing to redo
};

struct EditorHandles {
    std::intptr_t MainWindow = 0;  // window handle of window 0
    std::intptr_t ViewFont = 0;    // font 0, for the view's status texts
};

// Painting with the left button: the stroke in progress and the brush track bar's range.
struct PaintState {
    std::int32_t Stroking = 0;  // 1 from the press until the button is let go
    std::int32_t HasLast = 0;   // 1 while LastX/LastY hold the previous position in the view
    std::int32_t LastX = 0;     // map pixel of the previous position, on the map
    std::int32_t LastY = 0;
    std::vector<std::uint64_t> Painted;  // one bit per field painted in this stroke
    std::int32_t BrushMaximum = 31;      // the brush track bar's top end, 31 as it is built
};

// Moving around: the part of a Strg + wheel turn not yet worth a zoom step.
struct NavigationState {
    std::int32_t ZoomWheelRest = 0;
    std::string ShownScaleField;  // what the status bar's last field shows
};

// What the palette's canvas shows; it is drawn again when any of it changes.
struct PaletteShown {
    std::uint32_t tileSet;
    std::int32_t tileSetWidth, fieldWidth, fieldHeight, brush, firstRow;
    std::uint32_t randomSet;  // the random brush's version
    bool operator==(const PaletteShown&) const = default;
};

// The tile palette window.
struct PaletteState {
    std::int32_t Open = 0;
    std::int32_t FirstRow = 0;          // the row of tiles at the top
    std::optional<PaletteShown> Drawn;  // none: draw it at the next chance
};

// What the overview's picture was made from; any change makes it again as a whole.
struct OverviewSource {
    std::uint32_t tileSet;
    const std::uint32_t* tileSetPixels;
    std::int32_t fieldWidth, fieldHeight, zmask, columns, rows;
    const std::int32_t* fields;
    bool operator==(const OverviewSource&) const = default;
};

// The part of the map the main view shows, as the overview last framed it.
struct OverviewFrame {
    std::int32_t scrollX, scrollY, zoomLevel;
    bool operator==(const OverviewFrame&) const = default;
};

// The overview window: the whole map at 1:2^Shift in a picture of its own, kept between passes
// and made again only where fields change.
struct OverviewState {
    std::int32_t Open = 0;
    std::int32_t Shift = 0;
    std::int32_t Width = 0;  // the picture's pixels
    std::int32_t Height = 0;
    std::vector<std::uint32_t> Picture;   // row by row, Width pixels a row
    std::vector<std::uint8_t> Dirty;      // a flag per pixel, between the steps of one pass
    std::optional<OverviewSource> Drawn;  // none: make the picture at the next chance
    std::optional<OverviewFrame> Framed;  // none: show it at the next chance
    std::int32_t Dragging = 0;            // 1 from a press in it until the button is let go
    // When the canvas was last shown and when edits shown since are due to be (-1: none wait),
    // on the runtime's clock: a stroke's edits are shown a few times a second, not every pass.
    std::int64_t ShownAt = -1;
    std::int64_t ShowAt = -1;
    MapReducer Reducer;
};

// What the map view keeps between passes to draw faster: the tables and reduced pictures of
// the scales below 1:1.
struct ViewCacheState {
    MapReducer Reductions;
};

// The program's values are 32-bit and wrap; sums that may leave the range are formed in 64 bits
// and brought back with this.
inline std::int32_t Wrap(std::int64_t v) { return static_cast<std::int32_t>(v); }

extern ViewState View;
extern RightDragState RightDrag;
extern EditorHandles Handles;
extern PaintState Painting;
extern NavigationState Navigation;
extern PaletteState Palette;
extern OverviewState Overview;
extern ViewCacheState ViewCaches;
extern ShownState Shown;

// Back to the state before start-up (all zero), for a fresh run in the same process: these
// records (with the view's, the palette's and the overview's caches), the history, the tile set's
// and the recovery copy's.
void ResetEditorState();

}  // namespace editor
