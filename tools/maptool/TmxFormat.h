// Tiled's XML formats: maps (TMX) and external tilesets (TSX). The reader takes hostile input:
// no DTD is accepted and no entity resolved, sizes are checked before cells are allocated,
// compressed cells are bounded. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "tools/maptool/TiledMap.h"

namespace maptool {

// Reads a map. False, with the reason (German, with the line) in `error`, for input that is
// not XML, not a map, an infinite map, or has cells that cannot be read.
bool ReadTmx(std::span<const std::uint8_t> bytes, TiledMap& map, std::string& error);

// Reads an external tileset into everything but its first global id.
bool ReadTsx(std::span<const std::uint8_t> bytes, TiledTileset& tileset, std::string& error);

// Writes the map with its cells as CSV. False, with the reason, when a text holds characters
// XML cannot carry (control characters other than tab and line breaks).
bool WriteTmx(const TiledMap& map, std::string& out, std::string& error);

}  // namespace maptool
