// The ranges of the document's values, as one table of rules in the order they are applied:
// the main loop's correction step sets every value back into its range once per pass, and the
// map tool reports what that step would change in a file.
#pragma once

#include <cstdint>
#include <vector>

#include "editor/MapDocument.h"

namespace editor {

// One value that the correction step changes.
struct Correction {
    std::int32_t MapDocument::*value;
    const char* name;        // the value's name, e.g. "FieldWidth"
    bool raised;             // true: below its lower bound, false: above its upper bound
    std::int32_t found;      // the value before the correction
    std::int32_t corrected;  // the value after it
};

// The corrections the step makes to the document, in its order; applying them one after the
// other gives the corrected document (later rules see the earlier corrections: lowering the
// slots below the balls lowers the balls as well). Empty when every value is in range.
std::vector<Correction> DocumentCorrections(const MapDocument& document);

// Applies them all: the document as the editor has it after its first pass on a loaded map.
void CorrectDocument(MapDocument& document);

}  // namespace editor
