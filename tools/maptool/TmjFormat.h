// Tiled's JSON formats: maps (TMJ, also .json) and external tilesets (TSJ). The reader takes
// hostile input: nesting, objects and items are bounded before the parser sees the bytes,
// sizes are checked before cells are allocated, compressed cells are bounded. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "tools/maptool/TiledMap.h"

namespace maptool {

// Reads a map. False, with the reason (German) in `error`, for input that is not JSON, not a
// map, an infinite map, or has cells that cannot be read.
bool ReadTmj(std::span<const std::uint8_t> bytes, TiledMap& map, std::string& error);

// Reads an external tileset into everything but its first global id.
bool ReadTsj(std::span<const std::uint8_t> bytes, TiledTileset& tileset, std::string& error);

// Writes the map with its cells as a JSON array.
std::string WriteTmj(const TiledMap& map);

}  // namespace maptool
