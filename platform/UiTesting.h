// Ways for tests to reach the toolkit objects behind handles, so they can inject input
// where a user's input arrives. Toolkit-free: the pointers are QWindow* and QWidget* on the Qt
// backend and HWNDs on the Windows backend, where a window is one object from its frame to its
// client area, so the three name the same window there.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Ui.h"

namespace platform {

// The top-level QWindow of a window or of a control's window (nullptr before it is shown);
// on Windows the HWND of that window.
void* TopLevelQWindow(Handle handle);
// The QWidget of a control or of a window's client area; on Windows its HWND.
void* HandleWidget(Handle handle);
// The QWidget holding a window's menu bar and client area; on Windows the window's HWND.
void* TopLevelWidget(Handle handle);
// The text of one part of a status bar (CP1252), "" when there is no such part.
std::string StatusBarPartText(Handle statusBar, std::int32_t part);

}  // namespace platform
