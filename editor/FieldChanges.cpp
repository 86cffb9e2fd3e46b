// The list of changed fields.
#include "editor/FieldChanges.h"

#include <utility>

#include "editor/MapDocument.h"

namespace editor {
namespace {

// Beyond this many fields a change counts as a change of all: making everything again is then
// no dearer than going through the list.
constexpr std::size_t kMostListed = 1 << 16;

FieldChanges gChanges;

}  // namespace

void NoteFieldChanged(std::int32_t position) {
    if (gChanges.all) return;
    if (gChanges.positions.size() >= kMostListed) {
        NoteAllFieldsChanged();
        return;
    }
    gChanges.positions.push_back(position);
}

void NoteFieldRunChanged(std::int32_t x, std::int32_t top, std::int32_t bottom) {
    for (std::int32_t y = top; y <= bottom && !gChanges.all; ++y) {
        NoteFieldChanged(x * kFieldsSize + y);
    }
}

void NoteAllFieldsChanged() {
    gChanges.all = true;
    gChanges.positions.clear();
    gChanges.positions.shrink_to_fit();
}

FieldChanges TakeFieldChanges() {
    FieldChanges taken = std::move(gChanges);
    gChanges = FieldChanges{false, {}};
    return taken;
}

}  // namespace editor
