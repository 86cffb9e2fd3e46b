// Ways for tests to reach the toolkit objects behind handles, so they can inject input
// where a user's input arrives. Qt-free: the pointers are QWindow* and QWidget*.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Ui.h"

namespace platform {

// The top-level QWindow of a window or of a control's window (nullptr before it is shown).
void* TopLevelQWindow(Handle handle);
// The QWidget of a control or of a window's client area.
void* HandleWidget(Handle handle);
// The QWidget holding a window's menu bar and client area.
void* TopLevelWidget(Handle handle);
// The text of one part of a status bar (CP1252), "" when there is no such part.
std::string StatusBarPartText(Handle statusBar, std::int32_t part);

}  // namespace platform
