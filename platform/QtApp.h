// The toolkit application object that every window, control, font and picture needs.
#pragma once

namespace platform {

// Creates the application object on first use (single thread, the caller's). Later calls do
// nothing. Windows and controls need a display; tests run with QT_QPA_PLATFORM=offscreen.
void EnsureApplication();

}  // namespace platform
