// Which fields changed since the map's reduced pictures last looked, so that they are made again
// only where the map changed. Every write to the grid notes itself here: the history's writes
// (painting, fills, undo and redo) field by field, a re-dimensioning of the arrays (a new or
// loaded map) as a change of all fields.
#pragma once

#include <cstdint>
#include <vector>

namespace editor {

struct FieldChanges {
    bool all = true;                      // every field may have changed
    std::vector<std::int32_t> positions;  // x * kFieldsSize + y of each changed field
};

void NoteFieldChanged(std::int32_t position);
void NoteFieldRunChanged(std::int32_t x, std::int32_t top, std::int32_t bottom);
void NoteAllFieldsChanged();

// The changes noted since the last call; the list starts empty again.
FieldChanges TakeFieldChanges();

}  // namespace editor
