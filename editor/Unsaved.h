// What the editor does about changes that no file holds yet: the question before they would be
// lost, the star in the title, and keeping the recovery copy in step after each pass.
#pragma once

namespace editor {

// Before Neu, Öffnen, "Editor beenden" and the close box: when the map has unsaved changes,
// asks "Speichern", "Verwerfen" or "Abbrechen". True when the caller may go on: nothing was
// changed, the user discarded the changes, or saving them succeeded.
bool ConfirmDiscard();

// After each pass: the title shows whether the map is changed, and the recovery copy is
// scheduled or removed accordingly. Costs a comparison when nothing changed.
void ShowChangedState();

}  // namespace editor
