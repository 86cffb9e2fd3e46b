// The document's defaults and its arrays.
#include "editor/MapDocument.h"

#include <algorithm>

#include "editor/FieldChanges.h"

namespace editor {

MapDocument Document;

FieldExtent FieldsInArray(const MapDocument& document) {
    const auto count = [](std::int32_t last) {
        return static_cast<std::int32_t>(
            std::clamp<std::int64_t>(std::int64_t{last} + 1, 0, kFieldsSize));
    };
    return {count(document.LastFieldX), count(document.LastFieldY)};
}

void ResizeDocumentArrays(std::int32_t fillColumns, std::int32_t fillRows) {
    runtime::ArrayFree(Document.Players);
    runtime::ArrayDim(Document.Players, kPlayersUpperBound);
    // Not freed first: with the same sizes the block stays and only its used part is cleared.
    runtime::ArrayDimMulti(Document.Fields, {kFieldsSize, kFieldsSize}, {fillColumns, fillRows});
    NoteAllFieldsChanged();
}

void ResetDocument() {
    Document.FileName = "NONAME";
    ResizeDocumentArrays();
    Document.MapName = "Neue Karte";
    Document.PlayerCount = 1;
    Document.SlotCount = 8;
    Document.BallCount = 4;
    Document.FieldWidth = 64;
    Document.FieldHeight = 64;
    Document.LastFieldX = 5;
    Document.LastFieldY = 5;
    for (std::int32_t x = 0; x <= Document.LastFieldX; ++x) {
        for (std::int32_t y = 0; y <= Document.LastFieldY; ++y) Document.Fields(x, y) = 0;
    }
}

}  // namespace editor
