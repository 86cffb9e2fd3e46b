// The list of changed fields.
#include "editor/FieldChanges.h"

#include <utility>

#include "editor/MapDocument.h"

namespace editor {
namespace {

// Beyond this many fields a change counts as a change of all: making everything again is then
// no dearer than going through the list.
constexpr std::size_t kMostListed = 1 << 16;

FieldChanges gChanges[static_cast<int>(FieldReader::Count)];

void NoteAll(FieldChanges& changes) {
    changes.all = true;
    changes.positions.clear();
    changes.positions.shrink_to_fit();
}

void Note(FieldChanges& changes, std::int32_t position) {
    if (changes.all) return;
    if (changes.positions.size() >= kMostListed) {
        NoteAll(changes);
        return;
    }
    changes.positions.push_back(position);
}

}  // namespace

void NoteFieldChanged(std::int32_t position) {
    for (FieldChanges& changes : gChanges) Note(changes, position);
}

void NoteFieldRunChanged(std::int32_t x, std::int32_t top, std::int32_t bottom) {
    for (FieldChanges& changes : gChanges) {
        for (std::int32_t y = top; y <= bottom && !changes.all; ++y) {
            Note(changes, x * kFieldsSize + y);
        }
    }
}

void NoteAllFieldsChanged() {
    for (FieldChanges& changes : gChanges) NoteAll(changes);
}

FieldChanges TakeFieldChanges(FieldReader reader) {
    FieldChanges& changes = gChanges[static_cast<int>(reader)];
    FieldChanges taken = std::move(changes);
    changes = FieldChanges{false, {}};
    return taken;
}

}  // namespace editor
