// The map document in Tiled's terms and back.
//
// A MAP file becomes an orthogonal map of its fields with tiles of the field size; one
// tileset whose image is the tile set, both rows (tile index v is local tile id v, its Z-mask
// v + columns), starting at global id 1; a tile layer "Felder"; an object layer "Spieler"
// with a point object per player, its direction as the int property "Richtung"; the map's
// name, slots and balls as the properties "Name", "Slots" and "Bälle" (and "Spieler" for a
// negative player count, which objects cannot express). Reading back takes such maps and
// maps saved by Tiled itself, and refuses what a MAP file cannot hold instead of changing it.
#pragma once

#include <string>
#include <vector>

#include "tools/maptool/TiledFlatten.h"
#include "tools/maptool/TiledMap.h"

namespace maptool {

// Names of the properties.
inline constexpr char kNameProperty[] = "Name";
inline constexpr char kSlotsProperty[] = "Slots";
inline constexpr char kBallsProperty[] = "Bälle";
inline constexpr char kPlayersProperty[] = "Spieler";
inline constexpr char kDirectionProperty[] = "Richtung";

// The tile set as the map refers to it.
struct TiledImage {
    std::string name;  // of the tileset
    std::string path;  // as the map file refers to it
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// editor::Document as a Tiled map. The document must be one Tiled can carry (see
// ExportProblems in ConvertCommands).
TiledMap DocumentToTiled(const TiledImage& image);

// What was passed over while reading, as notes for the user.
using Notes = std::vector<std::string>;

// The one tileset of the map, or a reason (German) why the map has not exactly one.
const TiledTileset* OnlyTileset(const TiledMap& map, std::string& error);

// Whether the map is one of ours as Tiled carries it: its one tileset is a tile set of this
// system (one row of tiles of the field size over one row of Z-masks, no margin, spacing or
// colour key), drawn by one plain visible tile layer as large as the map that shows tiles of
// the first row only, unflipped, in every field. Such a map keeps its tile set and its tile
// numbers (TiledToDocument); any other is drawn anew (FlattenTiledMap, FlatToDocument).
bool IsGameTileSetMap(const TiledMap& map, std::int32_t imageWidth, std::int32_t imageHeight);

// Fills editor::Document from the map, whose tileset's image is `imageWidth` pixels wide.
// False, with the reason in `error`, when the map holds anything a MAP file cannot.
bool TiledToDocument(const TiledMap& map, std::int32_t imageWidth, std::string& error,
                     Notes& notes);

// Fills editor::Document from the map drawn anew: the fields and the tile size of `flat`, the
// name, slots, balls and players of the map (players moved with the fields' origin).
bool FlatToDocument(const TiledMap& map, const FlatMap& flat, std::string& error, Notes& notes);

}  // namespace maptool
