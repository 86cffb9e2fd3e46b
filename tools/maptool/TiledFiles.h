// Tiled map files as the import reads them: the map (TMX or TMJ by its name), its external
// tileset when it has one (TSX or TSJ), and the tileset's image, each bounded in size and
// resolved relative to the file that names it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/maptool/TiledMap.h"

namespace maptool {

enum class TiledFormat { None, Xml, Json };

// .tmx and .tsx are XML, .tmj, .tsj and .json JSON (any case); anything else is none.
TiledFormat TiledFormatOf(std::string_view path);
inline bool IsXmlMapFile(std::string_view path) { return TiledFormatOf(path) == TiledFormat::Xml; }

struct TiledInput {
    TiledMap map;                     // its one tileset with an external tileset read in
    std::vector<std::uint8_t> image;  // the tileset image's bytes, as the file holds them
    std::int32_t imageWidth = 0;
    std::int32_t imageHeight = 0;
    std::vector<std::string> files;  // every file read, as named from the current folder
};

// Reads the map file, its tileset and the tileset's image, which must be one the editor reads
// (PNG or BMP). Files named from outside the map file's folder (absolute paths, "..") are
// refused unless `outsideAllowed`. False, with messages naming the file at fault, otherwise.
bool ReadTiledInput(const std::string& file, bool outsideAllowed, TiledInput& input);

}  // namespace maptool
