// The window and gadget libraries' place in the runtime's start-up and shut-down.
#pragma once

namespace gui {

// Puts WindowLibraryInit, GadgetLibraryInit, MenuLibraryInit, CommonControlsInit and
// StatusBarLibraryInit into their start-up steps and WindowLibraryEnd into its shut-down
// step. Call before runtime::RuntimeStart().
void GuiInstall();

}  // namespace gui
