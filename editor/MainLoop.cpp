// The main loop, the input handling and the value corrections.
#include "editor/MainLoop.h"

#include "editor/DocumentRanges.h"
#include "editor/EditorState.h"
#include "editor/EditorWindow.h"
#include "editor/MapCommands.h"
#include "editor/MapDocument.h"
#include "editor/MapView.h"
#include "gui/Gadget.h"
#include "gui/Gui.h"
#include "gui/Window.h"
#include "runtime/RtString.h"
#include "runtime/Runtime.h"
#include "screen/ScreenInstall.h"

namespace editor {
namespace {

constexpr std::int32_t kLeftDown = 513;
constexpr std::int32_t kRightDown = 516;
constexpr std::int32_t kRightUp = 517;

std::int32_t MouseX() { return gui::WindowMouseX(kMainWindow); }
std::int32_t MouseY() { return gui::WindowMouseY(kMainWindow); }
std::int32_t CurrentPlayer() { return gui::GadgetGetState(kPlayerBar); }

void LocateMouse() {
    View.MouseMapX = Wrap(std::int64_t{MouseX()} + View.ScrollX - kViewLeft);
    View.MouseMapY = Wrap(std::int64_t{MouseY()} + View.ScrollY - kViewTop);
    View.HoverFieldX = View.MouseMapX / Document.FieldWidth;
    View.HoverFieldY = View.MouseMapY / Document.FieldHeight;
    if (View.HoverFieldX < 0) View.HoverFieldX = 0;
    if (View.HoverFieldY < 0) View.HoverFieldY = 0;
    if (View.HoverFieldX > Document.LastFieldX) View.HoverFieldX = Document.LastFieldX;
    if (View.HoverFieldY > Document.LastFieldY) View.HoverFieldY = Document.LastFieldY;
}

// Returns the event, which "Editor beenden" turns into a close request.
std::int32_t MenuCommand(std::int32_t event) {
    switch (gui::WindowEventMenu()) {
        case kItemNew:
            NewMap();
            break;
        case kItemOpen:
            OpenMapCommand();
            break;
        case kItemSave:
            SaveMap();
            break;
        case kItemQuit:
            return gui::EVENT_CLOSE;
        case kItemSetPlayerPosition:
            Document.Players(CurrentPlayer()).X = View.MouseMapX;
            Document.Players(CurrentPlayer()).Y = View.MouseMapY;
            RefreshControls();
            break;
        default:
            break;
    }
    return event;
}

void Drag(std::int32_t event) {
    Loop.DragFactor = 2;
    if (event == kRightDown) {
        Loop.Dragging = 1;
        Loop.DragAnchorX =
            Wrap(std::int64_t{MouseX()} + View.ScrollX / Loop.DragFactor - kViewLeft);
        Loop.DragAnchorY = Wrap(std::int64_t{MouseY()} + View.ScrollY / Loop.DragFactor - kViewTop);
    }
    if (Loop.Dragging == 1) {
        View.ScrollX =
            Wrap((std::int64_t{Loop.DragAnchorX} - MouseX() + kViewLeft) * Loop.DragFactor);
        View.ScrollY =
            Wrap((std::int64_t{Loop.DragAnchorY} - MouseY() + kViewTop) * Loop.DragFactor);
    }
    if (event == kRightUp || MouseInView() == 0) Loop.Dragging = 0;
}

void Paint(std::int32_t event) {
    if (event != kLeftDown || MouseInView() == 0) return;
    // Bounds below 0 come only from damaged files; there is no field to paint then.
    if (!FieldInArray(View.HoverFieldX, View.HoverFieldY)) return;
    Document.Fields(View.HoverFieldX, View.HoverFieldY) = gui::GadgetGetState(kBrushBar);
}

void TrackBars() {
    switch (gui::WindowEventGadget()) {
        case kBrushBar:
            RefreshControls();
            break;
        case kPlayerBar:
            RefreshControls();
            if (CurrentPlayer() <= Document.PlayerCount) {
                View.ScrollX = Wrap(std::int64_t{Document.Players(CurrentPlayer()).X} - 250);
                View.ScrollY = Wrap(std::int64_t{Document.Players(CurrentPlayer()).Y} - 250);
            }
            break;
        case kDirectionBar:
            Document.Players(CurrentPlayer()).Direction = gui::GadgetGetState(kDirectionBar) * 5;
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
            Document.FieldWidth = n;
            break;
        case kFieldHeightField:
            Document.FieldHeight = n;
            break;
        case kLastFieldXField:
            Document.LastFieldX = n;
            break;
        case kLastFieldYField:
            Document.LastFieldY = n;
            break;
        case kPlayerCountField:
            Document.PlayerCount = n;
            break;
        case kMapNameField:
            Document.MapName = text;
            break;
        case kPlayerXField:
            Document.Players(CurrentPlayer()).X = n;
            break;
        case kPlayerYField:
            Document.Players(CurrentPlayer()).Y = n;
            break;
        case kSlotCountField:
            Document.SlotCount = n;
            break;
        case kBallCountField:
            Document.BallCount = n;
            break;
        default:
            break;
    }
}

}  // namespace

std::int32_t MouseInView() {
    const std::int32_t mx = MouseX() - kViewLeft;
    const std::int32_t my = MouseY() - kViewTop;
    return mx >= 0 && my >= 0 && mx < kViewSize && my < kViewSize ? 1 : 0;
}

void ValidateDocument() {
    // Each correction shows in the controls at once.
    for (const Correction& correction : DocumentCorrections(Document)) {
        Document.*correction.value = correction.corrected;
        RefreshControls();
    }
}

std::int32_t EditorPass(std::int32_t event) {
    LocateMouse();
    if (event == gui::EVENT_MENU) event = MenuCommand(event);
    Drag(event);
    Paint(event);
    TrackBars();
    TextFields();
    ValidateDocument();
    gui::UpdateWindow(Handles.MainWindow);
    DrawMapView();
    return event;
}

int EditorMain() {
    gui::GuiInstall();
    screen::ScreenInstall();
    runtime::RuntimeStart();
    BuildEditorWindow();
    NewMap();
    while (EditorPass(gui::WindowEventWait()) != gui::EVENT_CLOSE) {
    }
    runtime::RuntimeEnd();
    return 0;
}

}  // namespace editor
