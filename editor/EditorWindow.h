// The editor window: its controls, menu, shortcut, status bar and map view screen, and the
// procedure that copies the document into the title and the controls.
#pragma once

#include <string>
#include <string_view>

namespace editor {

inline constexpr std::string_view kEditorTitle = "Veldrane Murmelwald Karteneditor 1.0";

// Creates the font, the placeholder arrays, the window with its menu, gadgets, shortcut and
// status bar, and the map view screen. Called once at start-up.
void BuildEditorWindow();

// Shows the document in the title and the controls. Setting a text field's text raises its
// change notification, so afterwards the last gadget is 23, the last field written.
void RefreshControls();

// Puts a message into the status bar's wide field; "" clears it.
void ShowStatus(std::string_view text);

// The window title for the current document, with " *" while it has unsaved changes.
std::string EditorTitle();

// Sets the window title to EditorTitle.
void ShowTitle();
// Greys out the menu items that cannot act now (Rückgängig, Wiederholen) and enables the
// others; touches the menu only where an item's state flips.
void ShowMenuState();

}  // namespace editor
