// What the Tiled readers keep at most, and the checks that run over a file's bytes before a
// parser sees them: a parser that builds a whole document (JSON) or checks every attribute
// against every other (XML) would otherwise spend memory or time beyond any map's needs.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace maptool {

// Largest TMX, TMJ or external tileset file read.
inline constexpr std::int64_t kTiledFileLimit = 64ll << 20;

// Layers (of every kind, also inside groups) a map may have.
inline constexpr std::int64_t kTiledMaxLayers = 10000;
// Objects of the layer "Spieler".
inline constexpr std::int64_t kTiledMaxObjects = 10000;
// Tilesets a map may name (one is taken; more are refused with their number).
inline constexpr std::int64_t kTiledMaxTilesets = 1000;
// Tiles of all tilesets that have anything of their own (an image, properties, an animation).
inline constexpr std::int64_t kTiledMaxTiles = 100000;
// Custom properties of the map or of one object.
inline constexpr std::int64_t kTiledMaxProperties = 1000;
// Attributes of one XML element.
inline constexpr std::int64_t kTiledMaxAttributes = 100;
// JSON objects in one document: the layers, objects, properties and tilesets above, with room.
inline constexpr std::int64_t kTiledMaxJsonObjects = 100000;

// "mehr als LIMIT WHAT; ..." for the first item beyond a limit.
std::string TooMany(const char* what, std::int64_t limit);

// Checks the XML bytes before parsing: no element with more attributes than allowed. "" or
// what is wrong, with the line.
std::string XmlBytesProblem(std::span<const std::uint8_t> bytes);

// Checks the JSON bytes before parsing: no more objects than allowed, no key twice in an object,
// no string with a lone UTF-16 surrogate (\ud800 alone), which no text can carry. Syntax errors
// are left to the parser. "" or what is wrong, with the character's position.
std::string JsonBytesProblem(std::span<const std::uint8_t> bytes);

// Said of a tileset whose firstgid is 0: global tile ids start at 1, 0 is an empty cell.
inline constexpr char kFirstGidProblem[] =
    "firstgid ist 0; die Kachelnummern eines Kachelsatzes beginnen bei 1";

// A whole number as Tiled writes it: an optional minus and digits, within 32 bits.
bool ParseTiledInt(std::string_view text, std::int32_t& out);

}  // namespace maptool
