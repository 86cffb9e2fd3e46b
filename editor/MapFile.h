// MAP files: the whole document, little-endian, no magic, no version.
//
//   int16 L, L bytes MapName, int32 PlayerCount, SlotCount, BallCount, FieldWidth,
//   FieldHeight, LastFieldX, LastFieldY, then players 1..PlayerCount (X, Y, Direction),
//   then the fields column by column: for x 0..LastFieldX, for y 0..LastFieldY.
//
// The file is "Karten\" + FileName + ".MAP"; its tile set is the PNG of the same base name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace editor {

// Folder of the maps, relative to the current directory.
inline constexpr std::string_view kMapFolder = "Karten";

// Longest MapName a file can hold: the length is a signed 16-bit word.
inline constexpr std::int32_t kMaxStoredStringLength = 32767;

// Writes a length word and the text's bytes; texts longer than 32767 bytes are cut there.
void WriteStoredString(int file, std::string_view text);

// Reads a length word and that many bytes; a negative length reads as "". Bytes the file no
// longer has stay blanks; the result ends at its first zero byte. The length word as stored
// goes to `storedLength` when given.
std::string ReadStoredString(int file, std::int32_t* storedLength = nullptr);

// Writes the document to its MAP file through WriteFileSafely, so a failed save leaves the
// previous map untouched and a read-only map is not replaced. Creates the folder "Karten"
// when it is missing. Returns 1 when the map was saved, else 0.
int WriteMapFile();
// The same bytes to another file of the map folder (the recovery copy).
int WriteMapFileTo(std::string_view path);
// The same bytes to a file anywhere (a runtime path); no folder is made.
int WriteMapFileAt(std::string_view path);

// Reads the document from its MAP file (ReadMapFileAt with MapFilePath). Returns 1 when the
// file could be opened, else 0.
int ReadMapFile();
// The same from another file in MAP layout (the recovery copy, a map opened from anywhere).
int ReadMapFileFrom(std::string_view path);

// What reading a MAP file found besides the document.
struct MapFileRead {
    bool opened = false;          // false: the document is the empty one
    std::int32_t nameLength = 0;  // the name's length word as stored (negative reads as 0)
    std::int64_t headerSize = 0;  // bytes the header promises, at most INT64_MAX
    bool shorter = false;         // the file ends before everything its header promises
    bool longer = false;          // bytes follow the last value the header promises
};

// Re-dimensions the document's arrays and fills the document from the MAP file at `path`.
// Values that do not fit the arrays (players above 1000, fields beyond 999) are passed over
// (columns beyond the array are not read at all), and reading stops where the file ends;
// missing values are 0. Shorter and longer compare the file's size with the header's promise.
// Values are not range-checked here.
MapFileRead ReadMapFileAt(std::string_view path);

// "Karten\" + FileName + ".MAP" for the current document.
std::string MapFilePath();
// "Karten\" + fileName + ".MAP" for another base name.
std::string MapFilePathOf(std::string_view fileName);

// "Karten\" + FileName + ".PNG": the tile set beside the MAP file.
std::string TileSetPath();

// A name or path without its last four characters when they are ".MAP" in any case; none
// when it does not end so.
std::optional<std::string> WithoutMapExtension(std::string_view name);

}  // namespace editor
