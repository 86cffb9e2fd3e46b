// The Windows API for the sources of the Windows backend. Our own headers name many things
// as the Windows API does (WM_SIZE, SendMessage, ...): they come first, then the system
// headers, whose macros carry the same numbers, and then the function-name macros are taken
// away again so that our functions keep their names. The system's functions are always
// called with their W names or with `::`.
#pragma once

#include "platform/Ui.h"
#include "platform/UiControls.h"
#include "platform/UiFileDialog.h"
#include "platform/UiMessageBox.h"
#include "platform/UiTesting.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#undef SendMessage
#undef PostMessage
#undef GetMessage
#undef PeekMessage
#undef DispatchMessage
#undef DefWindowProc
#undef CallWindowProc
#undef SetWindowText
#undef GetWindowText
#undef SetProp
#undef GetProp
#undef RemoveProp
#undef AppendMenu
#undef GetOpenFileName
#undef GetSaveFileName
