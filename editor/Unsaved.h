// What the editor does about changes that no file holds yet: the question before they would be
// lost and the star in the title. (The recovery copy keeps in step in a step of its own:
// Recovery.h.)
#pragma once

namespace editor {

// Before Neu, Öffnen, "Editor beenden" and the close box: when the map has unsaved changes,
// asks "Speichern", "Verwerfen" or "Abbrechen". True when the caller may go on: nothing was
// changed, the user discarded the changes, or saving them succeeded.
bool ConfirmDiscard();

// After each pass: the title shows whether the map is changed. Costs a comparison when nothing
// changed.
void ShowChangedState();

}  // namespace editor
