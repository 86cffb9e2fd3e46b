// Tiled map files as the import reads them: the map (TMX or TMJ by its name), its external
// tilesets (TSX or TSJ), and the images of the tilesets its tile layers use, each bounded in
// size and resolved relative to the file that names it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/maptool/TiledMap.h"
#include "tools/maptool/TiledTilesetPictures.h"

namespace maptool {

enum class TiledFormat { None, Xml, Json };

// .tmx and .tsx are XML, .tmj, .tsj and .json JSON (any case); anything else is none.
TiledFormat TiledFormatOf(std::string_view path);
inline bool IsXmlMapFile(std::string_view path) { return TiledFormatOf(path) == TiledFormat::Xml; }

// Encodes width x height pixels (0x00RRGGBB, row by row) as PNG. False when that fails.
bool EncodePng(std::int32_t width, std::int32_t height, std::span<const std::uint32_t> pixels,
               std::vector<std::uint8_t>& png);

struct TiledInput {
    TiledMap map;  // with its external tilesets read in
    std::vector<TilesetPictures> pictures;  // with map.tilesets; those the layers use decoded
    // A map of one image tileset: that image as PNG (the bytes of the file when it is one), and
    // its file as named from the current folder.
    std::vector<std::uint8_t> image;
    std::int32_t imageWidth = 0;
    std::int32_t imageHeight = 0;
    std::string imageFile;
    std::vector<std::string> files;  // every file read, as named from the current folder
};

// Reads the map file, its tilesets and their images, which must be ones the editor reads (PNG
// or BMP). A map that is not orthogonal is refused before its tilesets are read. Files named
// from outside the map file's folder (absolute paths, "..") are refused unless
// `outsideAllowed`. False, with messages naming the file at fault, otherwise.
bool ReadTiledInput(const std::string& file, bool outsideAllowed, TiledInput& input);

}  // namespace maptool
