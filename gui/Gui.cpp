// The libraries' init and end steps in the runtime's fixed sequences.
#include "gui/Gui.h"

#include "gui/Gadget.h"
#include "gui/Menu.h"
#include "gui/Requester.h"
#include "gui/StatusBar.h"
#include "gui/Window.h"
#include "runtime/Runtime.h"

namespace gui {

void GuiInstall() {
    using runtime::EndStep;
    using runtime::StartStep;
    runtime::RuntimeSetStartStep(StartStep::Windows, &WindowLibraryInit);
    runtime::RuntimeSetStartStep(StartStep::Gadgets, &GadgetLibraryInit);
    runtime::RuntimeSetStartStep(StartStep::Menus, &MenuLibraryInit);
    runtime::RuntimeSetStartStep(StartStep::CommonControls, &CommonControlsInit);
    runtime::RuntimeSetStartStep(StartStep::StatusBars, &StatusBarLibraryInit);
    runtime::RuntimeSetEndStep(EndStep::Windows, &WindowLibraryEnd);
}

}  // namespace gui
