// Fuzz target: arbitrary bytes as a TMX map (and as an external TSX tileset). The reader
// either refuses them with a reason or gives a map that survives writing and reading again
// and converts to a map document consistently (TiledFuzz.h). No DTD, entity or file outside
// the input is ever looked at; cells are bounded before they are allocated.
#include <cstdint>

#include "TiledFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tiled_fuzz::Run({data, size}, maptool::ReadTmx, maptool::ReadTsx);
    return 0;
}
