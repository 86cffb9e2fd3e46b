// The tools and the selection in the editor window.
#include "editor/SelectionInput.h"

#include <optional>
#include <string>
#include <utility>

#include "editor/EditorState.h"
#include "editor/EditorWindow.h"
#include "editor/FieldClipboard.h"
#include "editor/MainLoop.h"
#include "editor/RectangleTool.h"
#include "editor/Selection.h"
#include "gui/Clipboard.h"
#include "gui/Gadget.h"
#include "gui/Menu.h"
#include "gui/StatusBar.h"
#include "gui/Window.h"
#include "runtime/RtString.h"

namespace editor {
namespace {

constexpr std::int32_t kEscapeKey = gui::KEYCODE_ESCAPE;
constexpr std::int32_t kLeftKey = gui::KEYCODE_LEFT;
constexpr std::int32_t kUpKey = gui::KEYCODE_UP;
constexpr std::int32_t kRightKey = gui::KEYCODE_RIGHT;
constexpr std::int32_t kDownKey = gui::KEYCODE_DOWN;
constexpr std::int32_t kDeleteKey = gui::KEYCODE_DELETE;

constexpr const char* kToolNames[] = {"Pinsel", "Auswahl", "Rechteck"};

// The clipboard: the block in both forms.
void CopyToClipboard(const FieldBlock& block) {
    gui::ClipboardPut(kFieldsFormat, EncodeFields(block), FieldsAsText(block));
    Selection.ClipboardHasFields = true;
}

// What the clipboard holds as fields: its own format first, else its text; with the reason
// (for the status bar) when it holds none.
std::optional<FieldBlock> FieldsFromClipboard(std::string* problem) {
    if (auto own = DecodeFields(gui::ClipboardData(kFieldsFormat))) return own;
    return ParseFieldText(gui::ClipboardText(), problem);
}

std::int32_t Brush() { return gui::GadgetGetState(kBrushBar); }

bool TextFieldHasFocus() {
    for (std::int32_t gadget = kFieldWidthField; gadget <= kBallCountField; ++gadget) {
        if (gui::GadgetHasFocus(gadget)) return true;
    }
    return false;
}

std::string SizeText(const FieldRect& rect) {
    return runtime::StringFromLong(rect.Right - rect.Left + 1) + " x " +
           runtime::StringFromLong(rect.Bottom - rect.Top + 1);
}

void ChooseTool(Tool tool) {
    if (tool == Tools.Current) return;
    PutDownFloating();
    Selection.Selecting = false;
    CancelRectangle();
    Tools.Current = tool;
}

void CopyCommand(bool cut) {
    PutDownFloating();
    if (Selection.Selected.Empty()) return;
    CopyToClipboard(CopyFields(Selection.Selected));
    if (cut) FillFields(Selection.Selected, Brush());
    ShowStatus(SizeText(Selection.Selected) + (cut ? " Felder ausgeschnitten" : " Felder kopiert"));
}

void PasteCommand() {
    std::string problem;
    auto block = FieldsFromClipboard(&problem);
    if (!block) {
        ShowStatus(problem);
        return;
    }
    PutDownFloating();
    FloatPaste(std::move(*block), View.HoverFieldX, View.HoverFieldY);
    ShowStatus(runtime::Cp1252("Einfügen: ") + SizeText(FloatingRect()) +
               runtime::Cp1252(" Felder; ein Klick setzt sie, Escape verwirft sie"));
}

// An arrow key: lifts what is selected and moves it one field.
void Nudge(std::int32_t dx, std::int32_t dy) {
    if (Selection.Floats == Floating::None) Lift();
    if (Selection.Floats == Floating::None) return;
    MoveFloatingTo(Selection.FloatX + dx, Selection.FloatY + dy);
}

void Escape() {
    if (CancelRectangle()) return;
    if (Selection.Selecting) {
        Selection.Selecting = false;
        Selection.Selected = FieldRect{};
    } else if (Selection.Floats != Floating::None) {
        DropFloating();
    } else {
        EndSelection();
    }
}

void SetKey(std::int32_t key, std::int32_t item, bool on) {
    if (on) {
        gui::WindowAddShortcut(kMainWindow, key, item);
    } else {
        gui::WindowRemoveShortcut(kMainWindow, key);
    }
}

void ShowCanAct(std::int32_t* shown, bool canAct, std::initializer_list<std::int32_t> items) {
    if (*shown == (canAct ? 1 : 0)) return;
    *shown = canAct ? 1 : 0;
    for (const std::int32_t item : items) gui::MenuEnableItem(kMainMenu, item, canAct);
}

}  // namespace

void AddEditItems() {
    using runtime::Cp1252;
    gui::MenuSeparator();
    gui::MenuItem(kItemCut, "Ausschneiden\tStrg+X");
    gui::MenuItem(kItemCopy, "Kopieren\tStrg+C");
    gui::MenuItem(kItemPaste, Cp1252("Einfügen\tStrg+V"));
    gui::MenuItem(kItemDelete, Cp1252("Löschen\tEntf"));
    gui::MenuSeparator();
    gui::MenuItem(kItemSelectAll, Cp1252("Alles auswählen\tStrg+A"));
    gui::MenuSeparator();
    gui::MenuItem(kItemMirrorHorizontal, "Horizontal spiegeln");
    gui::MenuItem(kItemMirrorVertical, "Vertikal spiegeln");
}

void BuildToolMenu() {
    gui::MenuTitle("Werkzeuge");
    gui::MenuItem(kItemToolBrush, "Pinsel\tStrg+1");
    gui::MenuItem(kItemToolSelect, "Auswahl\tStrg+2");
    gui::MenuItem(kItemToolRectangle, "Rechteck\tStrg+3");
}

void AddToolShortcuts() {
    const std::pair<std::int32_t, std::int32_t> shortcuts[] = {
        {gui::KEY_CONTROL | '1', kItemToolBrush},
        {gui::KEY_CONTROL | '2', kItemToolSelect},
        {gui::KEY_CONTROL | '3', kItemToolRectangle},
        {kEscapeKey, kItemEscape},
    };
    for (const auto& [key, item] : shortcuts) gui::WindowAddShortcut(kMainWindow, key, item);
    NoteClipboard();
}

bool SelectionCommand(std::int32_t item) {
    switch (item) {
        case kItemCut:
        case kItemCopy:
            CopyCommand(item == kItemCut);
            return true;
        case kItemPaste:
            PasteCommand();
            return true;
        case kItemDelete:
            PutDownFloating();
            FillFields(Selection.Selected, Brush());
            return true;
        case kItemSelectAll:
            SelectAll();
            return true;
        case kItemMirrorHorizontal:
        case kItemMirrorVertical:
            MirrorFields(item == kItemMirrorHorizontal);
            return true;
        case kItemToolBrush:
        case kItemToolSelect:
        case kItemToolRectangle:
            ChooseTool(static_cast<Tool>(item - kItemToolBrush));
            return true;
        case kItemLeft:
            Nudge(-1, 0);
            return true;
        case kItemRight:
            Nudge(1, 0);
            return true;
        case kItemUp:
            Nudge(0, -1);
            return true;
        case kItemDown:
            Nudge(0, 1);
            return true;
        case kItemEscape:
            Escape();
            return true;
        default:
            return false;
    }
}

void PutDownFloating() {
    if (Selection.Floats == Floating::Move) PutDown(Brush());
    Selection.Selecting = false;
    CancelRectangle();
}

void DropFloatingFields() {
    DropFloating();
    Selection.Selecting = false;
    CancelRectangle();
}

bool SelectionMouse(std::int32_t event) {
    const std::int32_t x = View.HoverFieldX;
    const std::int32_t y = View.HoverFieldY;
    switch (event) {
        case gui::EVENT_GADGET: {
            // Back to a text field: its keys are its own again.
            const std::int32_t gadget = gui::WindowEventGadget();
            const std::int32_t type = gui::WindowEventType();
            if (gadget >= kFieldWidthField && gadget <= kBallCountField &&
                (type == gui::EVENT_TYPE_FOCUS || type == gui::EVENT_TYPE_CHANGE)) {
                Selection.ViewClicked = false;
            }
            return false;
        }
        case gui::EVENT_LEFT_DOWN:
            if (MouseInView() == 0) return false;
            Selection.ViewClicked = true;
            if (Selection.Floats == Floating::Paste) {
                PlaceFloating();
                return true;
            }
            if (Tools.Current != Tool::Select) return false;
            if (Selection.Floats == Floating::Move) {
                if (FloatingRect().Holds(x, y)) {
                    Selection.Dragging = true;
                    Selection.GrabX = x - Selection.FloatX;
                    Selection.GrabY = y - Selection.FloatY;
                } else {
                    PutDown(Brush());  // a click outside puts them down
                }
                return true;
            }
            if (Selection.Selected.Holds(x, y)) {
                Lift();
                Selection.Dragging = true;
                Selection.GrabX = x - Selection.FloatX;
                Selection.GrabY = y - Selection.FloatY;
                return true;
            }
            Selection.Selecting = true;
            Selection.LeftPressField = false;
            Selection.AnchorX = x;
            Selection.AnchorY = y;
            Selection.Selected = ClampedRect(x, y, x, y);
            return true;
        case gui::EVENT_MOUSE_MOVE: {
            const bool held = (gui::WindowEventParam1() & gui::MOUSE_LEFT_HELD) != 0;
            if (Selection.Floats == Floating::Paste) {
                MoveFloatingTo(x, y);
            } else if (Selection.Dragging) {
                if (held) {
                    MoveFloatingTo(x - Selection.GrabX, y - Selection.GrabY);
                } else {
                    Selection.Dragging = false;  // released outside the window
                }
            } else if (Selection.Selecting) {
                Selection.Selected = ClampedRect(Selection.AnchorX, Selection.AnchorY, x, y);
                if (x != Selection.AnchorX || y != Selection.AnchorY)
                    Selection.LeftPressField = true;
                if (!held) SelectionMouse(gui::EVENT_LEFT_UP);
            }
            return Selection.Floats != Floating::None || Tools.Current == Tool::Select;
        }
        case gui::EVENT_LEFT_UP:
            if (Selection.Dragging) {
                Selection.Dragging = false;
            } else if (Selection.Selecting) {
                Selection.Selecting = false;
                // A click that never left its field ends the selection.
                if (!Selection.LeftPressField) Selection.Selected = FieldRect{};
            }
            return Selection.Floats != Floating::None || Tools.Current == Tool::Select;
        default:
            return false;
    }
}

void KeepSelectionState() {
    // The map may have become smaller.
    if (!Selection.Selected.Empty()) {
        const FieldRect& s = Selection.Selected;
        Selection.Selected = ClampedRect(s.Left, s.Top, s.Right, s.Bottom);
        if (s.Left > MapLastX() || s.Top > MapLastY()) Selection.Selected = FieldRect{};
    }
    const bool active = !Selection.Selected.Empty() || Selection.Floats != Floating::None;
    // A text field keeps its own keys for its text, until the map view is clicked.
    const bool editKeys = Selection.ViewClicked || !TextFieldHasFocus();
    if (editKeys != Selection.EditKeys) {
        Selection.EditKeys = editKeys;
        SetKey(gui::KEY_CONTROL | 'X', kItemCut, editKeys);
        SetKey(gui::KEY_CONTROL | 'C', kItemCopy, editKeys);
        SetKey(gui::KEY_CONTROL | 'V', kItemPaste, editKeys);
        SetKey(gui::KEY_CONTROL | 'A', kItemSelectAll, editKeys);
        SetKey(kDeleteKey, kItemDelete, editKeys);
    }
    const bool arrowKeys = active && editKeys;
    if (arrowKeys != Selection.ArrowKeys) {
        Selection.ArrowKeys = arrowKeys;
        SetKey(kLeftKey, kItemLeft, arrowKeys);
        SetKey(kRightKey, kItemRight, arrowKeys);
        SetKey(kUpKey, kItemUp, arrowKeys);
        SetKey(kDownKey, kItemDown, arrowKeys);
    }
    const auto tool = static_cast<std::int32_t>(Tools.Current);
    if (Selection.ShownTool != tool) {
        Selection.ShownTool = tool;
        gui::MenuCheckRadioItem(kMainMenu, kItemToolBrush, kItemToolRectangle,
                                kItemToolBrush + tool);
        // The brush, as at the start, leaves the field empty.
        gui::StatusBarText(kStatusBar, kToolField,
                           Tools.Current == Tool::Brush ? "" : kToolNames[tool]);
    }
    ShowCanAct(&Selection.ShownCanCopy,
               !Selection.Selected.Empty() || Selection.Floats == Floating::Move,
               {kItemCut, kItemCopy, kItemDelete});
    ShowCanAct(&Selection.ShownCanMirror, active, {kItemMirrorHorizontal, kItemMirrorVertical});
    NoteClipboard();
    ShowCanAct(&Selection.ShownCanPaste, Selection.ClipboardHasFields, {kItemPaste});
}

void NoteClipboard() {
    const std::int64_t changes = gui::ClipboardChangeCount();
    if (changes == Selection.ClipboardSeen) return;
    Selection.ClipboardSeen = changes;
    Selection.ClipboardHasFields =
        !gui::ClipboardData(kFieldsFormat).empty() || !gui::ClipboardText().empty();
}

}  // namespace editor
