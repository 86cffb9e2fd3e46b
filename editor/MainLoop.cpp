// The main loop, the input handling and the value corrections.
#include "editor/MainLoop.h"

#include <algorithm>
#include <climits>

#include "editor/DocumentRanges.h"
#include "editor/EditorState.h"
#include "editor/EditorWindow.h"
#include "editor/History.h"
#include "editor/MapCommands.h"
#include "editor/MapDocument.h"
#include "editor/MapFile.h"
#include "editor/MapView.h"
#include "editor/Navigation.h"
#include "editor/Overview.h"
#include "editor/Painting.h"
#include "editor/RandomBrush.h"
#include "editor/Recovery.h"
#include "editor/RectangleTool.h"
#include "editor/SafeFile.h"
#include "editor/Selection.h"
#include "editor/SelectionInput.h"
#include "editor/TilePalette.h"
#include "editor/TileSet.h"
#include "editor/Unsaved.h"
#include "editor/ViewScale.h"
#include "gui/Gadget.h"
#include "gui/Gui.h"
#include "gui/Window.h"
#include "runtime/File.h"
#include "runtime/RtString.h"
#include "runtime/Runtime.h"
#include "runtime/Timer.h"
#include "screen/ScreenInstall.h"

namespace editor {
namespace {

// The event of a pass that no input started (a timed step is due); the steps for input ignore it.
constexpr std::int32_t kTimedPass = gui::EVENT_REPAINT;

std::int32_t MouseX() { return gui::WindowMouseX(kMainWindow); }
std::int32_t MouseY() { return gui::WindowMouseY(kMainWindow); }
std::int32_t CurrentPlayer() { return gui::GadgetGetState(kPlayerBar); }

// Shows what an undo or redo brought back.
void ShowUndone(unsigned touched) {
    if ((touched & kTouchedTileSet) != 0) ShowTileSet();
    if (touched != 0) RefreshControls();
}

// Returns the event, which "Editor beenden" turns into a close request.
std::int32_t MenuCommand(std::int32_t event) {
    switch (gui::WindowEventMenu()) {
        case kItemNew:
            PutDownFloating();
            if (ConfirmDiscard()) NewMap();
            break;
        case kItemOpen:
            PutDownFloating();
            OpenMapCommand();
            break;
        case kItemSave:
            PutDownFloating();
            SaveMap();
            break;
        case kItemSaveAs:
            PutDownFloating();
            SaveAsCommand();
            break;
        case kItemLoadTileSet:
            LoadTileSetCommand();
            break;
        case kItemUndo:
            // Floating fields are the latest thing done: an undo takes them back first.
            if (Selection.Floats != Floating::None) {
                DropFloatingFields();
                break;
            }
            ShowUndone(HistoryUndo());
            break;
        case kItemRedo:
            DropFloatingFields();
            ShowUndone(HistoryRedo());
            break;
        case kItemQuit:
            PutDownFloating();
            return gui::EVENT_CLOSE;
        case kItemSetPlayerPosition:
            // Return puts moved fields down; else it places the current player.
            if (Selection.Floats == Floating::Move) {
                PutDownFloating();
                break;
            }
            SetPlayerValue(CurrentPlayer(), &PlayerStart::X, View.MouseMapX);
            SetPlayerValue(CurrentPlayer(), &PlayerStart::Y, View.MouseMapY);
            RefreshControls();
            break;
        case kItemZoomIn:
        case kItemZoomOut:
        case kItemOriginalSize:
        case kItemWholeMap:
        case kItemGrid:
            ViewMenuCommand(gui::WindowEventMenu());
            break;
        case kItemTilePalette:
            OpenPalette();
            break;
        case kItemOverview:
            OpenOverview();
            break;
        default:
            SelectionCommand(gui::WindowEventMenu());
            break;
    }
    return event;
}

// The scroll the anchor gives at 1:1, which moves the map twice the mouse's distance.
std::int64_t DraggedScroll(std::int32_t anchor, std::int32_t mouse, std::int32_t viewEdge) {
    return (std::int64_t{anchor} - mouse + viewEdge) * RightDrag.Factor;
}

void Drag(std::int32_t event) {
    RightDrag.Factor = 2;
    if (event == gui::EVENT_RIGHT_DOWN) {
        RightDrag.Dragging = 1;
        RightDrag.AnchorX =
            Wrap(std::int64_t{MouseX()} + View.ScrollX / RightDrag.Factor - kViewLeft);
        RightDrag.AnchorY =
            Wrap(std::int64_t{MouseY()} + View.ScrollY / RightDrag.Factor - kViewTop);
        RightDrag.OriginX = Wrap(DraggedScroll(RightDrag.AnchorX, MouseX(), kViewLeft));
        RightDrag.OriginY = Wrap(DraggedScroll(RightDrag.AnchorY, MouseY(), kViewTop));
    }
    if (RightDrag.Dragging == 1) {
        // At every scale the map moves by the same number of screen pixels as at 1:1.
        const std::int64_t x = DraggedScroll(RightDrag.AnchorX, MouseX(), kViewLeft);
        const std::int64_t y = DraggedScroll(RightDrag.AnchorY, MouseY(), kViewTop);
        View.ScrollX = Wrap(RightDrag.OriginX + MapSpan(x - RightDrag.OriginX));
        View.ScrollY = Wrap(RightDrag.OriginY + MapSpan(y - RightDrag.OriginY));
    }
    if (event == gui::EVENT_RIGHT_UP || MouseInView() == 0) RightDrag.Dragging = 0;
}

void TrackBars() {
    switch (gui::WindowEventGadget()) {
        case kBrushBar:
            RefreshControls();
            break;
        case kPlayerBar:
            RefreshControls();
            if (CurrentPlayer() <= Document.PlayerCount) {
                // The player at the view's centre, at every scale.
                View.ScrollX = Wrap(Document.Players(CurrentPlayer()).X - MapSpan(kViewSize / 2));
                View.ScrollY = Wrap(Document.Players(CurrentPlayer()).Y - MapSpan(kViewSize / 2));
            }
            break;
        case kDirectionBar:
            SetPlayerValue(CurrentPlayer(), &PlayerStart::Direction,
                           gui::GadgetGetState(kDirectionBar) * 5);
            RefreshControls();
            break;
        default:
            break;
    }
}

void TextFields() {
    if (gui::WindowEventType() != gui::EVENT_TYPE_CHANGE) return;
    const std::int32_t gadget = gui::WindowEventGadget();
    const std::string text = gui::GadgetGetText(gadget);
    const std::int32_t n = runtime::StringToLong(text);
    switch (gadget) {
        case kFieldWidthField:
            SetValue(&MapDocument::FieldWidth, n);
            break;
        case kFieldHeightField:
            SetValue(&MapDocument::FieldHeight, n);
            break;
        case kLastFieldXField:
            SetValue(&MapDocument::LastFieldX, n);
            break;
        case kLastFieldYField:
            SetValue(&MapDocument::LastFieldY, n);
            break;
        case kPlayerCountField:
            SetValue(&MapDocument::PlayerCount, n);
            break;
        case kMapNameField:
            SetMapName(text);
            break;
        case kPlayerXField:
            SetPlayerValue(CurrentPlayer(), &PlayerStart::X, n);
            break;
        case kPlayerYField:
            SetPlayerValue(CurrentPlayer(), &PlayerStart::Y, n);
            break;
        case kSlotCountField:
            SetValue(&MapDocument::SlotCount, n);
            break;
        case kBallCountField:
            SetValue(&MapDocument::BallCount, n);
            break;
        default:
            break;
    }
}

// The palette's and the overview's own input is no input to the map view.
std::int32_t RoutePaletteInput(std::int32_t event) {
    switch (gui::WindowEventWindow()) {
        case kPaletteWindow:
            return PaletteInput(event);
        case kOverviewWindow:
            return OverviewInput(event);
        default:
            return event;
    }
}

// Milliseconds until the next timed step of a pass is due, -1 when none is.
std::int64_t TimedStepWaitMs(std::int64_t now) {
    const std::int64_t reload = TileSetReloadWaitMs(now);
    const std::int64_t overview = OverviewWaitMs(now);
    if (reload < 0 || overview < 0) return std::max(reload, overview);
    return std::min(reload, overview);
}

// A close request (the close box, "Editor beenden") first asks about unsaved changes; cancelled,
// it is no event.
std::int32_t ConfirmClose(std::int32_t event) {
    if (event != gui::EVENT_CLOSE) return event;
    PutDownFloating();  // moved fields are part of what the question asks about
    return ConfirmDiscard() ? event : 0;
}

// Typing into a text field arrives as its change notification; successive passes of typing
// into one field are one undo step. (Controls that the program rewrites notify too, but not
// as the event that starts a pass.)
void NoteTyping(std::int32_t event) {
    if (event == gui::EVENT_GADGET && gui::WindowEventType() == gui::EVENT_TYPE_CHANGE) {
        HistoryMergeKey(gui::WindowEventGadget());
    }
}

}  // namespace

std::int32_t MouseInView() {
    const std::int32_t mx = MouseX() - kViewLeft;
    const std::int32_t my = MouseY() - kViewTop;
    return mx >= 0 && my >= 0 && mx < kViewSize && my < kViewSize ? 1 : 0;
}

void ValidateDocument() {
    // Each correction is an edit of the history and shows in the controls at once.
    for (const Correction& correction : DocumentCorrections(Document)) {
        SetValue(correction.value, correction.corrected);
        RefreshControls();
    }
}

std::int32_t NextEvent() {
    for (;;) {
        const std::int64_t now = runtime::ElapsedMilliseconds();
        const std::int64_t recovery = RecoveryWaitMs(now);
        if (recovery == 0) {
            WriteRecoveryCopy(now);
            continue;
        }
        // A pass of its own when the tile set's file is due to be read again or the overview
        // to show edits.
        const std::int64_t timed = TimedStepWaitMs(now);
        if (timed == 0) return kTimedPass;
        const std::int64_t wait =
            recovery < 0 || (timed >= 0 && timed < recovery) ? timed : recovery;
        const std::int32_t event = gui::WindowEventFetch(
            wait < 0 ? -1 : static_cast<std::int32_t>(std::min<std::int64_t>(wait, INT32_MAX)));
        if (event != 0 || wait < 0) return event;
    }
}

std::int32_t EditorPass(std::int32_t event) {
    HistoryBeginGroup();  // whatever this pass changes is one undo step
    NoteTyping(event);
    LocateMouse();
    KeepTileSetFile(event, runtime::ElapsedMilliseconds());
    event = RoutePaletteInput(event);
    if (event == gui::EVENT_MENU) event = MenuCommand(event);
    event = ConfirmClose(event);
    Drag(event);
    if (!SelectionMouse(event) && !RectangleMouse(event)) EditWithMouse(event);
    WheelInput(event);
    TrackBars();
    TextFields();
    ValidateDocument();
    KeepBrushRange();
    HistoryEndGroup();
    KeepSelectionState();
    ShowScaleField();
    ShowChangedState();
    KeepRecoveryCopyInStep();
    ShowMenuState();
    gui::UpdateWindow(Handles.MainWindow);
    DrawMapView();
    ShowPalette();
    ShowOverview();
    return event;
}

int EditorMain() {
    gui::GuiInstall();
    screen::ScreenInstall();
    runtime::RuntimeStart();
    SeedRandomBrush(ClockSeed());
    BuildEditorWindow();
    NewMap();
    // What an editor killed in the middle of a save left in Karten.
    RemoveAbandonedSaves(kMapFolder);
    // The question comes over the editor's first picture, not over an empty window.
    ShowChangedState();
    gui::UpdateWindow(Handles.MainWindow);
    DrawMapView();
    OfferRecoveryCopies();
    while (EditorPass(NextEvent()) != gui::EVENT_CLOSE) {
    }
    RemoveRecoveryCopy();
    runtime::RuntimeEnd();
    return 0;
}

}  // namespace editor
