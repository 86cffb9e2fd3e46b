// Child controls, the status bar and menu bars of the window system stand-in.
//
// Controls sit at absolute positions in their window's client area and use the default GUI
// font. Their notifications go to the procedure of the window that holds them, as
//   WM_COMMAND (id, code) with the control as lParam: edits EN_SETFOCUS, EN_KILLFOCUS,
//     EN_UPDATE then EN_CHANGE (typed, pasted or set by the program), EN_MAXTEXT alone for
//     text typed into a full field (32767 characters), which refuses it; check boxes BN_CLICKED;
//   WM_HSCROLL / WM_VSCROLL (TB_ code) from track bars on every scroll step;
// and every control's own procedure gets WM_SETFOCUS / WM_KILLFOCUS and, last, WM_NCDESTROY.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Ui.h"

namespace platform {

enum class ControlClass {
    Static,    // label (SS_ alignment bits; WS_EX_CLIENTEDGE / WS_EX_STATICEDGE sunken)
    Frame,     // rectangle that never paints its inside (its window paints there):
               // WS_EX_CLIENTEDGE sunken,
               // WS_EX_STATICEDGE a thin sunken edge, otherwise a line (WS_BORDER)
    Button,    // group box (BS_GROUPBOX) or check box (BS_AUTOCHECKBOX)
    Edit,      // single-line text field (ES_ style bits)
    TrackBar,  // slider (TBS_ style bits)
};

// Creates a control in a window's client area (shown with WS_VISIBLE, greyed with
// WS_DISABLED). Controls with WS_TABSTOP take the focus when clicked.
Handle CreateControl(ControlClass kind, Handle parent, std::string_view text, std::uint32_t style,
                     std::uint32_t exStyle, std::int32_t x, std::int32_t y, std::int32_t width,
                     std::int32_t height, std::int32_t id);

// The default GUI font (a small sans serif; on Windows the system's dialog font at its size
// for 100 % display scaling, whatever the scaling) and giving a control a font.
Handle GetStockGuiFont();
void SetControlFont(Handle control, Handle font);

// A control's left and top edge in its window's client area.
bool GetControlPosition(Handle control, std::int32_t* x, std::int32_t* y);

// Track bars: range and position; positions are clamped into the range.
void TrackBarSetRangeMin(Handle trackBar, std::int32_t minimum, bool redraw);
void TrackBarSetRangeMax(Handle trackBar, std::int32_t maximum, bool redraw);
std::int32_t TrackBarGetRangeMin(Handle trackBar);
std::int32_t TrackBarGetRangeMax(Handle trackBar);
void TrackBarSetPos(Handle trackBar, std::int32_t position, bool redraw);
std::int32_t TrackBarGetPos(Handle trackBar);

// Check boxes: BST_CHECKED or BST_UNCHECKED. Setting raises no notification.
std::int32_t ButtonGetCheck(Handle button);
void ButtonSetCheck(Handle button, std::int32_t state);

// Status bars lie along the bottom of their window's client area with the full width.
Handle CreateStatusBar(Handle parent, std::int32_t id);
// Parts end at the given right edges; -1 reaches to the right end. A new bar has one part.
bool StatusBarSetParts(Handle statusBar, const std::int32_t* rightEdges, std::int32_t count);
bool StatusBarSetText(Handle statusBar, std::int32_t part, std::string_view text);
std::int32_t StatusBarPartCount(Handle statusBar);
std::int32_t StatusBarRightEdge(Handle statusBar, std::int32_t part);
// Moves the bar to the bottom edge of its window with the full width (what it does when it
// gets a size message) and repaints it.
void StatusBarPlace(Handle statusBar);
// How many times the bar has been placed; tells tests whether a size message moved it.
std::int32_t StatusBarPlaceCount(Handle statusBar);

// Menus: a bar or a drop-down, holding items, separators and drop-downs. A bar attached to a
// window shows above its client area; the client area keeps its size and the window grows.
// Choosing an item posts WM_COMMAND (id, 0) to the window.
Handle CreateMenu();
bool AppendMenu(Handle menu, std::uint32_t flags, std::uintptr_t idOrDropDown,
                std::string_view text);
// Attaches a bar to a window (0 detaches). The bar takes its height from the client area and
// the window keeps its size: the procedure hears WM_MOVE and WM_SIZE for the client area.
// On Windows at a display scaling above 100 %, where the system's menu bar and status bar are
// taller than the program's pixel layout allows for, the window grows (and shrinks again) by
// what such a bar is taller than at 100 %, so that no bar covers a control.
bool SetMenu(Handle window, Handle menu);
Handle GetMenu(Handle window);
bool DestroyMenu(Handle menu);  // with its drop-downs
std::int32_t GetMenuItemCount(Handle menu);  // -1 for no menu
// An entry's id (-1 for a separator and a drop-down), its text and its drop-down (or 0).
std::int32_t GetMenuItemId(Handle menu, std::int32_t position);
std::string GetMenuItemText(Handle menu, std::int32_t position);
Handle GetSubMenu(Handle menu, std::int32_t position);
// Greys out (enable false) or enables every item with the id in the menu and its drop-downs,
// as the original system's EnableMenuItem by command does. Items start enabled. A greyed item
// shows grey, choosing it posts nothing, and a shortcut with its command, translated for the
// window whose bar holds the item, sends nothing (the key is still taken from the control).
// Returns the previous state of the first such item, MF_ENABLED or MF_GRAYED; -1 when no item
// has the id.
std::int32_t EnableMenuItem(Handle menu, std::uint32_t id, bool enable);
// The state of the first item with the id in the menu and its drop-downs: MF_GRAYED and
// MF_CHECKED (with MFT_RADIOCHECK for a radio mark) or'ed, MF_ENABLED (0) for an enabled item
// without a mark; -1 when no item has the id.
std::int32_t GetMenuItemState(Handle menu, std::uint32_t id);
// Marks the item with the id `check` with a round (radio) mark and takes the marks off the
// other items with ids first..last, in the menu and its drop-downs, as the original system's
// CheckMenuRadioItem by command does. Choosing an item changes no mark: the program sets them.
// False when no item has the id `check`.
bool CheckMenuRadioItem(Handle menu, std::uint32_t first, std::uint32_t last, std::uint32_t check);
// Gives every item with the id a check mark (check true) or takes its mark off, in the menu and
// its drop-downs, as the original system's CheckMenuItem by command does. Returns the previous
// state of the first such item, MF_CHECKED or MF_UNCHECKED; -1 when no item has the id.
std::int32_t CheckMenuItem(Handle menu, std::uint32_t id, bool check);

// The system clipboard. ClipboardPut replaces what it holds with `data` under the program's own
// format (a name such as "application/x-..."; empty data puts none) and the same content as
// text (CP1252) for other programs. ClipboardData gives what it holds under the format (empty
// when nothing), ClipboardText its text (CP1252; "" when it holds none).
bool ClipboardPut(std::string_view format, const std::string& data, std::string_view text);
std::string ClipboardData(std::string_view format);
std::string ClipboardText();
// A number that changes whenever the clipboard's content changes (by this program or another),
// cheap to ask: what the clipboard holds needs fetching again only when it changed.
std::uint32_t ClipboardChangeCount();

}  // namespace platform
