// Puts the screen libraries' init and end operations into their steps of the runtime's
// start-up and shut-down sequences. The main program calls it before RuntimeStart.
#pragma once

namespace screen {

void ScreenInstall();

}  // namespace screen
