// The question about unsaved changes and the title's star after each pass.
#include "editor/Unsaved.h"

#include <string>

#include "editor/EditorState.h"
#include "editor/EditorWindow.h"
#include "editor/History.h"
#include "editor/MapCommands.h"
#include "editor/MapDocument.h"
#include "gui/MessageRequester.h"
#include "gui/Window.h"
#include "runtime/RtString.h"

namespace editor {
namespace {

enum Answer : std::int32_t { kSave = 0, kDiscard = 1, kCancel = 2 };

}  // namespace

bool ConfirmDiscard() {
    if (!HistoryChanged()) return true;
    gui::UpdateWindow(Handles.MainWindow);
    const std::string question =
        "Die Karte " + Document.FileName +
        runtime::Cp1252(" hat ungespeicherte Änderungen. Jetzt speichern?");
    switch (gui::RequesterMessage(kEditorTitle, question, "Speichern|Verwerfen|Abbrechen", kSave,
                                  kCancel)) {
        case kSave:
            return SaveMap();
        case kDiscard:
            return true;
        default:
            return false;
    }
}

void ShowChangedState() {
    if (HistoryChanged() != Shown.TitleChanged) ShowTitle();
}

}  // namespace editor
