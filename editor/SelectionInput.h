// The tools and the selection in the editor window: the "Werkzeuge" menu, the new items of
// "Bearbeiten", their keys, and the left button with the "Auswahl" tool or fields floating.
//
// Strg+1, Strg+2 and Strg+3 choose the tool whatever has the focus, as the other shortcuts in the
// menus do. Strg+X, Strg+C, Strg+V, Strg+A and Entf act on the map while no text field has the
// focus, or the map view was clicked after it got the focus or a key (in a text field they are the
// field's, for its text); the arrows only while something is selected or floats as well;
// otherwise they are the controls' own. Escape ends what the tool is doing: a rectangle's drag
// (nothing is filled), a selecting drag, floating fields (a move goes back), the selection.
#pragma once

#include <cstdint>

namespace editor {

// The "Bearbeiten" items after Rückgängig and Wiederholen, and the "Werkzeuge" menu.
void AddEditItems();
void BuildToolMenu();
void AddToolShortcuts();

// A menu item of the tools or the selection; false when the item is none of theirs.
bool SelectionCommand(std::int32_t item);

// Before a command that leaves the current state (saving, quitting: the moved fields are put
// down) or replaces it (undo, redo, Neu, Öffnen: they go back, a paste is dropped).
void PutDownFloating();
void DropFloatingFields();

// The left button over the map view while the "Auswahl" tool is chosen or fields float; true
// when the event was theirs (and is no painting).
bool SelectionMouse(std::int32_t event);

// After each pass: the selection held inside the map, the keys, the menu's marks and greyed
// items, the tool's name in the status bar.
void KeepSelectionState();

// Looks at what the clipboard holds again when it has changed since the last look.
void NoteClipboard();

}  // namespace editor
