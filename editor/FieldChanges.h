// Which fields changed since the map's reduced pictures last looked, so that they are made again
// only where the map changed. Every write to the grid notes itself here: the history's writes
// (painting, fills, undo and redo) field by field, a re-dimensioning of the arrays (a new or
// loaded map) as a change of all fields. Each picture that follows the map reads the changes on
// its own: the map view's reduced pictures and the overview.
#pragma once

#include <cstdint>
#include <vector>

namespace editor {

enum class FieldReader : int { MapView = 0, OverviewPicture = 1, Count = 2 };

struct FieldChanges {
    bool all = true;                      // every field may have changed
    std::vector<std::int32_t> positions;  // x * kFieldsSize + y of each changed field
};

void NoteFieldChanged(std::int32_t position);
void NoteFieldRunChanged(std::int32_t x, std::int32_t top, std::int32_t bottom);
void NoteAllFieldsChanged();

// The changes noted since that reader's last call; its list starts empty again.
FieldChanges TakeFieldChanges(FieldReader reader = FieldReader::MapView);

}  // namespace editor
