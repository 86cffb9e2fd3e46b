// Fuzz target: arbitrary bytes as a TMJ map (and as an external TSJ tileset). The reader
// either refuses them with a reason or gives a map that survives writing and reading again
// and converts to a map document consistently (TiledFuzz.h). Nesting is bounded by the JSON
// parser; cells are bounded before they are allocated.
#include <cstdint>

#include "TiledFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tiled_fuzz::Run({data, size}, maptool::ReadTmj, maptool::ReadTsj);
    return 0;
}
